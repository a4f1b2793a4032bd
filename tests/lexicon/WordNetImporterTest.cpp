#include "lexicon/WordNetImporter.h"

#include "lexicon/Dictionary.h"
#include "lexicon/DictionaryWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace pelorin {
namespace {

// A tiny WordNet in the files' own formats. What it exercises:
// - CAT: noun (tagged 21 times) and verb (never tagged), so two sub-records;
// - RUN: noun (5) and verb (42): the verb leads although nouns come first;
// - FAST: adjective and adverb, both untagged: the adjective leads (more senses);
// - BASES: a regular plural of BASE (10 tags) and an exception plural of BASIS (0);
// - GEESE, RAN, HOPPING, CATTED: exception forms; RUNNING stays a headword;
// - hot_dog, x-ray, o'clock, 3d, a.m.: not letters-only, so no words.
const char* const kLicence = "  1 This software and database is being provided to you, the LICENSEE, by  \n";

const char* const kIndexNoun =
    "base n 1 0 1 1 00001001  \n" "basis n 1 0 1 0 00001002  \n" "box n 1 0 1 0 00001003  \n"
    "bus n 1 0 1 0 00001004  \n" "cat n 4 2 @ ~ 4 2 00001010 00001011 00001012 00001013  \n"
    "chair n 1 0 1 0 00001081  \n" "chairman n 1 0 1 0 00001080  \n" "fly n 1 0 1 0 00001020  \n"
    "goose n 2 1 @ 2 1 00001030 00001031  \n" "hot_dog n 1 0 1 0 00001040  \n" "human n 1 0 1 0 00001082  \n"
    "o'clock n 1 0 1 0 00001040  \n" "paris n 1 0 1 0 00001050  \n" "run n 1 0 1 1 00001070  \n"
    "years n 1 0 1 0 00001071  \n" "running n 1 0 1 0 00001060  \n" "x-ray n 1 0 1 0 00001040  \n";

const char* const kDataNoun =
    "00001001 06 n 01 base 0 000 | a support or foundation; \"the base of the lamp\"  \n"
    "00001002 09 n 01 basis 0 000 | the fundamental assumptions  \n"
    "00001003 06 n 01 box 0 000 | a container  \n"
    "00001004 06 n 01 bus 0 000 | a vehicle carrying many passengers  \n"
    "00001010 05 n 02 cat 0 true_cat 0 001 @ 02120997 n 0000 | feline mammal: domestic cats; wildcats; "
    "\"the cat sat on the mat\"  \n"
    "00001011 18 n 01 cat 1 000 | an informal term for a youth or man; \"a nice cat\"  \n"
    "00001012 18 n 01 cat 2 000 | a spiteful woman gossip  \n"
    "00001013 06 n 01 cat 3 000 | a whip with nine knotted cords: \"the cat was feared by sailors\"  \n"
    "00001020 05 n 01 fly 0 000 | two-winged insect  \n"
    "00001030 05 n 01 goose 0 000 | web-footed bird  \n"
    "00001031 18 n 01 goose 1 000 | a stupid fool  \n"
    "00001040 13 n 01 hot_dog 0 000 | a sausage  \n"
    "00001050 15 n 01 Paris 0 000 | the capital of France  \n"
    "00001060 04 n 01 running 0 000 | the act of moving fast; as in the expression \"on the run\"  \n"
    "00001070 04 n 01 run 0 000 | a score in baseball  \n"
    "00001071 28 n 01 years 0 000 | a late time of life  \n"
    "00001080 18 n 01 chairman 0 000 | the officer who presides  \n"
    "00001081 06 n 01 chair 0 000 | a seat for one person  \n"
    "00001082 05 n 01 human 0 000 | a person  \n";

const char* const kIndexVerb = "cat v 2 1 @ 2 0 00002001 00002002  \n" "hop v 1 0 1 1 00002020  \n"
                               "make v 1 0 1 1 00002030  \n" "run v 3 0 3 2 00002010 00002011 00002012  \n"
                               "tie v 1 0 1 0 00002040  \n";

const char* const kDataVerb =
    "00002001 35 v 01 cat 0 000 | beat with a cat-o'-nine-tails  \n"
    "00002002 29 v 01 cat 1 000 | eject the contents of the stomach  \n"
    "00002010 38 v 01 run 0 000 | move fast by using one's feet; \"Don't run--you'll be late\"  \n"
    "00002011 38 v 01 run 1 000 | flee; take to one's heels  \n"
    "00002012 38 v 01 run 2 000 | cover by running; run a certain distance  \n"
    "00002020 38 v 01 hop 0 000 | jump lightly  \n"
    "00002030 36 v 01 make 0 000 | engage in; perform  \n"
    "00002040 35 v 01 tie 0 000 | fasten or secure with a rope  \n";

const char* const kIndexAdj = "fast a 2 0 2 0 00003001 00003002  \n";
const char* const kDataAdj = "00003001 00 a 01 fast 0 000 | acting or moving quickly  \n"
                             "00003002 00 s 01 fast 1 000 | resistant to destruction or fading  \n";
const char* const kIndexAdv = "fast r 1 0 1 0 00004001  \n";
const char* const kDataAdv = "00004001 02 r 01 fast 0 000 | quickly  \n";

const char* const kCntList = "cat%1:05:00:: 1 18\n" "cat%1:18:00:: 2 3\n" "run%2:38:00:: 1 40\n" "run%2:38:04:: 3 2\n"
                             "run%1:04:00:: 1 5\n" "goose%1:05:00:: 1 4\n" "base%1:06:00:: 1 10\n"
                             "hop%2:38:00:: 1 2\n" "make%2:36:00:: 1 30\n";
const char* const kNounExc = "geese goose\n" "bases basis\n" "men man\n";
const char* const kVerbExc = "catted cat\n" "catting cat\n" "hopped hop\n" "hopping hop\n" "is be\n" "ran run\n"
                             "running run\n";

using Ranks = std::vector<std::pair<int32_t, std::string>>;

Ranks Ranked(const WordRecord& record)
{
    Ranks result;
    for (const Definition* definition : record.definitions)
        result.emplace_back(definition->rank, std::string(TextOf(definition->text)));
    return result;
}

class WordNetImporterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::pair<std::string, std::string> files[] = {
            {"index.noun", kIndexNoun}, {"data.noun", kDataNoun}, {"index.verb", kIndexVerb},
            {"data.verb", kDataVerb},   {"index.adj", kIndexAdj}, {"data.adj", kDataAdj},
            {"index.adv", kIndexAdv},   {"data.adv", kDataAdv}};
        for (const auto& [name, text] : files)
            test::WriteFileBytes(wordnet_.File(name), kLicence + text);
        for (const auto& [name, text] :
             {std::pair{"cntlist.rev", kCntList}, {"noun.exc", kNounExc}, {"verb.exc", kVerbExc}})
            test::WriteFileBytes(wordnet_.File(name), text);
        ASSERT_TRUE(Import());
    }
    bool Import(int32_t capacity = Dictionary::kCapacity)
    {
        importer_ = std::make_unique<WordNetImporter>(capacity);
        return importer_->Import(wordnet_.Folder());
    }
    const WordRecordTable& Table() const { return importer_->Records(); }
    bool Has(const std::string& text) const
    {
        return std::any_of(Table().begin(), Table().end(), [&](const auto& record) { return record->text == text; });
    }
    // The record of a word; a missing one fails the test rather than crash it.
    const WordRecord& Word(const std::string& text) const
    {
        static const WordRecord none;
        for (const auto& record : Table())
            if (record->text == text)
                return *record;
        ADD_FAILURE() << text << " missing";
        return none;
    }
    test::TempDir wordnet_;
    std::unique_ptr<WordNetImporter> importer_;
};

