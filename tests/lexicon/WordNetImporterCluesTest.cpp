#include "lexicon/WordNetImporter.h"

#include "lexicon/Dictionary.h"
#include "lexicon/DictionaryWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace pelorin {
namespace {

// WordNet's lines, each ending as its files do.
std::string Lines(std::initializer_list<std::string_view> lines, std::string_view end = "  \n")
{
    std::string text;
    for (std::string_view line : lines)
        text.append(line).append(end);
    return text;
}

// Index lines from "lemma tagged-senses offset...", the offsets without their leading "0000".
std::string Index(const char* pos, std::initializer_list<std::string_view> entries)
{
    std::string text;
    for (std::string_view entry : entries) {
        std::istringstream in{std::string(entry)};
        std::string lemma, tagged, offset, offsets;
        int count = 0;
        for (in >> lemma >> tagged; in >> offset; ++count)
            offsets += " 0000" + offset;
        const std::string senses = std::to_string(count);
        text += lemma + " " + pos + " " + senses + " 0 " + senses + " " + tagged + offsets + "  \n";
    }
    return text;
}

// A tiny WordNet of the cases where a dictionary made naively gives clues a
// crossword solver rejects: each word below was once clued wrongly.
const std::string kIndexNoun = Index("n", {
    "aaron 0 1070", "adar 0 1180", "elul 0 1181", "anger 0 1100", "annum 0 1191", "ara 0 1110 1111", "baas 0 1190",
    "asia 0 1170", "asian 1 1171 1172", "bat 1 1260", "boarding 0 1123", "glass 0 1270 1271", "heed 1 1130",
    "death 0 1280", "hewer 0 1230", "realtor 0 1150", "stereo 2 1140 1141", "surf 0 1122", "surfer 0 1120 1121",
    "come 0 1030", "emu 0 1001 1002", "ezra 0 1080", "farm 0 1250", "farmer 0 1251 1252", "fen 0 1060 1061",
    "ha 0 1090", "irs 0 1040", "levite 0 1081", "lied 0 1240", "loser 1 1050 1051", "mug 0 1220 1221",
    "mum 0 1210 1211", "sat 0 1020", "saw 0 1300", "snowman 0 1310", "snow 0 1311", "man 0 1312",
    "daytime 0 1320", "day 0 1320", "scope 1 1330 1331", "scopes 0 1332", "reed 0 1340", "grass 0 1341",
    "sawdust 0 1342", "particle 0 1343", "shame 0 1200 1201 1202", "sontag 0 1160", "tom 1 1085 1086",
    "tuna 0 1010 1011"});
const std::string kDataNoun = Lines({
    "00001001 23 n 02 electromagnetic_unit 0 emu 0 001 @ 00000001 n 0000 | any of various systems of units",
    "00001002 05 n 03 emu 0 Dromaius_novaehollandiae 0 Emu_novaehollandiae 0 000 | large Australian flightless bird",
    "00001010 20 n 02 tuna 0 Opuntia_tuna 0 001 @ 00000001 n 0000 | tropical American prickly pear",
    "00001011 05 n 02 tuna 0 tunny 0 003 @ 00000001 n 0000 @ 00000002 n 0000 ~ 00000003 n 0000 | any very large "
    "marine food and game fish",
    "00001020 28 n 03 Saturday 0 Sabbatum 0 Sat 0 000 | the seventh and last day of the week",
    "00001030 27 n 01 come 0 000 | a thick white fluid", "00001190 18 n 01 baas 0 000 | South African term for `boss'",
    "00001200 12 n 01 shame 0 000 | a painful emotion resulting from an awareness of guilt",
    "00001201 26 n 01 shame 0 000 | a state of dishonor", "00001202 11 n 01 shame 0 000 | an unfortunate development",
    "00001210 20 n 02 florist's_chrysanthemum 0 mum 0 000 | of China",
    "00001211 18 n 02 mother 0 mum 0 000 | informal terms for a mother",
    "00001220 06 n 01 mug 0 000 | with handle and usually cylindrical",
    "00001230 18 n 01 hewer 0 000 | a person who hews",
    "00001240 10 n 01 lied 0 000 | a German art song of the 19th century for voice and piano",
    "00001250 06 n 01 farm 0 000 | workplace consisting of buildings and cultivated land",
    "00001260 05 n 01 bat 0 000 | nocturnal mouselike mammal",
    "00001270 27 n 01 glass 0 000 | a brittle transparent solid",
    "00001271 06 n 01 glass 0 000 | a container for holding liquids while drinking",
    "00001280 26 n 01 death 0 001 + 00002170 v 0101 | the permanent end of all life functions",
    "00001251 18 n 01 farmer 0 000 | a person who operates a farm",
    "00001252 18 n 02 Farmer 0 James_Farmer 0 001 @i 00000001 n 0000 | United States civil rights leader",
    "00001221 18 n 02 chump 0 mug 0 000 | a person who is gullible and easy to take advantage of",
    "00001191 28 n 01 annum 0 000 | (Latin) year; \"per annum\"",
    "00001040 14 n 02 Internal_Revenue_Service 0 IRS 0 000 | the bureau that collects taxes",
    "00001050 18 n 01 loser 0 000 | a contestant who loses the contest",
    "00001051 18 n 01 loser 0 000 | a person with a record of failing",
    "00001060 23 n 01 fen 0 000 | 100 fen equal 1 yuan in China",
    "00001061 17 n 03 marsh 0 marshland 0 fen 0 000 | low-lying wet land with grassy vegetation; usually is a "
    "transition zone between land and water",
    "00001070 18 n 01 Aaron 0 001 @i 00000001 n 0000 | (Old Testament) elder brother of Moses (14th century BC); the "
    "first high priest of the Israelites; created the golden calf",
    "00001080 18 n 01 Ezra 0 001 @i 00000001 n 0000 | a Jewish priest and scribe",
    "00001081 18 n 01 Levite 0 001 @ 00000001 n 0000 | a member of the Hebrew tribe of Levi",
    "00001085 18 n 01 Tom 0 000 | an offensive name", "00001086 05 n 01 tom 0 000 | male turkey",
    "00001090 04 n 01 ha 0 000 | an expression of surprise",
    "00001100 07 n 01 anger 0 001 + 00003010 a 0101 | a strong emotion",
    "00001110 05 n 02 Ara 0 genus_Ara 0 000 | macaws",
    "00001111 17 n 01 Ara 0 000 | a constellation in the southern hemisphere near Telescopium and Norma",
    "00001120 18 n 01 surfer 0 000 | someone who engages in surfboarding",
    "00001121 18 n 01 surfer 0 000 | a rider of big waves", "00001122 04 n 01 surf 0 000 | waves breaking on the shore",
    "00001123 04 n 01 boarding 0 000 | a structure of boards", "00001130 09 n 01 heed 0 000 | paying particular notice",
    "00001140 06 n 01 stereo 0 000 | reproducer in which two microphones feed two or more loudspeakers to give a "
    "three-dimensional effect to the sound",
    "00001141 06 n 01 stereo 0 000 | a sound system with two channels",
    "00001150 18 n 01 realtor 0 000 | a real estate agent who is a member of the National Association of Realtors",
    "00001160 18 n 02 Sontag 0 Susan_Sontag 0 001 @i 00000001 n 0000 | United States writer and critic (1933-2004)",
    "00001170 15 n 01 Asia 0 000 | the largest continent",
    "00001171 18 n 01 Asian 0 000 | a native or inhabitant of Asia",
    "00001172 18 n 01 Asian 0 000 | a person of the east",
    "00001180 28 n 01 Adar 0 000 | (Judaism) the sixth month of the civil year",
    "00001300 06 n 01 saw 0 000 | hand tool having a toothed blade for cutting",
    "00001310 09 n 01 snowman 0 000 | a figure of a person made of packed snow",
    "00001311 19 n 01 snow 0 000 | precipitation falling from clouds in the form of ice crystals",
    "00001312 18 n 01 man 0 000 | an adult person who is male",
    "00001320 28 n 02 daytime 0 day 0 000 | the time after sunrise and before sunset",
    "00001330 07 n 01 scope 0 000 | an area in which something acts or operates",
    "00001331 06 n 01 scope 0 000 | a magnifier of images of distant objects",
    "00001332 18 n 02 Scopes 0 John_Scopes 0 001 @i 00000001 n 0000 | Tennessee teacher tried for teaching evolution",
    "00001340 20 n 01 reed 0 000 | tall woody perennial grasses with hollow slender stems",
    "00001341 20 n 01 grass 0 000 | narrow-leaved green herbage", "00001343 27 n 01 particle 0 000 | a small piece",
    "00001342 27 n 01 sawdust 0 000 | fine particles of wood",
    "00001181 28 n 01 Elul 0 000 | the twelfth month of the civil year; the sixth month of the ecclesiastical year "
    "in the Jewish calendar (in August and September)"});
const std::string kIndexVerb = Index("v", {
    "bat 2 2150 2151", "hit 1 2152", "come 1 2010", "exist 1 2140", "be 1 2160", "die 0 2170 2171", "exact 1 2050",
    "fail 0 2080", "have 1 2030", "heed 1 2100", "hale 0 2110 2111", "hew 0 2120", "lie 2 2130 2131", "lose 1 2040",
    "move 0 2081", "own 0 2082", "paint 1 2090", "promise 0 2092", "pay 1 2060", "repay 1 2061 2062", "shew 0 2070",
    "sit 1 2020", "travel 0 2083", "vow 1 2091", "saw 1 2200"});
const std::string kDataVerb = Lines({
    "00002010 38 v 01 come 0 000 | move toward, travel toward something or somebody",
    "00002020 35 v 01 sit 0 000 | be seated", "00002200 35 v 01 saw 0 000 | cut with a saw",
    "00002030 40 v 01 have 0 000 | own",
    "00002040 40 v 01 lose 0 000 | fail to win", "00002050 40 v 01 exact 0 000 | claim as due",
    "00002060 40 v 01 pay 0 000 | give money", "00002061 40 v 03 repay 0 pay_back 0 refund 0 000 | pay back",
    "00002062 40 v 01 repay 0 000 | make repayment for",
    "00002070 39 v 01 shew 0 000 | establish the validity of something",
    "00002080 40 v 01 fail 0 000 | be unsuccessful", "00002081 38 v 01 move 0 000 | change location",
    "00002082 40 v 01 own 0 000 | have ownership", "00002083 38 v 01 travel 0 000 | undergo transportation",
    "00002090 35 v 01 paint 0 000 | apply paint to",
    "00002091 32 v 01 vow 0 000 | make a vow; either solemnly or not; promise",
    "00002092 32 v 01 promise 0 000 | make a promise", "00002100 31 v 02 heed 0 mind 0 000 | give heed to",
    "00002110 41 v 02 coerce 0 hale 0 000 | to cause to do through pressure",
    "00002111 35 v 02 haul 0 hale 0 000 | draw slowly or heavily", "00002120 35 v 01 hew 0 000 | strike with an axe",
    "00002140 42 v 01 exist 0 000 | have an existence, be extant",
    "00002150 35 v 02 bat 0 hit 0 000 | strike with a bat", "00002152 35 v 01 hit 0 000 | deal a blow to",
    "00002151 29 v 01 bat 0 000 | wink briefly", "00002160 42 v 01 be 0 000 | have the quality of being",
    "00002170 30 v 01 die 0 001 + 00001280 n 0101 | suffer or face the pain of death",
    "00002171 30 v 01 die 0 000 | stop operating or functioning",
    "00002130 35 v 01 lie 0 000 | be prostrate; \"The sick man lay in bed all day\"",
    "00002131 32 v 01 lie 0 000 | tell an untruth; \"She lied when she told me she was only 29\""});
const std::string kIndexAdj =
    Index("a", {"angry 1 3010 3011", "hale 0 3003", "painted 0 3002", "salty 2 3020 3021", "xli 0 3001"});
const std::string kDataAdj = Lines({
    "00003001 00 s 03 forty-one 0 41 0 xli 0 000 | being one more than forty",
    "00003002 00 s 01 painted 0 000 | having makeup applied",
    "00003003 00 s 02 hale 0 whole 0 000 | exhibiting or restored to vigorous good health",
    "00003010 00 a 01 angry 0 001 + 00001100 n 0101 | feeling or showing anger",
    "00003011 00 s 01 angry 0 000 | severely inflamed and painful",
    "00003020 00 s 02 piquant 0 salty 0 000 | engagingly stimulating or provocative",
    "00003021 00 a 01 salty 0 000 | containing salt"});
const std::string kIndexAdv = Index("r", {"non 0 4001"});
const std::string kDataAdv = Lines({"00004001 02 r 02 not 0 non 0 000 | negation of a word or group of words"});
const std::string kCntList = Lines({
    "angry%3:00:00:: 1 5", "bat%1:05:00:: 1 5", "bat%2:35:00:: 1 11", "bat%2:29:00:: 2 2", "hit%2:35:00:: 1 25",
    "salty%5:00:00:: 1 1", "salty%3:00:00:: 2 1", "asian%1:18:00:: 1 4", "come%2:38:00:: 1 40", "heed%1:09:00:: 1 2",
    "heed%2:31:00:: 1 4", "stereo%1:06:00:: 1 3", "stereo%1:06:01:: 2 1", "sit%2:35:00:: 1 30", "have%2:40:00:: 1 50",
    "lie%2:35:00:: 1 58", "lie%2:32:00:: 2 9", "lose%2:40:00:: 1 9", "loser%1:18:00:: 1 2", "exact%2:40:00:: 1 1",
    "paint%2:35:00:: 1 6", "pay%2:40:00:: 1 8", "repay%2:40:00:: 1 3", "tom%1:18:00:: 1 3", "vow%2:32:00:: 1 2",
    "saw%2:35:00:: 1 1", "scope%1:07:00:: 1 3"}, "\n");
const std::string kVerbExc = Lines({"are be", "has have", "lay lie", "sat sit"}, "\n");

class WordNetImporterCluesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::pair<const char*, std::string_view> files[] = {
            {"index.noun", kIndexNoun}, {"data.noun", kDataNoun}, {"index.verb", kIndexVerb}, {"data.verb", kDataVerb},
            {"index.adj", kIndexAdj}, {"data.adj", kDataAdj}, {"index.adv", kIndexAdv}, {"data.adv", kDataAdv},
            {"cntlist.rev", kCntList}, {"noun.exc", ""}, {"verb.exc", kVerbExc}};
        for (const auto& [name, text] : files)
            std::ofstream(wordnet_.File(name), std::ios::binary) << text;
        Make("");
    }
    // Makes the dictionary with a list of first senses; returns the entries it did not match.
    std::vector<FirstSense> Make(std::string_view firstSenses)
    {
        WordNetImporter importer(Dictionary::kCapacity, firstSenses);
        EXPECT_TRUE(importer.Import(wordnet_.Folder())) << importer.Error();
        // Through the file, so that base words are resolved as the game sees them.
        const std::string path = wordnet_.File("Zanth.dct");
        EXPECT_TRUE(DictionaryWriter(importer.Records()).Write(path));
        EXPECT_TRUE(dictionary_.LoadFile(path));
        return importer.UnmatchedFirstSenses();
    }
    const DictionaryWord* Word(const char* text) const
    {
        const int32_t index = dictionary_.Find(text);
        return index < 0 ? nullptr : &dictionary_.Record(index);
    }
    // The definitions in the order the clue choice sees them.
    std::vector<std::string> Definitions(const char* text) const
    {
        std::vector<std::string> texts;
        DefinitionList definitions = MakeDefinitionList();
        if (const DictionaryWord* word = Word(text))
            word->CollectDefinitions(definitions);
        for (const Definition* definition : definitions)
            texts.emplace_back(TextOf(definition->text));
        return texts;
    }
    test::TempDir wordnet_;
    Dictionary dictionary_;
};

