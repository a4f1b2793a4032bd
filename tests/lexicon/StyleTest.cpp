#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"
#include "lexicon/StyleList.h"

#include "support/AllocationCount.h"
#include "support/DictionaryFile.h"
#include "support/RecordingNotifier.h"
#include "support/StyleFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <tuple>

namespace pelorin {
namespace {

using test::SentenceOf;
using test::TestStyle;

class StyleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(dir.File("Styles"));
        LoadDictionary({"ANT", "BEE", "CAT", "COT", "CUT", "DOG", "ZZZ", "THE", "SAT", "ON", "MAT", "COME", "BACK",
                        "SOON", "LIGHT", "DARK"});
    }
    void LoadDictionary(std::vector<std::string> words)
    {
        test::WriteDictionary(dir.Folder(), test::PlainWords(std::move(words)), kStamp);
        ASSERT_TRUE(dictionary.Load(dir.Folder()));
    }
    std::vector<int32_t> Indexes(std::initializer_list<const char*> words) const
    {
        std::vector<int32_t> indexes;
        for (const char* word : words)
            indexes.push_back(dictionary.Find(word));
        return indexes;
    }
    std::vector<std::string> Texts(const WordList& list) const
    {
        std::vector<std::string> texts;
        for (int32_t wordIndex : list.Words())
            texts.emplace_back(dictionary.Record(wordIndex).text);
        return texts;
    }
    /// Checks that the list, buffer and count forms of the pattern query all give
    /// the expected word indexes.
    void ExpectMatches(const Style& style, const std::string& pattern, const std::vector<int32_t>& expected) const
    {
        SCOPED_TRACE("pattern '" + pattern + "'");
        EXPECT_EQ(style.MatchPattern(pattern).Words(), expected);
        std::vector<int32_t> buffer = {-7}; // emptied first
        style.MatchPatternInto(pattern, buffer);
        EXPECT_EQ(buffer, expected);
        EXPECT_EQ(style.CountPattern(pattern), static_cast<int32_t>(expected.size()));
        for (size_t n = 0; n <= expected.size(); ++n)
            EXPECT_EQ(style.NthMatch(pattern, static_cast<int32_t>(n)), n < expected.size() ? expected[n] : -1);
    }
    std::string StylesFolder() const { return dir.File("Styles"); }
    std::string StylePath(const std::string& name) const { return dir.File("Styles/" + name); }
    /// Loads a style file of the styles folder; false when it does not load.
    bool Load(Style& style, const std::string& name) const { return style.LoadFile(StylesFolder(), name); }
    static constexpr int32_t kStamp = 1234;
    test::TempDir dir;
    test::RecordingNotifier notifier;
    Dictionary dictionary;
};

using Words = std::vector<std::string>;

// Every pattern over a small alphabet against a brute-force answer: the two
// bisections and the scan from one before the low probe must never lose a word.
// An empty style and a pattern longer than any entry match nothing.
TEST_F(StyleTest, MatchPatternAgreesWithBruteForceForEveryPattern)
{
    LoadDictionary(test::AbcWords(1, 4));
    std::mt19937 random(7);
    TestStyle file;
    for (int32_t i = 0; i < dictionary.Count(); ++i)
        if (random() % 3 != 0)
            file.words.push_back(i);
    ASSERT_TRUE(file.WriteTo(StylePath("abc.zas")));
    Style style(dictionary);
    ASSERT_TRUE(Load(style, "abc.zas"));
    const Style empty(dictionary);
    // Letters A to C, D (in no word) and open cells, written here as E.
    std::vector<std::string> patterns = test::AbcWords(1, 4, 'E');
    for (std::string& pattern : patterns)
        std::replace(pattern.begin(), pattern.end(), 'E', ' ');
    patterns.insert(patterns.end(), {"", "AAAAAAAAA", "         "});
    for (const std::string& pattern : patterns) {
        std::vector<int32_t> expected;
        for (int32_t wordIndex : file.words) {
            const std::string_view text = dictionary.Record(wordIndex).text;
            bool fits = text.size() == pattern.size();
            for (size_t p = 0; fits && p < pattern.size(); ++p)
                fits = pattern[p] == ' ' || pattern[p] == text[p];
            if (fits)
                expected.push_back(wordIndex);
        }
        ExpectMatches(style, pattern, expected);
        ExpectMatches(empty, pattern, {});
        EXPECT_TRUE(pattern.find(' ') != std::string::npos || style.ContainsWord(pattern) == !expected.empty())
            << pattern;
    }
}

// Only words of three letters or more count, cut down to their letters.
TEST_F(StyleTest, LetterMaskCountsWordsOfThreeLettersOrMore)
{
    const Quotation sentence(SentenceOf("The cat sat on a mat.").key, 21, std::string("The cat sat on a mat."));
    auto bit = [](char c) { return 1 << (c - 'A'); };
    EXPECT_EQ(sentence.LetterMask(), bit('T') | bit('C') | bit('S') | bit('M'));
}