// Clues come from the dominant part of speech: one kind-3 sub-record, the others
// behind it. Dominance is decided by tagged uses, not file order; untagged parts
// fall back to their number of senses. One part of speech needs no sub-records.
// Rank = 2 x sense order, except rare senses (untagged after the first), which go
// to 500 + order, and glosses that give the word away (itself, a form or a stem of
// it), which go to 600 + order. A clue is the first clause of the gloss.
TEST_F(WordNetImporterTest, PartsOfSpeechGetSubRecordsRankedByUseAndGiveAways)
{
    const WordRecord& cat = Word("CAT");
    ASSERT_EQ(cat.subRecords.Count(), 2);
    EXPECT_EQ(cat.subRecords.At(0)->kind, 3);
    EXPECT_EQ(Ranked(*cat.subRecords.At(0)), (Ranks{{0, "feline mammal"},
                                                    {2, "an informal term for a youth or man"},
                                                    {502, "a spiteful woman gossip"},
                                                    {503, "a whip with nine knotted cords"}}));
    // "cat-o'-nine-tails" names the word; a first sense is never rare.
    EXPECT_EQ(cat.subRecords.At(1)->kind, WordNetImporter::kDefaultKindOther);
    EXPECT_EQ(Ranked(*cat.subRecords.At(1)),
              (Ranks{{501, "eject the contents of the stomach"}, {600, "beat with a cat-o'-nine-tails"}}));
    const WordRecord& run = Word("RUN"); // verb tagged 42 times, noun 5; "run" gives the answer away
    ASSERT_EQ(run.subRecords.Count(), 2);
    EXPECT_EQ(Ranked(*run.subRecords.At(0)),
              (Ranks{{0, "move fast by using one's feet"}, {502, "flee"}, {601, "cover by running"}}));
    EXPECT_EQ(Ranked(*run.subRecords.At(1)), (Ranks{{0, "a score in baseball"}}));
    const WordRecord& fast = Word("FAST"); // both untagged: the adjective has more senses
    ASSERT_EQ(fast.subRecords.Count(), 2);
    EXPECT_EQ(fast.subRecords.At(0)->definitions.Count(), 2); // satellite sense included
    EXPECT_EQ(Ranked(*fast.subRecords.At(1)), (Ranks{{0, "quickly"}}));
    const WordRecord& box = Word("BOX");
    EXPECT_EQ(box.kind, 3);
    EXPECT_TRUE(box.subRecords.Empty());
    EXPECT_EQ(Ranked(box), (Ranks{{0, "a container"}}));
    EXPECT_EQ(box.definitions.At(0)->aux, 1003);
}