// Untagged senses go by evidence: the synset the word chiefly names (EMU's first
// word is the bird's), then the more linked synset (the fish for TUNA); a sense
// only a name spells so comes after the common ones, tagged or not (TOM); a
// give-away comes after every clean sense, rare ones too (FEN). Where every sense
// gives the word away, a synonym clues it (REPAY); a later clause clues only when
// it reads as a definition, not a remark on the first (VOWS). A verb's "-s" form
// is clued in agreement with it.
TEST_F(WordNetImporterCluesTest, FirstDefinitionIsTheSenseASolverExpects)
{
    const std::pair<const char*, const char*> cases[] = {
        {"EMU", "large Australian flightless bird"}, {"TUNA", "any very large marine food and game fish"},
        {"TOM", "male turkey"}, {"HALE", "exhibiting or restored to vigorous good health"}, // not "coerce", "haul"
        // Of equal use, the sense the word chiefly names; the part of speech whose
        // fair senses are the most used (the verb's first gives BAT away).
        {"SALTY", "containing salt"}, {"BAT", "nocturnal mouselike mammal"},
        {"FEN", "low-lying wet land with grassy vegetation"},
        {"LOSER", "a person with a record of failing"}, // "loses" gives LOSER away
        {"ASIAN", "a person of the east"},             // "Asia" gives ASIAN away
        {"REPAY", "refund"},                            // "pay back" and "repayment" give it away
        {"VOWS", "promises"}, {"LOSES", "fails to win"}, {"HAS", "owns"}, // HAS is listed, not the plural of HA
        {"ARE", "have the quality of being"}, // as "be": no agreement to make
        // The verb's most used sense gives BAT away and is used over four times as
        // much as the fair "wink briefly": its common synonym clues the verb.
        {"BATS", "hits"},
        {"COMES", "moves toward, travels toward something or somebody"},
        {"SHAMES", "an unfortunate development"}, // a feeling and a state have no plural
        {"GLASSES", "a container for holding liquids while drinking"}, // nor a substance
        {"FARMERS", "a person who operates a farm"}, // nor has a particular person
        {"SHAME", "a painful emotion resulting from an awareness of guilt"},
        {"MUM", "informal term for a mother"}, // not the stubs "of China", "with handle ..."
        {"MUG", "a person who is gullible and easy to take advantage of"},
        // The word's family gives it away too: a word WordNet derives from it or
        // it from (anger; for a short word, one of its initial: death), a compound
        // of its stem (surfboarding); where a part of speech has nothing else, a
        // synonym clues its forms (HEEDED).
        {"ANGRY", "severely inflamed and painful"}, {"DIE", "stop operating or functioning"},
        {"SURFER", "a rider of big waves"}, {"HEEDED", "mind"},
        // A clause that gives the word away only in its tail is cut before it; a
        // verb's first phrase that does gives way to the next.
        {"REALTOR", "a real estate agent"}, {"EXIST", "be extant"},
        // A surname shows the person's given names; a name whose clue names
        // nothing else keeps what makes it guessable.
        {"SONTAG", "United States writer and critic (Susan ___)"},
        {"ADAR", "(Judaism) the sixth month of the civil year"},
        {"ELUL", "the twelfth month of the civil year in the Jewish calendar"},
        // A clue that cannot be cut short enough ranks behind a shorter sense.
        {"STEREO", "a sound system with two channels"},
        // The reading that gives the clue leads, with its form: PAINTED is no
        // past here; a regular form beside a listed one ("lay") clues the senses
        // whose examples use it, before the German song.
        {"PAINTED", "having makeup applied"}, {"LIED", "tell an untruth"},
        // A spelling two bases share goes to the one with a clean clue: SAWS is
        // the tools, though the verb is the more used ("cuts with a saw").
        {"SAWS", "hand tool having a toothed blade for cutting"},
        // A word that holds the clue's word gives itself away too ("snow").
        {"SNOWMAN", "a figure of a person"},
        // A kind of plant or animal that WordNet glosses by its members is one of
        // them; a substance is no count of its parts.
        {"REED", "tall woody perennial grass with hollow slender stems"}, {"SAWDUST", "fine particles of wood"},
        // A plural whose fair senses have no plural yields to a headword's name.
        {"SCOPES", "Tennessee teacher tried for teaching evolution (John ___)"},
    };
    for (const auto& [word, clue] : cases) {
        const std::vector<std::string> definitions = Definitions(word);
        EXPECT_EQ(definitions.empty() ? "" : definitions[0], clue) << word;
    }
    // An untagged word's later senses stay open to the books (300 on).
    DefinitionList emu = MakeDefinitionList();
    Word("EMU")->CollectDefinitions(emu);
    EXPECT_EQ(emu.At(emu.Count() - 1)->rank, Definition::kOpenRank + 2);
    EXPECT_EQ(Word("PAINTED")->form, kFormPlain);
    EXPECT_EQ(Word("LIED")->form, kFormPast);
    EXPECT_EQ(Word("SCOPES")->form, kFormPlain); // no "(plural) " before the name
    // The clue is the gloss's first clause without asides; the whole gloss follows it.
    EXPECT_EQ(Definitions("AARON"),
              (std::vector<std::string>{"elder brother of Moses",
                                        "(Old Testament) elder brother of Moses (14th century BC); the first high "
                                        "priest of the Israelites; created the golden calf"}));
}