// A style file built byte by byte from the file layout, not by the program's writer,
// loads, answers, and saves back to the same bytes.
TEST_F(StyleTest, HandMadeFileLoadsAnswersAndSavesBackByteExact)
{
    const TestStyle file{.description = "Scripture",
                         .words = Indexes({"BACK", "CAT", "COME", "LIGHT", "SOON"}),
                         .books = {{SentenceOf("Let there be light."), SentenceOf("Come back soon, cat.")},
                                   {},
                                   {SentenceOf("In the light of day."), {5, 7, std::nullopt}}}};
    ASSERT_TRUE(file.WriteTo(StylePath("Scripture.zas")));
    Style style(dictionary);
    ASSERT_TRUE(Load(style, "Scripture.zas"));
    EXPECT_TRUE(style.ContainsWord("light"));
    ItemList<Quotation> matches(100, ListOrder::Sorted, false, 100);
    for (const Book* book : style.Books())
        book->CollectQuotations("LIGHT", matches);
    ASSERT_EQ(matches.Count(), 2);
    EXPECT_EQ(TextOf(matches.At(0)->text), "In the light of day."); // nearer to 80 characters
    const std::string copy = dir.File("copy.zas");
    ASSERT_TRUE(style.SaveFile(copy));
    EXPECT_EQ(test::FileBytes(copy), file.Bytes());
    EXPECT_EQ(std::pair(style.FullPath(), style.FileName()), std::pair(copy, std::string("copy.zas")));
}

// The stored capacity grows as soon as an append fills the list; styles already
// saved hold capacities made by that rule, so a save must write the same.
TEST_F(StyleTest, SavedCapacityFollowsTheGrowthRule)
{
    std::vector<std::string> words;
    for (int32_t i = 0; i < 1100; ++i)
        words.push_back(test::CountedWord(i));
    LoadDictionary(words);
    for (int32_t count : {999, 1000, 1001}) {
        Style style(dictionary);
        TestStyle file{.description = std::nullopt, .words = std::vector<int32_t>(size_t(count))};
        std::iota(file.words.begin(), file.words.end(), 0);
        for (int32_t i = 0; i < count; ++i)
            style.MarkWord(i);
        style.BuildWordList();
        ASSERT_TRUE(style.SaveFile(dir.File("capacity.zas")));
        EXPECT_EQ(test::FileBytes(dir.File("capacity.zas")), file.Bytes()) << count;
    }
}

// A damaged file loads nothing, silently, and the style keeps what it held. The
// word list is bisected, so one out of order would lose words unseen; an index
// beyond the dictionary of the style's own edition names no word. A file that does
// not open is reported: for loading with its path and error number, for saving
// (into a missing folder) in short.
TEST_F(StyleTest, DamagedFilesLoadNothingAndKeepTheStyle)
{
    const TestStyle good{.words = Indexes({"CAT", "DOG"}),
                         .books = {{SentenceOf("The cat sat.")}, {SentenceOf("A dog.")}}};
    ASSERT_TRUE(good.WriteTo(StylePath("good.zas")));
    Style style(dictionary);
    ASSERT_TRUE(Load(style, "good.zas"));
    auto changed = [&good](auto change) {
        TestStyle file = good;
        change(file);
        return file.Bytes();
    };
    std::vector<std::pair<std::string, std::string>> damaged = {
        {"another file's magic", changed([](TestStyle& f) { f.magic = "ZANTH"; })}};
    for (const std::vector<int32_t>& words : {std::vector<int32_t>{3, 2}, {2, 2}, {-1, 2}, {2, dictionary.Count()}})
        damaged.emplace_back("words " + std::to_string(words[0]) + ", " + std::to_string(words[1]),
                             changed([&words](TestStyle& f) { f.words = words; }));
    const std::string bytes =
        TestStyle{.description = "Other", .words = Indexes({"ANT", "BEE", "ZZZ"}), .books = good.books}.Bytes();
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        damaged.emplace_back("cut at " + std::to_string(cut), bytes.substr(0, cut));
    damaged.emplace_back("a byte after the last book", bytes + '\0');
    // Counts the rest of the file cannot hold, at each count of the layout.
    const size_t wordCountAt = 4 + 4 + 8 + 4 + 4 + 5 + 4 + 4; // version .. capacity
    const size_t bookCountAt = wordCountAt + 4 + 3 * 4;
    const std::pair<size_t, char> counts[] = {
        {wordCountAt + 3, 0x7f}, {bookCountAt + 3, 0x40}, {bookCountAt + 4 + 3, 0x40}, {bookCountAt + 16 + 3, '\x80'}};
    for (const auto& [at, value] : counts) {
        std::string count = bytes;
        count[at] = value;
        damaged.emplace_back("count byte " + std::to_string(at), count);
    }
    for (const auto& [what, content] : damaged) {
        test::WriteFileBytes(StylePath("damaged.zas"), content);
        ASSERT_FALSE(Load(style, "damaged.zas")) << what;
    }
    EXPECT_TRUE(notifier.Messages().empty());
    EXPECT_FALSE(Load(style, "missing.zas"));
    EXPECT_FALSE(style.SaveFile(dir.File("nowhere/new.zas")));
    EXPECT_EQ(notifier.Messages(), (std::vector<std::pair<std::string, std::string>>{
                                       {"Cannot open project file (" + StylePath("missing.zas") + "), error code (2)",
                                        "Project Open"},
                                       {"Cannot Open Project File", "Error"}}));
    EXPECT_EQ(Texts(style.Words()), (Words{"CAT", "DOG"}));
    EXPECT_EQ(std::tuple(style.Books().Count(), TextOf(style.Description()), style.FileName()),
              std::tuple(2, "Test", "good.zas"));
}

