#include "lexicon/WordNetImporter.h"

#include "lexicon/Dictionary.h"
#include "lexicon/DictionaryWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace pelorin {
namespace {

// A tiny WordNet of the cases where a dictionary made naively gives clues a
// crossword solver rejects: each word below was once clued wrongly.
const char* const kIndexNoun = "aaron n 1 0 1 0 00001070  \n"
                               "adar n 1 0 1 0 00001180  \n"
                               "elul n 1 0 1 0 00001181  \n"
                               "anger n 1 0 1 0 00001100  \n"
                               "annum n 1 0 1 0 00001191  \n"
                               "ara n 2 0 2 0 00001110 00001111  \n"
                               "baas n 1 0 1 0 00001190  \n"
                               "asia n 1 0 1 0 00001170  \n"
                               "asian n 2 0 2 1 00001171 00001172  \n"
                               "bat n 1 0 1 1 00001260  \n"
                               "boarding n 1 0 1 0 00001123  \n"
                               "glass n 2 0 2 0 00001270 00001271  \n"
                               "heed n 1 0 1 1 00001130  \n"
                               "hewer n 1 0 1 0 00001230  \n"
                               "realtor n 1 0 1 0 00001150  \n"
                               "stereo n 2 0 2 2 00001140 00001141  \n"
                               "surf n 1 0 1 0 00001122  \n"
                               "surfer n 2 0 2 0 00001120 00001121  \n"
                               "come n 1 0 1 0 00001030  \n"
                               "emu n 2 0 2 0 00001001 00001002  \n"
                               "ezra n 1 0 1 0 00001080  \n"
                               "farm n 1 0 1 0 00001250  \n"
                               "farmer n 2 0 2 0 00001251 00001252  \n"
                               "fen n 2 0 2 0 00001060 00001061  \n"
                               "ha n 1 0 1 0 00001090  \n"
                               "irs n 1 0 1 0 00001040  \n"
                               "levite n 1 0 1 0 00001081  \n"
                               "lied n 1 0 1 0 00001240  \n"
                               "loser n 2 0 2 1 00001050 00001051  \n"
                               "mug n 2 0 2 0 00001220 00001221  \n"
                               "mum n 2 0 2 0 00001210 00001211  \n"
                               "sat n 1 0 1 0 00001020  \n"
                               "shame n 3 0 3 0 00001200 00001201 00001202  \n"
                               "sontag n 1 0 1 0 00001160  \n"
                               "tom n 2 0 2 1 00001085 00001086  \n"
                               "tuna n 2 0 2 0 00001010 00001011  \n";
const char* const kDataNoun =
    "00001001 23 n 02 electromagnetic_unit 0 emu 0 001 @ 00000001 n 0000 | any of various systems of units  \n"
    "00001002 05 n 03 emu 0 Dromaius_novaehollandiae 0 Emu_novaehollandiae 0 000 | large Australian "
    "flightless bird  \n"
    "00001010 20 n 02 tuna 0 Opuntia_tuna 0 001 @ 00000001 n 0000 | tropical American prickly pear  \n"
    "00001011 05 n 02 tuna 0 tunny 0 003 @ 00000001 n 0000 @ 00000002 n 0000 ~ 00000003 n 0000 | any very "
    "large marine food and game fish  \n"
    "00001020 28 n 03 Saturday 0 Sabbatum 0 Sat 0 000 | the seventh and last day of the week  \n"
    "00001030 27 n 01 come 0 000 | a thick white fluid  \n"
    "00001190 18 n 01 baas 0 000 | South African term for `boss'  \n"
    "00001200 12 n 01 shame 0 000 | a painful emotion resulting from an awareness of guilt  \n"
    "00001201 26 n 01 shame 0 000 | a state of dishonor  \n"
    "00001202 11 n 01 shame 0 000 | an unfortunate development  \n"
    "00001210 20 n 02 florist's_chrysanthemum 0 mum 0 000 | of China  \n"
    "00001211 18 n 02 mother 0 mum 0 000 | informal terms for a mother  \n"
    "00001220 06 n 01 mug 0 000 | with handle and usually cylindrical  \n"
    "00001230 18 n 01 hewer 0 000 | a person who hews  \n"
    "00001240 10 n 01 lied 0 000 | a German art song of the 19th century for voice and piano  \n"
    "00001250 06 n 01 farm 0 000 | workplace consisting of buildings and cultivated land  \n"
    "00001260 05 n 01 bat 0 000 | nocturnal mouselike mammal  \n"
    "00001270 27 n 01 glass 0 000 | a brittle transparent solid  \n"
    "00001271 06 n 01 glass 0 000 | a container for holding liquids while drinking  \n"
    "00001251 18 n 01 farmer 0 000 | a person who operates a farm  \n"
    "00001252 18 n 02 Farmer 0 James_Farmer 0 001 @i 00000001 n 0000 | United States civil rights leader  \n"
    "00001221 18 n 02 chump 0 mug 0 000 | a person who is gullible and easy to take advantage of  \n"
    "00001191 28 n 01 annum 0 000 | (Latin) year; \"per annum\"  \n"
    "00001040 14 n 02 Internal_Revenue_Service 0 IRS 0 000 | the bureau that collects taxes  \n"
    "00001050 18 n 01 loser 0 000 | a contestant who loses the contest  \n"
    "00001051 18 n 01 loser 0 000 | a person with a record of failing  \n"
    "00001060 23 n 01 fen 0 000 | 100 fen equal 1 yuan in China  \n"
    "00001061 17 n 03 marsh 0 marshland 0 fen 0 000 | low-lying wet land with grassy vegetation; usually is "
    "a transition zone between land and water  \n"
    "00001070 18 n 01 Aaron 0 001 @i 00000001 n 0000 | (Old Testament) elder brother of Moses (14th century "
    "BC); the first high priest of the Israelites; created the golden calf  \n"
    "00001080 18 n 01 Ezra 0 001 @i 00000001 n 0000 | a Jewish priest and scribe  \n"
    "00001081 18 n 01 Levite 0 001 @ 00000001 n 0000 | a member of the Hebrew tribe of Levi  \n"
    "00001085 18 n 01 Tom 0 000 | an offensive name  \n"
    "00001086 05 n 01 tom 0 000 | male turkey  \n"
    "00001090 04 n 01 ha 0 000 | an expression of surprise  \n"
    "00001100 07 n 01 anger 0 001 + 00003010 a 0101 | a strong emotion  \n"
    "00001110 05 n 02 Ara 0 genus_Ara 0 000 | macaws  \n"
    "00001111 17 n 01 Ara 0 000 | a constellation in the southern hemisphere near Telescopium and Norma  \n"
    "00001120 18 n 01 surfer 0 000 | someone who engages in surfboarding  \n"
    "00001121 18 n 01 surfer 0 000 | a rider of big waves  \n"
    "00001122 04 n 01 surf 0 000 | waves breaking on the shore  \n"
    "00001123 04 n 01 boarding 0 000 | a structure of boards  \n"
    "00001130 09 n 01 heed 0 000 | paying particular notice  \n"
    "00001140 06 n 01 stereo 0 000 | reproducer in which two microphones feed two or more loudspeakers to give a "
    "three-dimensional effect to the sound  \n"
    "00001141 06 n 01 stereo 0 000 | a sound system with two channels  \n"
    "00001150 18 n 01 realtor 0 000 | a real estate agent who is a member of the National Association of "
    "Realtors  \n"
    "00001160 18 n 02 Sontag 0 Susan_Sontag 0 001 @i 00000001 n 0000 | United States writer and critic "
    "(1933-2004)  \n"
    "00001170 15 n 01 Asia 0 000 | the largest continent  \n"
    "00001171 18 n 01 Asian 0 000 | a native or inhabitant of Asia  \n"
    "00001172 18 n 01 Asian 0 000 | a person of the east  \n"
    "00001180 28 n 01 Adar 0 000 | (Judaism) the sixth month of the civil year  \n"
    "00001181 28 n 01 Elul 0 000 | the twelfth month of the civil year; the sixth month of the ecclesiastical "
    "year in the Jewish calendar (in August and September)  \n";

const char* const kIndexVerb = "bat v 2 0 2 2 00002150 00002151  \n"
                               "come v 1 0 1 1 00002010  \n"
                               "exist v 1 0 1 1 00002140  \n"
                               "be v 1 0 1 1 00002160  \n"
                               "exact v 1 0 1 1 00002050  \n"
                               "fail v 1 0 1 0 00002080  \n"
                               "have v 1 0 1 1 00002030  \n"
                               "heed v 1 0 1 1 00002100  \n"
                               "hale v 2 0 2 0 00002110 00002111  \n"
                               "hew v 1 0 1 0 00002120  \n"
                               "lie v 2 0 2 2 00002130 00002131  \n"
                               "lose v 1 0 1 1 00002040  \n"
                               "move v 1 0 1 0 00002081  \n"
                               "own v 1 0 1 0 00002082  \n"
                               "paint v 1 0 1 1 00002090  \n"
                               "promise v 1 0 1 0 00002092  \n"
                               "pay v 1 0 1 1 00002060  \n"
                               "repay v 2 0 2 1 00002061 00002062  \n"
                               "shew v 1 0 1 0 00002070  \n"
                               "sit v 1 0 1 1 00002020  \n"
                               "travel v 1 0 1 0 00002083  \n"
                               "vow v 1 0 1 1 00002091  \n";
const char* const kDataVerb =
    "00002010 38 v 01 come 0 000 | move toward, travel toward something or somebody  \n"
    "00002020 35 v 01 sit 0 000 | be seated  \n"
    "00002030 40 v 01 have 0 000 | own  \n"
    "00002040 40 v 01 lose 0 000 | fail to win  \n"
    "00002050 40 v 01 exact 0 000 | claim as due  \n"
    "00002060 40 v 01 pay 0 000 | give money  \n"
    "00002061 40 v 03 repay 0 pay_back 0 refund 0 000 | pay back  \n"
    "00002062 40 v 01 repay 0 000 | make repayment for  \n"
    "00002070 39 v 01 shew 0 000 | establish the validity of something  \n"
    "00002080 40 v 01 fail 0 000 | be unsuccessful  \n"
    "00002081 38 v 01 move 0 000 | change location  \n"
    "00002082 40 v 01 own 0 000 | have ownership  \n"
    "00002083 38 v 01 travel 0 000 | undergo transportation  \n"
    "00002090 35 v 01 paint 0 000 | apply paint to  \n"
    "00002091 32 v 01 vow 0 000 | make a vow; either solemnly or not; promise  \n"
    "00002092 32 v 01 promise 0 000 | make a promise  \n"
    "00002100 31 v 02 heed 0 mind 0 000 | give heed to  \n"
    "00002110 41 v 02 coerce 0 hale 0 000 | to cause to do through pressure  \n"
    "00002111 35 v 02 haul 0 hale 0 000 | draw slowly or heavily  \n"
    "00002120 35 v 01 hew 0 000 | strike with an axe  \n"
    "00002140 42 v 01 exist 0 000 | have an existence, be extant  \n"
    "00002150 35 v 01 bat 0 000 | strike with a bat  \n"
    "00002151 29 v 01 bat 0 000 | wink briefly  \n"
    "00002160 42 v 01 be 0 000 | have the quality of being  \n"
    "00002130 35 v 01 lie 0 000 | be prostrate; \"The sick man lay in bed all day\"  \n"
    "00002131 32 v 01 lie 0 000 | tell an untruth; \"She lied when she told me she was only 29\"  \n";

const char* const kIndexAdj = "angry a 2 0 2 1 00003010 00003011  \n"
                              "hale a 1 0 1 0 00003003  \n"
                              "painted a 1 0 1 0 00003002  \n"
                              "salty a 2 0 2 2 00003020 00003021  \n"
                              "xli a 1 0 1 0 00003001  \n";
const char* const kDataAdj = "00003001 00 s 03 forty-one 0 41 0 xli 0 000 | being one more than forty  \n"
                             "00003002 00 s 01 painted 0 000 | having makeup applied  \n"
                             "00003003 00 s 02 hale 0 whole 0 000 | exhibiting or restored to vigorous good health  \n"
                             "00003010 00 a 01 angry 0 001 + 00001100 n 0101 | feeling or showing anger  \n"
                             "00003011 00 s 01 angry 0 000 | severely inflamed and painful  \n"
                             "00003020 00 s 02 piquant 0 salty 0 000 | engagingly stimulating or provocative  \n"
                             "00003021 00 a 01 salty 0 000 | containing salt  \n";

const char* const kIndexAdv = "non r 1 0 1 0 00004001  \n";
const char* const kDataAdv = "00004001 02 r 02 not 0 non 0 000 | negation of a word or group of words  \n";

const char* const kCntList = "angry%3:00:00:: 1 5\n"
                             "bat%1:05:00:: 1 5\n"
                             "bat%2:35:00:: 1 11\n"
                             "bat%2:29:00:: 2 2\n"
                             "salty%5:00:00:: 1 1\n"
                             "salty%3:00:00:: 2 1\n"
                             "asian%1:18:00:: 1 4\n"
                             "come%2:38:00:: 1 40\n"
                             "heed%1:09:00:: 1 2\n"
                             "heed%2:31:00:: 1 4\n"
                             "stereo%1:06:00:: 1 3\n"
                             "stereo%1:06:01:: 2 1\n"
                             "sit%2:35:00:: 1 30\n"
                             "have%2:40:00:: 1 50\n"
                             "lie%2:35:00:: 1 58\n"
                             "lie%2:32:00:: 2 9\n"
                             "lose%2:40:00:: 1 9\n"
                             "loser%1:18:00:: 1 2\n"
                             "exact%2:40:00:: 1 1\n"
                             "paint%2:35:00:: 1 6\n"
                             "pay%2:40:00:: 1 8\n"
                             "repay%2:40:00:: 1 3\n"
                             "tom%1:18:00:: 1 3\n"
                             "vow%2:32:00:: 1 2\n";

const char* const kVerbExc = "has have\n"
                             "lay lie\n"
                             "sat sit\n";

class WordNetImporterCluesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::pair<const char*, const char*> files[] = {
            {"index.noun", kIndexNoun}, {"data.noun", kDataNoun}, {"index.verb", kIndexVerb},
            {"data.verb", kDataVerb},   {"index.adj", kIndexAdj}, {"data.adj", kDataAdj},
            {"index.adv", kIndexAdv},   {"data.adv", kDataAdv},         {"cntlist.rev", kCntList},
            {"noun.exc", ""},           {"verb.exc", kVerbExc},
        };
        for (const auto& [name, text] : files)
            std::ofstream(wordnet_.File(name), std::ios::binary) << text;
        WordNetImporter importer;
        ASSERT_TRUE(importer.Import(wordnet_.Folder())) << importer.Error();
        // Through the file, so that base words are resolved as the game sees them.
        const std::string path = wordnet_.File("Zanth.dct");
        ASSERT_TRUE(DictionaryWriter(importer.Records()).Write(path));
        ASSERT_TRUE(dictionary_.LoadFile(path));
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
        const DictionaryWord* word = Word(text);
        if (!word)
            return texts;
        DefinitionList definitions = MakeDefinitionList();
        word->CollectDefinitions(definitions);
        for (const Definition* definition : definitions)
            texts.emplace_back(TextOf(definition->text));
        return texts;
    }

    std::string Clue(const char* text) const
    {
        const std::vector<std::string> definitions = Definitions(text);
        return definitions.empty() ? "" : definitions.front();
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
    const struct {
        const char* word;
        const char* clue;
    } cases[] = {
        {"EMU", "large Australian flightless bird"},
        {"TUNA", "any very large marine food and game fish"},
        {"TOM", "male turkey"},
        {"HALE", "exhibiting or restored to vigorous good health"}, // not "coerce", "haul"
        // Of equal use, the sense the word chiefly names; the part of speech whose
        // fair senses are the most used (the verb's first gives BAT away).
        {"SALTY", "containing salt"},
        {"BAT", "nocturnal mouselike mammal"},
        {"FEN", "low-lying wet land with grassy vegetation"},
        {"LOSER", "a person with a record of failing"}, // "loses" gives LOSER away
        {"ASIAN", "a person of the east"},             // "Asia" gives ASIAN away
        {"REPAY", "refund"},                            // "pay back" and "repayment" give it away
        {"VOWS", "promises"},
        {"LOSES", "fails to win"},
        {"COMES", "moves toward, travels toward something or somebody"},
        {"HAS", "owns"}, // listed; not the plural of HA
        {"SHAMES", "an unfortunate development"}, // a feeling and a state have no plural
        {"GLASSES", "a container for holding liquids while drinking"}, // nor a substance
        {"FARMERS", "a person who operates a farm"}, // nor has a particular person
        {"SHAME", "a painful emotion resulting from an awareness of guilt"},
        {"MUM", "informal term for a mother"}, // not the stubs "of China", "with handle ..."
        {"MUG", "a person who is gullible and easy to take advantage of"},
        // The word's family gives it away too: a word WordNet derives from it or
        // it from (anger), a compound of its stem (surfboarding); where a part of
        // speech has nothing else, a synonym clues its forms (HEEDED).
        {"ANGRY", "severely inflamed and painful"},
        {"SURFER", "a rider of big waves"},
        {"HEEDED", "mind"},
        // A clause that gives the word away only in its tail is cut before it; a
        // verb's first phrase that does gives way to the next.
        {"REALTOR", "a real estate agent"},
        {"EXIST", "be extant"},
        // A surname shows the person's given names.
        {"SONTAG", "United States writer and critic (Susan ___)"},
        // A name whose clue names nothing else keeps what makes it guessable.
        {"ADAR", "(Judaism) the sixth month of the civil year"},
        {"ELUL", "the twelfth month of the civil year in the Jewish calendar"},
        // A clue that cannot be cut short enough ranks behind a shorter sense.
        {"STEREO", "a sound system with two channels"},
        // The reading that gives the clue leads, with its form: PAINTED is no past here.
        {"PAINTED", "having makeup applied"},
        // A regular form beside a listed one ("lay") clues the senses whose
        // examples use it, before the German song.
        {"LIED", "tell an untruth"},
    };
    for (const auto& [word, clue] : cases)
        EXPECT_EQ(Clue(word), clue) << word;
    EXPECT_EQ(Word("PAINTED")->form, kFormPlain);
    EXPECT_EQ(Word("LIED")->form, kFormPast);
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
    for (const char* none :
         {"EZRAS", "AARONS", "IRS", "XLI", "SHEW", "SHEWS", "ARA", "BAAS", "ANNUM", "NON", "HEWER", "HEWERS"})
        EXPECT_EQ(Word(none), nullptr) << none;
}

} // namespace
} // namespace pelorin
