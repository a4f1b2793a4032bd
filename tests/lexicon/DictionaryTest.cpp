#include "lexicon/Dictionary.h"

#include "support/AllocationCount.h"
#include "support/DictionaryFile.h"
#include "support/RecordingNotifier.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace pelorin {
namespace {

using test::ByteImage;
using test::DictionaryBytes;
using test::PlainWords;
using test::TestRecord;
using Ranks = std::vector<std::pair<int32_t, std::string>>;

// A file header claiming `count` records, for files damaged by hand.
ByteImage Header(int32_t count)
{
    return ByteImage().Int32(54).Text("ZANTH").Int32s({0, 1, count});
}

// RAN and RUNS borrow (RUNS through RAN) from RUN, whose noun keeps its ranks and
// whose verb's are raised; SAME holds three equal ranks; TIDE is kind 1, no subs.
std::vector<TestRecord> Sample()
{
    // RAN's stored length is kept, not recomputed; form code 7 is unknown and carried as a number.
    return {{.text = "RAN", .kind = 1, .form = kFormPast, .baseIndex = 1,
             .definitions = {{0, 0, "hidden by the base"}}, .lengthOverride = 9},
            {.text = "RUN", .kind = 1,
             .subRecords = {{.text = "RUN", .form = 7,
                             .definitions = {{5, 11, "a score in baseball"}, {2, 12, "a race"}}},
                            {.text = "RUN", .kind = 1, .definitions = {{0, 0, "move fast"}}}}},
            {.text = "RUNS", .baseIndex = 0},
            {.text = "SAME", .definitions = {{0, 0, "A"}, {0, 0, "B"}, {0, 0, "C"}}},
            {.text = "TIDE", .kind = 1, .definitions = {{5, 9, "five"}, {0, 8, "zero"}}}};
}

class DictionaryTest : public ::testing::Test {
protected:
    bool LoadBytes(const std::string& bytes)
    {
        test::WriteFileBytes(dir.File("Zanth.dct"), bytes);
        return dictionary.Load(dir.Folder());
    }
    Ranks Collected(const std::string& word)
    {
        DefinitionList target = MakeDefinitionList();
        const int32_t index = dictionary.Find(word);
        EXPECT_GE(index, 0) << word;
        if (index >= 0)
            dictionary.Record(index).CollectDefinitions(target);
        Ranks ranks;
        for (const Definition* definition : target)
            ranks.emplace_back(definition->rank, std::string(TextOf(definition->text)));
        return ranks;
    }
    test::TempDir dir;
    test::RecordingNotifier notifier;
    Dictionary dictionary;
};

TEST_F(DictionaryTest, HandMadeFileLoadsAndAnswersFindAndCollect)
{
    ASSERT_TRUE(LoadBytes(DictionaryBytes(Sample(), 77, -5)));
    EXPECT_EQ(std::tuple(dictionary.Count(), dictionary.Stamp(), dictionary.Spare()), std::tuple(5, 77, -5));
    const DictionaryWord& ran = dictionary.Record(dictionary.Find("ran"));
    EXPECT_EQ(std::tuple(ran.length, ran.form, ran.base), std::tuple(9, kFormPast, &dictionary.Record(1)));
    // Kind 3 keeps its ranks, other kinds gain 10; a form's own definitions give
    // way to its base's, also along a chain.
    const Ranks run = {{2, "a race"}, {5, "a score in baseball"}, {10, "move fast"}};
    for (const char* word : {"run", "ran", "runs"})
        EXPECT_EQ(Collected(word), run) << word;
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
            const std::string between = words[size_t(i)].substr(0, 2) + 'C'; // after this word, before the next
            ASSERT_EQ(dictionary.Find(between), -1) << size << " " << between;
        }
        for (const char* outside : {"", "A", "BAA", "Z"})
            ASSERT_EQ(dictionary.Find(outside), -1) << size << " " << outside;
    }
}

