#include "lexicon/Dictionary.h"

#include "support/AllocationCount.h"
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
using test::TestRecord;
using Ranks = std::vector<std::pair<int32_t, std::string>>;

TestRecord Word(std::string text, std::vector<test::TestDefinition> definitions = {}, int32_t kind = 3)
{
    TestRecord record;
    record.text = std::move(text);
    record.kind = kind;
    record.definitions = std::move(definitions);
    return record;
}

Ranks Ranked(const DefinitionList& list)
{
    Ranks result;
    for (const Definition* definition : list)
        result.emplace_back(definition->rank, std::string(TextOf(definition->text)));
    return result;
}

// A file header claiming `count` records, for files damaged by hand.
ByteImage Header(int32_t count)
{
    ByteImage image;
    image.Int32(54);
    image.Text("ZANTH");
    image.Int32(0);
    image.Int32(1);
    image.Int32(count);
    return image;
}

// RAN and RUNS borrow (RUNS through RAN) from RUN, whose noun keeps its ranks and
// whose verb's are raised; SAME holds three equal ranks; TIDE is kind 1, no subs.
std::vector<TestRecord> Sample()
{
    TestRecord ran = Word("RAN", {{0, 0, "hidden by the base"}}, 1);
    ran.form = kFormPast;
    ran.baseIndex = 1;
    ran.lengthOverride = 9; // the stored length is kept, not recomputed
    TestRecord run = Word("RUN", {}, 1);
    TestRecord noun = Word("RUN", {{5, 11, "a score in baseball"}, {2, 12, "a race"}});
    noun.form = 7; // unknown codes are carried as numbers
    run.subRecords = {noun, Word("RUN", {{0, 0, "move fast"}}, 1)};
    TestRecord runs = Word("RUNS");
    runs.baseIndex = 0;
    return {ran, run, runs, Word("SAME", {{0, 0, "A"}, {0, 0, "B"}, {0, 0, "C"}}),
            Word("TIDE", {{5, 9, "five"}, {0, 8, "zero"}}, 1)};
}