TEST_F(WordNetImporterTest, OnlyLettersOnlyLemmasBecomeWordsInByteOrder)
{
    EXPECT_EQ(importer_->HeadwordCount(), 18);
    // What the writer takes: byte order (CHAIR before CHAIRMAN, unlike the index),
    // letters A-Z only, each length its text's, bases inside the table.
    EXPECT_TRUE(DictionaryWriter(Table()).Valid());
}

// Forms come from the exception lists, where a listed form replaces the regular
// rule for that base, and from the regular rules elsewhere. BASES is BASE's regular
// plural and BASIS's listed one: the base with more tagged uses wins.
TEST_F(WordNetImporterTest, InflectedFormsNameTheirFormBaseAndPartOfSpeech)
{
    const std::tuple<const char*, int32_t, const char*> forms[] = { // word, form, base
        {"CATS", kFormPlural, "CAT"},    {"GEESE", kFormPlural, "GOOSE"}, {"RAN", kFormPast, "RUN"},
        {"HOPPING", kFormDoing, "HOP"},  {"HOPPED", kFormPast, "HOP"},    {"CATTED", kFormPast, "CAT"},
        {"RUNS", kFormPlain, "RUN"},    {"BOXES", kFormPlural, "BOX"},   {"BUSES", kFormPlural, "BUS"},
        {"FLIES", kFormPlural, "FLY"},   {"CHAIRMEN", kFormPlural, "CHAIRMAN"},
        {"HUMANS", kFormPlural, "HUMAN"}, {"TIED", kFormPast, "TIE"},     {"TYING", kFormDoing, "TIE"},
        {"MAKING", kFormDoing, "MAKE"},  {"BASES", kFormPlural, "BASE"},
    };
    for (const auto& [word, form, base] : forms) {
        const WordRecord& record = Word(word);
        EXPECT_EQ(record.form, form) << word;
        ASSERT_GE(record.baseIndex, 0) << word;
        EXPECT_EQ(Table()[size_t(record.baseIndex)]->text, base) << word;
    }
    // Adjectives and adverbs have no plural, a name takes no -es, a noun in -rs is
    // a plural already; listed exceptions forbid the regular forms.
    for (const char* wrong : {"FASTS", "PARISES", "YEARSES", "GOOSES", "RUNNED", "RUNING", "HOPED", "HOPING",
                              "CATED", "CATING", "BASISES", "IS"})
        EXPECT_FALSE(Has(wrong)) << wrong;
    // A plural of a word that is also a verb must not be clued with a verb sense, so
    // a form of a several-part word carries one sub-record of its own part of speech.
    const WordRecord& cats = Word("CATS");
    ASSERT_EQ(cats.subRecords.Count(), 1);
    EXPECT_EQ(cats.subRecords.At(0)->kind, 3);
    EXPECT_EQ(Ranked(*cats.subRecords.At(0)), Ranked(*Word("CAT").subRecords.At(0))); // the nouns
    // GOOSE has one part of speech: GEESE borrows through its base alone.
    EXPECT_TRUE(Word("GEESE").subRecords.Empty());
}

// Over capacity, inflected forms give way first (regular before listed ones,
// rarer bases first), then the least used headwords.
TEST_F(WordNetImporterTest, CapacityDropsInflectedFormsBeforeHeadwords)
{
    ASSERT_TRUE(Import(18 + 2));
    EXPECT_EQ(Table().size(), 20u);
    EXPECT_EQ(importer_->InflectedCount(), 2);
    EXPECT_TRUE(Has("RAN"));   // listed, run's verb is tagged 42 times
    EXPECT_TRUE(Has("GEESE")); // listed, 4 tags beats HOPPED's 2
    ASSERT_TRUE(Import(3));
    std::vector<std::string> kept;
    for (const auto& record : Table())
        kept.push_back(record->text);
    EXPECT_EQ(kept, (std::vector<std::string>{"CAT", "MAKE", "RUN"}));
}

} // namespace
} // namespace pelorin