// A form that is a headword too keeps both readings, the more used one first.
// Words of one or two letters and names of particular people take no regular
// forms; abbreviations, roman numerals, archaic spellings, the Latin names of
// genera and constellations (ARA), words of other languages (BAAS, ANNUM, NON)
// and words with no clue but a give-away (HEWER, and its forms) are no words for
// a grid.
TEST_F(WordNetImporterCluesTest, InflectionsKeepEveryReadingAndNonWordsAreLeftOut)
{
    const DictionaryWord* sat = Word("SAT");
    ASSERT_NE(sat, nullptr);
    EXPECT_EQ(sat->form, kFormPast);
    EXPECT_EQ(dictionary_.Record(sat->baseIndex).text, "SIT");
    EXPECT_EQ(Definitions("SAT"), (std::vector<std::string>{"be seated", "the seventh and last day of the week"}));
    EXPECT_NE(Word("LEVITES"), nullptr);
    // DAYTIME's only clue holds "time", and "day" is a part of it, no synonym.
    for (const char* none : {"EZRAS", "AARONS", "IRS", "XLI", "SHEW", "SHEWS", "ARA", "BAAS", "ANNUM", "NON", "HEWER",
                             "HEWERS", "DAYTIME"})
        EXPECT_EQ(Word(none), nullptr) << none;
}