// Styles load at start-up, so a file made to be slow must not freeze it: a style
// of many empty books (four bytes each) costs memory in proportion to the file.
TEST_F(StyleTest, ManyEmptyBooksLoadInWorkLinearInTheFile)
{
    const TestStyle file{.books = std::vector<std::vector<test::TestSentence>>(40000)};
    ASSERT_TRUE(file.WriteTo(StylePath("books.zas")));
    Style style(dictionary);
    const uint64_t before = test::AllocatedBytes();
    ASSERT_TRUE(Load(style, "books.zas"));
    EXPECT_LT(test::AllocatedBytes() - before, 32 * file.Bytes().size());
}

// A new edition of the dictionary renumbers its words: the style is rebuilt from
// its stored sentences and saved, so the next start finds it current. Until then
// an index beyond this dictionary is a word it lacks, and is dropped.
TEST_F(StyleTest, StaleStyleIsRebuiltFromItsSentencesAndSaved)
{
    const TestStyle file{.stamp = 999,
                         .words = {-1, dictionary.Find("ANT"), dictionary.Find("ZZZ"), dictionary.Count(), 250000},
                         .books = {{SentenceOf("The cat sat on a mat.")}, {SentenceOf("Come back soon.")}}};
    ASSERT_TRUE(file.WriteTo(StylePath("stale.zas")));
    // Not against a dictionary that did not load: that would empty the style's file.
    const Dictionary none;
    Style unrebuilt(none);
    ASSERT_TRUE(Load(unrebuilt, "stale.zas"));
    EXPECT_FALSE(unrebuilt.UpdateIfStale());
    EXPECT_EQ(test::FileBytes(StylePath("stale.zas")), file.Bytes());
    Style style(dictionary);
    ASSERT_TRUE(Load(style, "stale.zas"));
    EXPECT_EQ(Texts(style.Words()), (Words{"ANT", "ZZZ"}));
    EXPECT_TRUE(style.UpdateIfStale());
    EXPECT_EQ(Texts(style.Words()), (Words{"BACK", "CAT", "COME", "MAT", "ON", "SAT", "SOON", "THE"}));
    EXPECT_EQ(Texts(style.MatchPattern("  T")), (Words{"CAT", "MAT", "SAT"}));
    Style reloaded(dictionary);
    ASSERT_TRUE(Load(reloaded, "stale.zas"));
    EXPECT_FALSE(reloaded.UpdateIfStale());
}

// Only loadable .zas files become styles, in name order. A style's file is found
// by any path; another file of the same name is a clash, as styles' prepared games
// go by that name. Deleting a style removes its file, even one already gone.
TEST_F(StyleTest, LoadAllStylesListsLoadableFilesByName)
{
    ASSERT_TRUE(TestStyle{.description = "B"}.WriteTo(StylePath("b.zas")));
    ASSERT_TRUE(TestStyle{.description = "A"}.WriteTo(StylePath("a.zas")));
    ASSERT_TRUE(TestStyle{.version = 54}.WriteTo(StylePath("c.zas")));
    test::WriteFileBytes(StylePath("notes.txt"), "not a style");
    std::filesystem::create_directory(StylePath("d.zas"));
    ItemList<Style> styles(10, ListOrder::Append, true, 10);
    styles.Add(std::make_unique<Style>(dictionary));
    LoadAllStyles(dictionary, StylesFolder(), styles);
    ASSERT_EQ(styles.Count(), 2);
    EXPECT_EQ(TextOf(styles.At(0)->Description()), "A");
    EXPECT_EQ(TextOf(styles.At(1)->Description()), "B");
    EXPECT_TRUE(notifier.Messages().empty());
    const std::tuple<std::string, int32_t, int32_t> finds[] = { // path, same file, same name
        {StylePath("a.zas"), 0, -1}, {dir.File("Styles/../Styles/b.zas"), 1, -1}, {dir.File("b.zas"), -1, 1},
        {StylePath("a.txt"), -1, 0}, {StylePath("new.zas"), -1, -1}};
    for (const auto& [path, sameFile, sameName] : finds) {
        EXPECT_EQ(FindStyleFile(styles, path), sameFile) << path;
        EXPECT_EQ(FindStyleName(styles, path), sameName) << path;
    }
    std::filesystem::remove(StylePath("b.zas"));
    EXPECT_TRUE(DeleteStyle(styles, 1));
    EXPECT_TRUE(DeleteStyle(styles, 0));
    EXPECT_FALSE(DeleteStyle(styles, 0));
    EXPECT_TRUE(std::filesystem::exists(StylePath("c.zas")));
}

} // namespace
} // namespace pelorin