// A missing file is reported with its path and error number. A rejected file must
// not cost the player the dictionary already loaded, so every damaged file below is
// loaded over a good one and must leave it whole, silently.
TEST_F(DictionaryTest, DamagedFilesLoadNothingAndKeepTheOldDictionary)
{
    EXPECT_FALSE(dictionary.Load(dir.Folder()));
    EXPECT_EQ(notifier.Messages(), (std::vector<std::pair<std::string, std::string>>{
                                       {"Cannot open project file (" + dir.File("Zanth.dct") + "), error code (2)",
                                        "Opening Dictionary"}}));
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
    damaged.emplace_back("words out of order", DictionaryBytes({{.text = "BEE"}, {.text = "ANT"}}));
    damaged.emplace_back("a word twice", DictionaryBytes({{.text = "ANT"}, {.text = "ANT"}}));
    damaged.emplace_back("a byte below 0x80 after one above", DictionaryBytes({{.text = "CAF\xC9"}, {.text = "CAFE"}}));
    // Counts the bytes cannot back: reading must stop before allocating or overrunning.
    damaged.emplace_back("record count 1000", Header(1000).Record({.text = "CAT"}).Bytes());
    damaged.emplace_back("record count -1", Header(-1).Bytes());
    const ByteImage cat = Header(1).Int32(3).Text("CAT");
    for (int32_t count : {0x7fffffff, -1, 2}) { // counts of sub-records, definitions and a text
        const std::string what = " count " + std::to_string(count);
        damaged.emplace_back("sub-record" + what,
                             ByteImage(cat).Int32s({3, 0, -1, count}).Record({.text = "CAT"}).Int32(0).Bytes());
        damaged.emplace_back("definition" + what,
                             ByteImage(cat).Int32s({3, 0, -1, 0, count, 0, 0}).Text("pet").Bytes());
        damaged.emplace_back("text" + what, Header(1).Int32s({3, count == 2 ? 100 : count}).Text("CAT").Bytes());
    }
    ASSERT_TRUE(LoadBytes(DictionaryBytes(PlainWords({"KEEP"}), 42)));
    for (const auto& [what, bytes] : damaged) {
        ASSERT_FALSE(LoadBytes(bytes)) << what;
        ASSERT_EQ(dictionary.Count(), 1) << what;
    }
    EXPECT_EQ(dictionary.Record(0).text, "KEEP");
    EXPECT_EQ(dictionary.Stamp(), 42);
    EXPECT_EQ(notifier.Messages().size(), 1u);
}

// Both limits are inclusive. Each over-limit file is otherwise sound, so only the
// limit can refuse it.
TEST_F(DictionaryTest, CapacityAndNestingLimitsHold)
{
    auto flat = [](int32_t count) {
        ByteImage image = Header(count);
        for (int32_t i = 0; i < count; ++i)
            image.Int32(4).Text(test::CountedWord(i)).Int32s({3, 0, -1, 0, 0}); // kind, form, base, subs, defs
        return image.Bytes();
    };
    EXPECT_FALSE(LoadBytes(flat(Dictionary::kCapacity + 1)));
    EXPECT_TRUE(LoadBytes(flat(Dictionary::kCapacity)));
    auto nested = [](int levels) {
        TestRecord top{.text = "NEST", .definitions = {{0, 0, "innermost"}}};
        for (int i = 0; i < levels; ++i)
            top = {.text = "NEST", .subRecords = {std::move(top)}};
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
    TestRecord word{.text = "WORD"};
    for (int32_t i = 0; i < kCount; ++i)
        word.definitions.push_back({kCount - i, 0, "d"});
    const std::string bytes = DictionaryBytes({word});
    const uint64_t before = test::AllocatedBytes();
    ASSERT_TRUE(LoadBytes(bytes));
    EXPECT_LT(test::AllocatedBytes() - before, bytes.size() + 64 * 1024);
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
    for (int32_t i = 0; i < 4; ++i)
        EXPECT_EQ(std::tuple(dictionary.Record(i).baseIndex, dictionary.Record(i).base), std::tuple(-1, nullptr)) << i;
    EXPECT_EQ(Collected("ant"), (Ranks{{0, "definition of ANT"}}));
    for (const char* word : {"doe", "one", "self"})
        EXPECT_TRUE(Collected(word).empty()) << word;
}

} // namespace
} // namespace pelorin