// The list of first senses overrules WordNet's use counts: the sense it names
// leads its part of speech and that part the word (BAT, "wink briefly"), its forms
// follow (BATS; "wink" is no verb here to agree with) and take their spelling
// (HEEDS), a plural keeps its own rule (SHAMES) unless named itself
// (GLASSES), and an untagged word's other senses are rare, out of the books' reach.
// A sense the list names reads as fair whatever the family rules say (LOSER); a
// word no sense clues fairly is no answer; a word of its family the list names
// gives it away as WordNet's do (EMU, "Australian").
TEST_F(WordNetImporterCluesTest, FirstSensesOfTheListLead)
{
    const std::string_view list = "# word part opening\n"
                                  "bat v wink\n"
                                  "heed n paying\n"
                                  "loser n a contestant\n"
                                  "emu + australian\n"
                                  "shame\tn\ta state of dishonor \n"
                                  "glasses n a brittle\n"
                                  "tuna n tropical American\n"
                                  "fen - no solver knows it\n"
                                  "levites - nor this form\n"
                                  "tuna v any very large\n"   // no verb
                                  "emu n large Asian\n"       // no such sense
                                  "emu x large\n"             // no such part: skipped
                                  "emu n\n";                  // no opening: skipped
    EXPECT_EQ(ParseFirstSenses(list).size(), 11u);
    const std::vector<FirstSense> unmatched = Make(list);
    ASSERT_EQ(unmatched.size(), 2u);
    EXPECT_EQ(unmatched[1].word, "emu");
    const std::pair<const char*, const char*> cases[] = {
        {"BAT", "wink briefly"}, {"BATS", "wink briefly"}, {"SHAME", "a state of dishonor"},
        {"SHAMES", "an unfortunate development"}, {"GLASSES", "a brittle transparent solid"},
        {"GLASS", "a brittle transparent solid"}, {"TUNA", "tropical American prickly pear"},
        {"LOSER", "a contestant who loses the contest"}, // read as fair, whatever the family rules say
        {"EMU", "any of various systems of units"}};
    for (const auto& [word, clue] : cases)
        EXPECT_EQ(Definitions(word).at(0), clue) << word;
    // The leading part's form takes the spelling: HEEDS is the noun's plural, not
    // the more used verb's "-s" form.
    EXPECT_EQ(Word("HEEDS")->form, kFormPlural);
    // A word the list says is no answer goes, with its forms; a form alone, alone.
    for (const char* none : {"FEN", "FENS", "LEVITES"})
        EXPECT_EQ(Word(none), nullptr) << none;
    EXPECT_NE(Word("LEVITE"), nullptr);
    DefinitionList tuna = MakeDefinitionList();
    Word("TUNA")->CollectDefinitions(tuna);
    EXPECT_GE(tuna.At(tuna.Count() - 1)->rank, Definition::kSecondaryRank);
    // Every line of the list the dictionary is made with reads as an entry.
    size_t lines = 0;
    for (std::string_view text = FirstSensesText(); !text.empty();) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        lines += line.find_first_not_of(" \t") != std::string_view::npos && !line.starts_with('#') ? 1 : 0;
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    EXPECT_EQ(ParseFirstSenses(FirstSensesText()).size(), lines);
}

} // namespace
} // namespace pelorin
