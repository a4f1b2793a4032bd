#include "lexicon/Dictionary.h"

#include "support/DictionaryFile.h"
#include "support/RecordingNotifier.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace pelorin {
namespace {

using test::ByteImage;
using test::DictionaryBytes;
using test::PlainWords;
using test::TestDefinition;
using test::TestRecord;

TestRecord Word(std::string text, std::vector<TestDefinition> definitions = {}, int32_t kind = 3)
{
    TestRecord record;
    record.text = std::move(text);
    record.kind = kind;
    record.definitions = std::move(definitions);
    return record;
}

// (rank, text) pairs of a definition list, in list order.
std::vector<std::pair<int32_t, std::string>> Ranked(const DefinitionList& list)
{
    std::vector<std::pair<int32_t, std::string>> result;
    for (const Definition* definition : list)
        result.emplace_back(definition->rank, std::string(TextOf(definition->text)));
    return result;
}

class DictionaryTest : public ::testing::Test {
protected:
    // Writes the bytes as the root's Zanth.dct and loads it.
    bool LoadBytes(const std::string& bytes)
    {
        std::ofstream out(dir.File("Zanth.dct"), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        EXPECT_TRUE(out) << "cannot write the test file";
        return dictionary.Load(dir.Folder());
    }
    bool LoadRecords(const std::vector<TestRecord>& records, int32_t stamp = 1234)
    {
        return LoadBytes(DictionaryBytes(records, stamp));
    }
    std::vector<std::pair<int32_t, std::string>> Collected(const std::string& word)
    {
        DefinitionList target = MakeDefinitionList();
        const int32_t index = dictionary.Find(word);
        EXPECT_GE(index, 0) << word;
        if (index >= 0)
            dictionary.Record(index).CollectDefinitions(target);
        return Ranked(target);
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
    Dictionary dictionary;
};

TEST_F(DictionaryTest, LoadReadsHeaderRecordsAndSubRecords)
{
    TestRecord run = Word("RUN", {}, 1);
    run.form = 0;
    TestRecord noun = Word("RUN", {{5, 11, "a score in baseball"}, {2, 12, "a race"}}, 3);
    noun.form = 7; // unknown codes are carried as numbers
    run.subRecords = {noun, Word("RUN", {{0, 0, "move fast"}}, 1)};
    TestRecord ran = Word("RAN", {}, 1);
    ran.form = kFormPast;
    ran.baseIndex = 1;
    ran.lengthOverride = 9; // the stored length is kept, not recomputed

    ASSERT_TRUE(LoadBytes(DictionaryBytes({ran, run}, 77, -5)));
    EXPECT_TRUE(notifier.Messages().empty());
    EXPECT_EQ(dictionary.Count(), 2);
    EXPECT_EQ(dictionary.Stamp(), 77);
    EXPECT_EQ(dictionary.Spare(), -5);
    EXPECT_EQ(dictionary.Path(), dir.Folder() + "Zanth.dct");

    const WordRecord& past = dictionary.Record(0);
    EXPECT_EQ(past.text, "RAN");
    EXPECT_EQ(past.length, 9);
    EXPECT_EQ(past.form, kFormPast);
    EXPECT_EQ(past.base, &dictionary.Record(1));

    const WordRecord& word = dictionary.Record(1);
    ASSERT_EQ(word.subRecords.Count(), 2);
    const WordRecord& first = *word.subRecords.At(0);
    EXPECT_EQ(first.form, 7);
    EXPECT_EQ(first.base, nullptr);
    EXPECT_EQ(Ranked(first.definitions),
              (std::vector<std::pair<int32_t, std::string>>{{2, "a race"}, {5, "a score in baseball"}}));
    EXPECT_EQ(first.definitions.At(0)->aux, 12);
}

TEST_F(DictionaryTest, MissingFileIsReportedWithPathAndErrno)
{
    EXPECT_FALSE(dictionary.Load(dir.Folder()));
    const std::string path = dir.Folder() + "Zanth.dct";
    ASSERT_EQ(notifier.Messages().size(), 1u);
    EXPECT_EQ(notifier.Messages()[0].first, "Cannot open project file (" + path + "), error code (2)");
    EXPECT_EQ(notifier.Messages()[0].second, "Opening Dictionary");
    EXPECT_EQ(dictionary.Count(), 0);
    EXPECT_EQ(dictionary.Stamp(), 0);
}

// A failed load must not cost the player the dictionary that was already there,
// so every rejected file is loaded over a good one.
TEST_F(DictionaryTest, WrongVersionOrMagicLoadsNothingSilently)
{
    ASSERT_TRUE(LoadRecords(PlainWords({"CAT", "DOG"}), 99));
    const std::vector<TestRecord> other = PlainWords({"EMU"});
    for (int32_t version : {53, 55, 0, -54})
        EXPECT_FALSE(LoadBytes(DictionaryBytes(other, 1, 0, version))) << version;
    for (const char* magic : {"ZANTX", "ZANT", "ZANTHS", "zanth", ""})
        EXPECT_FALSE(LoadBytes(DictionaryBytes(other, 1, 0, 54, magic))) << magic;

    EXPECT_TRUE(notifier.Messages().empty());
    EXPECT_EQ(dictionary.Count(), 2);
    EXPECT_EQ(dictionary.Stamp(), 99);
    EXPECT_EQ(dictionary.Find("dog"), 1);
}

TEST_F(DictionaryTest, FileCutAtAnyByteLoadsNothing)
{
    TestRecord deep = Word("GO", {{1, 2, "leave"}}, 1);
    deep.subRecords = {Word("GO", {{0, 0, "a board game"}}), Word("GO", {{3, 0, "proceed"}}, 2)};
    deep.subRecords[0].subRecords = {Word("GO", {{4, 4, "nested"}})};
    std::vector<TestRecord> records = {Word("ALPHA", {{0, 0, "first"}}), deep, Word("ZULU", {})};
    records[2].baseIndex = 0;
    const std::string bytes = DictionaryBytes(records, 5);

    ASSERT_TRUE(LoadRecords(PlainWords({"KEEP"}), 42));
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        ASSERT_FALSE(LoadBytes(bytes.substr(0, cut))) << "cut at " << cut;
        ASSERT_EQ(dictionary.Count(), 1) << "cut at " << cut;
    }
    EXPECT_EQ(dictionary.Record(0).text, "KEEP");
    EXPECT_EQ(dictionary.Stamp(), 42);
    EXPECT_TRUE(notifier.Messages().empty());

    // The uncut file is the control: the cuts failed for being cut.
    ASSERT_TRUE(LoadBytes(bytes));
    EXPECT_EQ(dictionary.Count(), 3);
}

// Each damaged count below is one the file cannot back with bytes; reading must
// stop before allocating for it or reading past the end.
TEST_F(DictionaryTest, CountsTheFileCannotHoldLoadNothing)
{
    auto header = [](int32_t count) {
        ByteImage image;
        image.Int32(54);
        image.Text("ZANTH");
        image.Int32(0);
        image.Int32(1);
        image.Int32(count);
        return image;
    };
    auto recordStart = [](ByteImage& image, int32_t subCount) {
        image.Int32(3);
        image.Text("CAT");
        image.Int32(3);
        image.Int32(0);
        image.Int32(-1);
        image.Int32(subCount);
    };

    std::vector<std::pair<std::string, std::string>> damaged;
    {
        ByteImage image = header(1000); // one record present, 1000 claimed
        image.Record(Word("CAT", {{0, 0, "pet"}}));
        damaged.emplace_back("record count", image.Bytes());
    }
    damaged.emplace_back("negative record count", header(-1).Bytes());
    for (int32_t subCount : {0x7fffffff, -1, 2}) {
        ByteImage image = header(1);
        recordStart(image, subCount);
        image.Record(Word("CAT", {}));
        image.Int32(0);
        damaged.emplace_back("sub-record count " + std::to_string(subCount), image.Bytes());
    }
    for (int32_t definitionCount : {0x7fffffff, -3, 2}) {
        ByteImage image = header(1);
        recordStart(image, 0);
        image.Int32(definitionCount);
        image.Int32(0);
        image.Int32(0);
        image.Text("pet");
        damaged.emplace_back("definition count " + std::to_string(definitionCount), image.Bytes());
    }
    for (int32_t textCount : {0x7fffffff, 100, -2}) {
        ByteImage image = header(1);
        image.Int32(3);
        image.Int32(textCount);
        image.Text("CAT");
        damaged.emplace_back("text count " + std::to_string(textCount), image.Bytes());
    }

    for (const auto& [what, bytes] : damaged) {
        EXPECT_FALSE(LoadBytes(bytes)) << what;
        EXPECT_EQ(dictionary.Count(), 0) << what;
    }
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(DictionaryTest, RecordCountAboveCapacityLoadsNothing)
{
    // Enough real records behind each count that only the capacity can refuse them.
    auto file = [](int32_t count) {
        ByteImage image;
        image.Int32(54);
        image.Text("ZANTH");
        image.Int32(0);
        image.Int32(1);
        image.Int32(count);
        for (int32_t i = 0; i < count; ++i) {
            image.Int32(0);
            image.AbsentText();
            for (int field = 0; field < 5; ++field) // kind, form, base, no subs, no defs
                image.Int32(field == 2 ? -1 : 0);
        }
        return image.Bytes();
    };
    EXPECT_FALSE(LoadBytes(file(Dictionary::kCapacity + 1)));
    EXPECT_EQ(dictionary.Count(), 0);
    EXPECT_TRUE(LoadBytes(file(Dictionary::kCapacity)));
    EXPECT_EQ(dictionary.Count(), Dictionary::kCapacity);
}

TEST_F(DictionaryTest, NestingDeeperThanTheLimitLoadsNothing)
{
    auto nested = [](int levels) {
        TestRecord top = Word("NEST", {{0, 0, "innermost"}});
        for (int i = 0; i < levels; ++i) {
            TestRecord outer = Word("NEST");
            outer.subRecords.push_back(std::move(top));
            top = std::move(outer);
        }
        return DictionaryBytes({top});
    };
    ASSERT_TRUE(LoadBytes(nested(Dictionary::kMaxNesting)));
    EXPECT_EQ(Collected("nest"), (std::vector<std::pair<int32_t, std::string>>{{0, "innermost"}}));
    EXPECT_FALSE(LoadBytes(nested(Dictionary::kMaxNesting + 1)));

    // A damaged file nesting far deeper than any stack would take: it must fail, not crash.
    ByteImage image;
    image.Int32(54);
    image.Text("ZANTH");
    image.Int32(0);
    image.Int32(1);
    image.Int32(1);
    for (int i = 0; i < 200000; ++i) {
        image.Int32(0);
        image.AbsentText();
        image.Int32(3);
        image.Int32(0);
        image.Int32(-1);
        image.Int32(1);
    }
    EXPECT_FALSE(LoadBytes(image.Bytes()));
    EXPECT_EQ(dictionary.Count(), 1);
}

TEST_F(DictionaryTest, BaseIndexOutsideTheTableNamesNoWord)
{
    std::vector<TestRecord> records = PlainWords({"ANT", "BEE", "COW", "DOE"});
    records[0].baseIndex = 4; // == count
    records[1].baseIndex = -7;
    records[2].baseIndex = 180000;
    records[3].definitions.clear();
    records[3].baseIndex = 1000;
    ASSERT_TRUE(LoadRecords(records));
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(dictionary.Record(i).baseIndex, -1) << i;
        EXPECT_EQ(dictionary.Record(i).base, nullptr) << i;
    }
    // Its own definitions are what a word without a base contributes.
    EXPECT_EQ(Collected("ant"), (std::vector<std::pair<int32_t, std::string>>{{0, "definition of ANT"}}));
    EXPECT_TRUE(Collected("doe").empty());
}

TEST_F(DictionaryTest, CircularBasesCollectNothingInsteadOfHanging)
{
    std::vector<TestRecord> records = PlainWords({"ONE", "SELF", "TWO"});
    records[0].baseIndex = 2;
    records[2].baseIndex = 0;
    records[1].baseIndex = 1;
    ASSERT_TRUE(LoadRecords(records));
    EXPECT_TRUE(Collected("one").empty());
    EXPECT_TRUE(Collected("self").empty());
}

class DictionaryFindTest : public DictionaryTest {};

TEST_F(DictionaryFindTest, FindIsCaseInsensitiveForAsciiLettersOnly)
{
    ASSERT_TRUE(LoadRecords(PlainWords({"BAT", "CAF\xC9", "CAT", "DOG"})));
    for (const char* text : {"cat", "Cat", "CAT", "cAt"})
        EXPECT_EQ(dictionary.Find(text), 2) << text;
    EXPECT_EQ(dictionary.Find("CAF\xC9"), 1);
    EXPECT_EQ(dictionary.Find("caf\xC9"), 1);
    // Bytes from 0x80 up are not letters: the lower-case e-acute stays as it is.
    EXPECT_EQ(dictionary.Find("caf\xE9"), -1);
    int32_t index = 7;
    EXPECT_FALSE(dictionary.Find("cow", index));
    EXPECT_EQ(index, -1);
}

TEST_F(DictionaryFindTest, FirstAndLastWordsAreFoundAndWordsBeyondThemAreNot)
{
    ASSERT_TRUE(LoadRecords(PlainWords({"BEE", "CAT", "DOG", "EMU", "FOX"})));
    EXPECT_EQ(dictionary.Find("bee"), 0);
    EXPECT_EQ(dictionary.Find("fox"), 4);
    EXPECT_EQ(dictionary.Find("ant"), -1);
    EXPECT_EQ(dictionary.Find("be"), -1);
    EXPECT_EQ(dictionary.Find("zebra"), -1);
    EXPECT_EQ(dictionary.Find("foxes"), -1);
    EXPECT_EQ(dictionary.Find(""), -1);
}

// The bisection's boundaries move with the table size; every size up to a few
// dozen covers the odd and even splits and the two-element stop.
TEST_F(DictionaryFindTest, EveryWordIsFoundInTablesOfEverySize)
{
    Dictionary empty;
    EXPECT_EQ(empty.Find("A"), -1);
    for (int size = 1; size <= 40; ++size) {
        std::vector<std::string> words;
        for (int i = 0; i < size; ++i)
            words.push_back(std::string(1, static_cast<char>('A' + i / 26)) +
                            static_cast<char>('A' + i % 26) + "B");
        ASSERT_TRUE(LoadRecords(PlainWords(words)));
        for (int i = 0; i < size; ++i) {
            ASSERT_EQ(dictionary.Find(words[size_t(i)]), i) << size;
            // Between this word and the next one ("xyB" < "xyC" < next).
            std::string between = words[size_t(i)];
            between.back() = 'C';
            ASSERT_EQ(dictionary.Find(between), -1) << size << " " << between;
        }
    }
}

TEST_F(DictionaryFindTest, SetTextUpperCasesAndSetsLength)
{
    WordRecord record;
    record.SetText("hello-w\xE9rld");
    EXPECT_EQ(record.text, "HELLO-W\xE9RLD");
    EXPECT_EQ(record.length, 11);
}

class CollectDefinitionsTest : public DictionaryTest {};

TEST_F(CollectDefinitionsTest, InflectedFormBorrowsItsBaseWordsDefinitions)
{
    std::vector<TestRecord> records;
    for (const char* word : {"A0", "A1", "A2", "A3", "A4", "A5", "A6"})
        records.push_back(Word(word, {{0, 0, std::string("own ") + word}}));
    TestRecord base = Word("A7", {{1, 0, "seven"}});
    TestRecord split = Word("A8");
    split.subRecords = {Word("A8", {{2, 0, "noun eight"}}), Word("A8", {{2, 0, "verb eight"}}, 1)};
    records.push_back(base);
    records.push_back(split);
    TestRecord plural = Word("B7");
    plural.baseIndex = 7;
    plural.form = kFormPlural;
    TestRecord doing = Word("B8");
    doing.baseIndex = 8;
    TestRecord chained = Word("C7", {{0, 0, "hidden by the base"}});
    chained.baseIndex = 9; // -> B7 -> A7; own definitions give way to the base's
    records.push_back(plural);
    records.push_back(doing);
    records.push_back(chained);
    records.push_back(Word("D0"));
    ASSERT_TRUE(LoadRecords(records));

    using Ranks = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(Collected("b7"), (Ranks{{1, "seven"}}));
    EXPECT_EQ(Collected("c7"), (Ranks{{1, "seven"}}));
    EXPECT_EQ(Collected("b8"), (Ranks{{2, "noun eight"}, {12, "verb eight"}}));
    EXPECT_TRUE(Collected("d0").empty());
}

TEST_F(CollectDefinitionsTest, OnlyKindThreeKeepsItsRanks)
{
    ASSERT_TRUE(LoadRecords({Word("KEEP", {{5, 9, "five"}, {0, 8, "zero"}}, 3),
                             Word("MOVE", {{5, 9, "five"}, {0, 8, "zero"}}, 1)}));
    using Ranks = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(Collected("keep"), (Ranks{{0, "zero"}, {5, "five"}}));
    EXPECT_EQ(Collected("move"), (Ranks{{10, "zero"}, {15, "five"}}));

    DefinitionList target = MakeDefinitionList();
    dictionary.Record(0).CollectDefinitions(target);
    EXPECT_EQ(target.At(0)->aux, 8); // copies carry aux
    EXPECT_NE(target.At(0), dictionary.Record(0).definitions.At(0));
}

// Among equal ranks a newcomer lands before the equal element the keyed search
// meets; the order the player sees the definitions in follows from it.
TEST_F(CollectDefinitionsTest, EqualRanksFollowTheKeyedSearch)
{
    ASSERT_TRUE(LoadRecords({Word("SAME", {{0, 0, "A"}, {0, 0, "B"}, {0, 0, "C"}}),
                             Word("TWIN", {{4, 0, "kind three"}}, 3)}));
    using Ranks = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(Ranked(dictionary.Record(0).definitions), (Ranks{{0, "B"}, {0, "C"}, {0, "A"}}));

    // Collecting into a list that already holds an equal rank places the copy first.
    DefinitionList target = MakeDefinitionList();
    auto existing = std::make_unique<Definition>();
    existing->rank = 4;
    existing->text = "already there";
    target.Add(std::move(existing));
    dictionary.Record(1).CollectDefinitions(target);
    EXPECT_EQ(Ranked(target), (Ranks{{4, "kind three"}, {4, "already there"}}));
}

} // namespace
} // namespace pelorin