class DictionaryTest : public ::testing::Test {
protected:
    bool LoadBytes(const std::string& bytes)
    {
        std::ofstream(dir.File("Zanth.dct"), std::ios::binary | std::ios::trunc) << bytes;
        return dictionary.Load(dir.Folder());
    }
    Ranks Collected(const std::string& word)
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

TEST_F(DictionaryTest, HandMadeFileLoadsAndAnswersFindAndCollect)
{
    ASSERT_TRUE(LoadBytes(DictionaryBytes(Sample(), 77, -5)));
    EXPECT_TRUE(notifier.Messages().empty());
    EXPECT_EQ(dictionary.Count(), 5);
    EXPECT_EQ(dictionary.Stamp(), 77);
    EXPECT_EQ(dictionary.Spare(), -5);

    const DictionaryWord& ran = dictionary.Record(dictionary.Find("ran"));
    EXPECT_EQ(ran.length, 9);
    EXPECT_EQ(ran.form, kFormPast);
    EXPECT_EQ(ran.base, &dictionary.Record(1));

    // Kind 3 keeps its ranks, other kinds gain 10; a form's own definitions give
    // way to its base's, also along a chain.
    const Ranks run = {{2, "a race"}, {5, "a score in baseball"}, {10, "move fast"}};
    EXPECT_EQ(Collected("run"), run);
    EXPECT_EQ(Collected("ran"), run);
    EXPECT_EQ(Collected("runs"), run);
    EXPECT_EQ(Collected("tide"), (Ranks{{10, "zero"}, {15, "five"}}));
    DefinitionList copies = MakeDefinitionList();
    dictionary.Record(4).CollectDefinitions(copies);
    EXPECT_EQ(copies.At(0)->aux, 8);

    // Among equal ranks a newcomer lands before the equal element the keyed search
    // meets, once as a word's definitions are ranked (A B C to B C A) and again as
    // they are collected: the order the player sees them in follows from it.
    EXPECT_EQ(Collected("same"), (Ranks{{0, "C"}, {0, "A"}, {0, "B"}}));
}

// Case folds for ASCII letters only; the bisection's boundaries move with the table
// size, so every size up to a few dozen covers odd and even splits, the first and
// last words, and probes before, between and after them.
TEST_F(DictionaryTest, FindIsCaseInsensitiveAndFindsEveryWordOfEveryTableSize)
{
    ASSERT_TRUE(LoadBytes(DictionaryBytes(PlainWords({"BAT", "CAF\xC9", "CAT"}))));
    for (const char* text : {"cat", "Cat", "cAT"})
        EXPECT_EQ(dictionary.Find(text), 2) << text;
    EXPECT_EQ(dictionary.Find("caf\xC9"), 1);
    EXPECT_EQ(dictionary.Find("caf\xE9"), -1); // 0xE9 is not a letter to fold
    int32_t index = 7;
    EXPECT_FALSE(dictionary.Find("cow", index));
    EXPECT_EQ(index, -1);

    EXPECT_EQ(Dictionary().Find("A"), -1);
    for (int size = 1; size <= 40; ++size) {
        std::vector<std::string> words;
        for (int i = 0; i < size; ++i)
            words.push_back(std::string(1, char('B' + i / 26)) + char('A' + i % 26) + "B");
        ASSERT_TRUE(LoadBytes(DictionaryBytes(PlainWords(words))));
        for (int i = 0; i < size; ++i) {
            ASSERT_EQ(dictionary.Find(words[size_t(i)]), i) << size;
            std::string between = words[size_t(i)];
            between.back() = 'C'; // after this word, before the next
            ASSERT_EQ(dictionary.Find(between), -1) << size << " " << between;
        }
        for (const char* outside : {"", "A", "BAA", "Z"})
            ASSERT_EQ(dictionary.Find(outside), -1) << size << " " << outside;
    }
}

TEST_F(DictionaryTest, MissingFileIsReportedWithPathAndErrno)
{
    EXPECT_FALSE(dictionary.Load(dir.Folder()));
    ASSERT_EQ(notifier.Messages().size(), 1u);
    EXPECT_EQ(notifier.Messages()[0].first,
              "Cannot open project file (" + dir.File("Zanth.dct") + "), error code (2)");
    EXPECT_EQ(notifier.Messages()[0].second, "Opening Dictionary");
    EXPECT_EQ(dictionary.Count(), 0);
}

// A rejected file must not cost the player the dictionary already loaded, so every
// damaged file below is loaded over a good one and must leave it whole, silently.
TEST_F(DictionaryTest, DamagedFilesLoadNothingAndKeepTheOldDictionary)
{
    std::vector<std::pair<std::string, std::string>> damaged;
    const std::vector<TestRecord> emu = PlainWords({"EMU"});
    for (int32_t version : {53, 55, 0})
        damaged.emplace_back("version " + std::to_string(version), DictionaryBytes(emu, 1, 0, version));
    for (const char* magic : {"ZANTX", "ZANT", "ZANTHS", "zanth", ""})
        damaged.emplace_back(std::string("magic ") + magic, DictionaryBytes(emu, 1, 0, 54, magic));
    const std::string sample = DictionaryBytes(Sample());
    for (size_t cut = 0; cut < sample.size(); ++cut)
        damaged.emplace_back("cut at " + std::to_string(cut), sample.substr(0, cut));
    damaged.emplace_back("a byte after the last record", sample + '\0');
    // Lookups bisect the table, so words out of order would be there but not found.
    damaged.emplace_back("words out of order", DictionaryBytes({Word("BEE"), Word("ANT")}));
    damaged.emplace_back("a word twice", DictionaryBytes({Word("ANT"), Word("ANT")}));
    damaged.emplace_back("a byte below 0x80 after one above",
                         DictionaryBytes({Word("CAF\xC9"), Word("CAFE")}));

    // Counts the bytes cannot back: reading must stop before allocating or overrunning.
    ByteImage records = Header(1000);
    records.Record(Word("CAT"));
    damaged.emplace_back("record count 1000", records.Bytes());
    damaged.emplace_back("record count -1", Header(-1).Bytes());
    for (int32_t count : {0x7fffffff, -1, 2}) {
        ByteImage subs = Header(1);
        subs.Int32(3);
        subs.Text("CAT");
        for (int32_t field : {3, 0, -1, count}) // kind, form, base, sub-records
            subs.Int32(field);
        subs.Record(Word("CAT"));
        subs.Int32(0);
        damaged.emplace_back("sub-record count " + std::to_string(count), subs.Bytes());

        ByteImage definitions = Header(1);
        definitions.Int32(3);
        definitions.Text("CAT");
        for (int32_t field : {3, 0, -1, 0, count, 0, 0}) // ..., definitions, rank, aux
            definitions.Int32(field);
        definitions.Text("pet");
        damaged.emplace_back("definition count " + std::to_string(count), definitions.Bytes());

        ByteImage text = Header(1);
        text.Int32(3);
        text.Int32(count == 2 ? 100 : count);
        text.Text("CAT");
        damaged.emplace_back("text count " + std::to_string(count), text.Bytes());
    }

    ASSERT_TRUE(LoadBytes(DictionaryBytes(PlainWords({"KEEP"}), 42)));
    for (const auto& [what, bytes] : damaged) {
        ASSERT_FALSE(LoadBytes(bytes)) << what;
        ASSERT_EQ(dictionary.Count(), 1) << what;
    }
    EXPECT_EQ(dictionary.Record(0).text, "KEEP");
    EXPECT_EQ(dictionary.Stamp(), 42);
    EXPECT_TRUE(notifier.Messages().empty());
}

// Both limits are inclusive. Each over-limit file is otherwise sound, so only the
// limit can refuse it; the far too deep one must fail, not overflow the stack.
TEST_F(DictionaryTest, CapacityAndNestingLimitsHold)
{
    auto flat = [](int32_t count) {
        ByteImage image = Header(count);
        for (int32_t i = 0; i < count; ++i) {
            image.Int32(4);
            image.Text({char('A' + i / 17576), char('A' + i / 676 % 26), char('A' + i / 26 % 26), char('A' + i % 26)});
            for (int32_t field : {3, 0, -1, 0, 0}) // kind, form, base, subs, defs
                image.Int32(field);
        }
        return image.Bytes();
    };
    EXPECT_FALSE(LoadBytes(flat(Dictionary::kCapacity + 1)));
    EXPECT_TRUE(LoadBytes(flat(Dictionary::kCapacity)));
    EXPECT_EQ(dictionary.Count(), Dictionary::kCapacity);
    ByteImage deep = Header(1);
    for (int i = 0; i < 200000; ++i)
        for (int32_t field : {0, 0, 3, 0, -1, 1}) // ..., one sub-record
            deep.Int32(field);
    EXPECT_FALSE(LoadBytes(deep.Bytes()));

    auto nested = [](int levels) {
        TestRecord top = Word("NEST", {{0, 0, "innermost"}});
        for (int i = 0; i < levels; ++i) {
            TestRecord outer = Word("NEST");
            outer.subRecords.push_back(std::move(top));
            top = std::move(outer);
        }
        return DictionaryBytes({top});
    };
    EXPECT_FALSE(LoadBytes(nested(Dictionary::kMaxNesting + 1)));
    ASSERT_TRUE(LoadBytes(nested(Dictionary::kMaxNesting)));
    EXPECT_EQ(Collected("nest"), (Ranks{{0, "innermost"}}));
}

// The dictionary is held as the file's own bytes and a slot per word: a word of
// many definitions costs the file's size once, and collecting them, in the rank
// order that is worst for keyed insertion, is linear and lands them in rank order.
TEST_F(DictionaryTest, ManyDefinitionsCostTheFileOnceAndCollectInRankOrder)
{
    constexpr int32_t kCount = 20000;
    TestRecord word = Word("WORD");
    for (int32_t i = 0; i < kCount; ++i)
        word.definitions.push_back({kCount - i, 0, "d"});
    const std::string bytes = DictionaryBytes({word});
    const uint64_t before = test::AllocatedBytes();
    ASSERT_TRUE(LoadBytes(bytes));
    const uint64_t allocated = test::AllocatedBytes() - before;
    EXPECT_LT(allocated, bytes.size() + 64 * 1024);
    DefinitionList definitions = MakeDefinitionList();
    dictionary.Record(0).CollectDefinitions(definitions);
    ASSERT_EQ(definitions.Count(), kCount);
    EXPECT_EQ(definitions.At(0)->rank, 1);
    EXPECT_EQ(definitions.At(kCount - 1)->rank, kCount);
}

// Out-of-range and circular bases come from damaged files: they must neither point
// outside the table nor hang the clue choice.
TEST_F(DictionaryTest, BadBaseIndexesNameNoWordAndCirclesCollectNothing)
{
    std::vector<TestRecord> records = PlainWords({"ANT", "BEE", "COW", "DOE", "ONE", "SELF", "TWO"});
    const int32_t bases[] = {7, -7, 180000, 1000, 6, 5, 4}; // ANT's 7 is the count
    for (size_t i = 0; i < records.size(); ++i)
        records[i].baseIndex = bases[i];
    records[3].definitions.clear();
    ASSERT_TRUE(LoadBytes(DictionaryBytes(records)));
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(dictionary.Record(i).baseIndex, -1) << i;
        EXPECT_EQ(dictionary.Record(i).base, nullptr) << i;
    }
    EXPECT_EQ(Collected("ant"), (Ranks{{0, "definition of ANT"}}));
    EXPECT_TRUE(Collected("doe").empty());
    EXPECT_TRUE(Collected("one").empty());
    EXPECT_TRUE(Collected("self").empty());
}

} // namespace
} // namespace pelorin
