#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"
#include "lexicon/StyleList.h"

#include "support/DictionaryFile.h"
#include "support/RecordingNotifier.h"
#include "support/StyleFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace pelorin {
namespace {

using test::SentenceOf;
using test::TestStyle;

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class StyleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(dir.File("Styles"));
        LoadDictionary({"ANT", "BEE", "CAT", "COT", "CUT", "DOG", "ZZZ", "THE", "SAT", "ON", "MAT", "COME",
                        "BACK", "SOON", "LIGHT", "DARK"},
                       kStamp);
    }

    void LoadDictionary(std::vector<std::string> words, int32_t stamp)
    {
        test::WriteDictionary(dir.Folder(), test::PlainWords(std::move(words)), stamp);
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
            texts.push_back(dictionary.Record(wordIndex).text);
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

    /// A style loaded from a hand-made file holding the given words.
    std::unique_ptr<Style> StyleOf(std::initializer_list<const char*> words)
    {
        TestStyle file;
        file.words = Indexes(words);
        EXPECT_TRUE(file.WriteTo(StylePath("words.zas")));
        auto style = std::make_unique<Style>(dictionary);
        EXPECT_TRUE(style->LoadFile(StylesFolder(), "words.zas"));
        return style;
    }

    static constexpr int32_t kStamp = 1234;
    test::TempDir dir;
    test::RecordingNotifier notifier;
    Dictionary dictionary;
};

using Words = std::vector<std::string>;

// The filler asks for every open-cell pattern of an entry; each answer must be
// exactly the style's words of that length with those letters, in word order.
TEST_F(StyleTest, MatchPatternFindsTheWordsThatFit)
{
    const auto style = StyleOf({"CAT", "COT", "CUT", "DOG"});
    EXPECT_EQ(Texts(style->MatchPattern("C T")), (Words{"CAT", "COT", "CUT"}));
    EXPECT_EQ(Texts(style->MatchPattern("D  ")), (Words{"DOG"}));
    EXPECT_EQ(Texts(style->MatchPattern("   ")), (Words{"CAT", "COT", "CUT", "DOG"}));
    EXPECT_EQ(Texts(style->MatchPattern("CUT")), (Words{"CUT"}));
    EXPECT_TRUE(style->MatchPattern("    ").Words().empty());
    EXPECT_TRUE(style->MatchPattern("A  ").Words().empty());
}

TEST_F(StyleTest, MatchPatternAndContainsWordReachTheEndsOfTheList)
{
    const auto style = StyleOf({"ANT", "BEE", "ZZZ"});
    EXPECT_EQ(Texts(style->MatchPattern("ZZ ")), (Words{"ZZZ"}));
    EXPECT_EQ(Texts(style->MatchPattern("ANT")), (Words{"ANT"}));
    EXPECT_TRUE(style->ContainsWord("ANT"));
    EXPECT_TRUE(style->ContainsWord("bee"));
    EXPECT_TRUE(style->ContainsWord("ZZZ"));
    EXPECT_FALSE(style->ContainsWord("CAT"));
    EXPECT_FALSE(style->ContainsWord("AAA"));
    EXPECT_FALSE(style->ContainsWord("ZZZZ"));
}

TEST_F(StyleTest, EmptyStyleAndOverlongPatternMatchNothing)
{
    const Style empty(dictionary);
    for (const std::string pattern : {"", "   ", "CAT"})
        ExpectMatches(empty, pattern, {});
    EXPECT_FALSE(empty.ContainsWord("CAT"));
    EXPECT_FALSE(empty.ContainsWord(""));
    const auto style = StyleOf({"CAT"});
    ExpectMatches(*style, "CAT      ", {});
    ExpectMatches(*style, "         ", {});
}

// Every pattern over a small alphabet against a brute-force answer: the two
// bisections and the scan from one before the low probe must never lose a word.
TEST_F(StyleTest, MatchPatternAgreesWithBruteForceForEveryPattern)
{
    std::vector<std::string> all{""};
    std::vector<std::string> words;
    for (int length = 1; length <= 4; ++length) {
        std::vector<std::string> longer;
        for (const std::string& prefix : all)
            for (char c : std::string("ABC"))
                longer.push_back(prefix + c);
        all = longer;
        words.insert(words.end(), all.begin(), all.end());
    }
    LoadDictionary(words, kStamp);
    std::mt19937 random(7);
    TestStyle file;
    for (int32_t i = 0; i < dictionary.Count(); ++i)
        if (random() % 3 != 0)
            file.words.push_back(i);
    ASSERT_TRUE(file.WriteTo(StylePath("abc.zas")));
    Style style(dictionary);
    ASSERT_TRUE(style.LoadFile(StylesFolder(), "abc.zas"));

    std::vector<std::string> patterns{""};
    std::vector<std::string> level{""};
    for (int length = 1; length <= 4; ++length) {
        std::vector<std::string> longer;
        for (const std::string& prefix : level)
            for (char c : std::string("ABC D"))
                longer.push_back(prefix + c);
        level = longer;
        patterns.insert(patterns.end(), level.begin(), level.end());
    }
    for (const std::string& pattern : patterns) {
        std::vector<int32_t> expected;
        for (int32_t wordIndex : file.words) {
            const std::string& text = dictionary.Record(wordIndex).text;
            bool fits = text.size() == pattern.size();
            for (size_t p = 0; fits && p < pattern.size(); ++p)
                fits = pattern[p] == ' ' || pattern[p] == text[p];
            if (fits)
                expected.push_back(wordIndex);
        }
        ExpectMatches(style, pattern, expected);
        if (pattern.find(' ') == std::string::npos) {
            ASSERT_EQ(style.ContainsWord(pattern), !expected.empty()) << pattern;
        }
    }
}

// A plain model of the pattern query: each probe
// (open cells as A, then as Z) is placed at the first listed word not below it,
// which is where the bisection lands in a sorted list of distinct words; the scan
// runs from one before the low probe's place through the high probe's place; and
// a word fits by its record's length field, not its text's.
std::vector<int32_t> ProbeScan(const Dictionary& dictionary, const std::vector<int32_t>& words,
                               const std::string& pattern)
{
    if (pattern.size() > 8)
        return {};
    std::string low = pattern;
    std::string high = pattern;
    std::replace(low.begin(), low.end(), ' ', 'A');
    std::replace(high.begin(), high.end(), ' ', 'Z');
    auto place = [&](const std::string& probe) -> int32_t {
        for (size_t i = 0; i < words.size(); ++i)
            if (dictionary.Record(words[i]).text >= probe)
                return static_cast<int32_t>(i);
        return -1;
    };
    const int32_t lowPlace = place(low);
    const int32_t highPlace = place(high);
    const int32_t first = lowPlace < 0 ? 0 : std::max(lowPlace - 1, 0);
    const int32_t last = highPlace < 0 ? static_cast<int32_t>(words.size()) - 1 : highPlace;
    std::vector<int32_t> fits;
    for (int32_t i = first; i <= last; ++i) {
        const WordRecord& record = dictionary.Record(words[static_cast<size_t>(i)]);
        bool fit = record.length == static_cast<int32_t>(pattern.size()) && record.text.size() >= pattern.size();
        for (size_t p = 0; fit && p < pattern.size(); ++p)
            fit = pattern[p] == ' ' || pattern[p] == record.text[p];
        if (fit)
            fits.push_back(words[static_cast<size_t>(i)]);
    }
    return fits;
}

// The filler's grids follow from the exact answers of the scan, word for word and
// in order, so the query must give them also where they are not simply "the words
// that fit": records whose length field disagrees with their text, a mark that
// sorts below the letters (found only by starting one before the low probe), prefixes,
// words longer than any entry, the first and last words possible, letters in
// lower case or zero bytes, and membership of words longer than a pattern.
TEST_F(StyleTest, QueriesFollowTheProbeScanOnOddRecords)
{
    std::vector<test::TestRecord> records = test::PlainWords(
        {"A", "AA", "AAAAAAAA", "ABACUS", "CAT", "CATALOGUE", "CATERPILLAR", "CATS", "CATSUP", "CO-OP", "DOG", "DOGMA",
         "HELLO", "HELP", "KNIGHTLY", "LONGWORD", "MAT", "MATE", "ODD", "SHORT", "ZEBRA", "ZZ", "ZZZZZZZZ", "ZZZZZZZZZ"});
    Style style(dictionary);
    std::vector<int32_t> listed;
    for (test::TestRecord& record : records) {
        if (record.text == "ODD")
            record.lengthOverride = 5; // a short text claiming five letters
        if (record.text == "SHORT")
            record.lengthOverride = 3; // a long text claiming three
    }
    test::WriteDictionary(dir.Folder(), records, kStamp);
    ASSERT_TRUE(dictionary.Load(dir.Folder()));
    for (const test::TestRecord& record : records) {
        if (record.text == "MAT" || record.text == "HELP")
            continue;
        listed.push_back(dictionary.Find(record.text));
        style.MarkWord(listed.back());
    }
    style.BuildWordList();
    ASSERT_EQ(style.Words().Words(), listed);

    std::vector<std::string> patterns = {"", " ", "  ", "     ", "        ", "         ", "ZZZZZZZZZ", "Q  ",
                                         "cat", "CAU", "MAT", "HELP", "ZZZ ", "A       ", "       A",
                                         std::string("CA\0", 3), std::string("\0  ", 3)};
    for (const test::TestRecord& record : records) {
        const std::string& text = record.text;
        if (text.size() > 8)
            continue;
        for (uint32_t open = 0; open < (1u << text.size()); ++open) {
            std::string pattern = text;
            for (size_t p = 0; p < text.size(); ++p)
                if (open & (1u << p))
                    pattern[p] = ' ';
            patterns.push_back(pattern);
        }
    }
    for (const std::string& pattern : patterns)
        ExpectMatches(style, pattern, ProbeScan(dictionary, listed, pattern));
    // The short text claiming three letters fits by its claim; the claim of five
    // by a three-letter text fits nothing.
    EXPECT_EQ(Texts(style.MatchPattern("SH ")), (Words{"SHORT"}));
    EXPECT_TRUE(style.MatchPattern("ODD  ").Words().empty());
    EXPECT_EQ(Texts(style.MatchPattern("CO OP")), (Words{"CO-OP"}));

    std::set<std::string> listedTexts;
    for (int32_t wordIndex : listed)
        listedTexts.insert(dictionary.Record(wordIndex).text);
    for (const test::TestRecord& record : records) {
        const std::string& text = record.text;
        std::string lower = text;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
        for (const std::string& candidate : {text, lower, text + "S", text.substr(1), text.substr(0, text.size() - 1)}) {
            std::string upper = candidate;
            std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
            EXPECT_EQ(style.ContainsWord(candidate), listedTexts.count(upper) == 1) << candidate;
        }
    }
    EXPECT_FALSE(style.ContainsWord("CATERPILLARS"));
    EXPECT_FALSE(style.ContainsWord("ZZZZZZZZZZ"));
    EXPECT_FALSE(style.ContainsWord(std::string("CAT\0", 4)));
    EXPECT_FALSE(style.ContainsWord(std::string("ZZ\0", 3)));
    EXPECT_FALSE(style.ContainsWord(std::string("CATALOGUE\0", 10)));
    EXPECT_FALSE(style.ContainsWord("CA "));
}

// The queries answer from the word list as it is now, after every way it changes:
// a build, a rebuild with more words, and a load over a built list.
TEST_F(StyleTest, QueriesFollowEveryChangeOfTheWordList)
{
    Style style(dictionary);
    style.MarkWord(dictionary.Find("CAT"));
    style.BuildWordList();
    ExpectMatches(style, "C T", Indexes({"CAT"}));
    style.MarkWord(dictionary.Find("CUT"));
    style.MarkWord(dictionary.Find("LIGHT"));
    style.BuildWordList();
    ExpectMatches(style, "C T", Indexes({"CAT", "CUT"}));
    EXPECT_TRUE(style.ContainsWord("LIGHT"));

    TestStyle file;
    file.words = Indexes({"COT", "DOG"});
    ASSERT_TRUE(file.WriteTo(StylePath("other.zas")));
    ASSERT_TRUE(style.LoadFile(StylesFolder(), "other.zas"));
    ExpectMatches(style, "C T", Indexes({"COT"}));
    EXPECT_FALSE(style.ContainsWord("LIGHT"));
    EXPECT_TRUE(style.ContainsWord("DOG"));
}

TEST_F(StyleTest, LetterMaskCountsWordsOfThreeLettersOrMore)
{
    const Quotation sentence(SentenceOf("The cat sat on a mat.").key, 21, std::string("The cat sat on a mat."));
    auto bit = [](char c) { return 1 << (c - 'A'); };
    EXPECT_EQ(sentence.LetterMask(), bit('T') | bit('C') | bit('S') | bit('M'));
    EXPECT_TRUE(sentence.ContainsWord("CAT"));
    EXPECT_TRUE(sentence.ContainsWord("MAT")); // "mat." cut down to its letters
    EXPECT_FALSE(sentence.ContainsWord("ON"));  // no word of 3 letters starts with O
    EXPECT_FALSE(sentence.ContainsWord("CA"));
    EXPECT_FALSE(sentence.ContainsWord(""));

    const Quotation quoted(0, 0, std::string("\"Light,\" she said (softly) to Sam."));
    EXPECT_TRUE(quoted.ContainsWord("LIGHT"));
    EXPECT_TRUE(quoted.ContainsWord("SOFTLY"));
    EXPECT_TRUE(quoted.ContainsWord("SAM"));
    EXPECT_FALSE(quoted.ContainsWord("TO")); // no longer word starts with T
}

// The clue choice takes at most 11 quotations from the first book and then one
// more from each further book; the limit is checked after each addition.
TEST_F(StyleTest, CollectQuotationsStopsOnceTheTargetHoldsMoreThanTen)
{
    TestStyle file;
    std::vector<test::TestSentence> first;
    for (int i = 0; i < 15; ++i)
        first.push_back(SentenceOf("A cat number " + std::string(static_cast<size_t>(i), 'x') + " sat."));
    first.insert(first.begin() + 3, SentenceOf("No feline here."));
    file.books = {first, {SentenceOf("One cat."), SentenceOf("Two cat."), SentenceOf("Three cat.")}};
    ASSERT_TRUE(file.WriteTo(StylePath("cats.zas")));
    Style style(dictionary);
    ASSERT_TRUE(style.LoadFile(StylesFolder(), "cats.zas"));

    ItemList<Quotation> matches(100, ListOrder::Sorted, false, 100);
    for (const Book* book : style.Books())
        book->CollectQuotations("CAT", matches);
    EXPECT_EQ(matches.Count(), 12);
    int32_t fromSecond = 0;
    for (const Quotation* quotation : matches)
        fromSecond += TextOf(quotation->text) == "One cat." ? 1 : 0;
    EXPECT_EQ(fromSecond, 1);
    ItemList<Quotation> none(100, ListOrder::Sorted, false, 100);
    style.Books().At(0)->CollectQuotations("DOG", none);
    EXPECT_EQ(none.Count(), 0);
}

// A style file built byte by byte from the file layout, not by the program's writer,
// loads, answers, and saves back to the same bytes.
TEST_F(StyleTest, HandMadeFileLoadsAnswersAndSavesBackByteExact)
{
    TestStyle file;
    file.description = "Scripture";
    file.words = Indexes({"BACK", "CAT", "COME", "LIGHT", "SOON"});
    file.books = {{SentenceOf("Let there be light."), SentenceOf("Come back soon, cat.")},
                  {},
                  {SentenceOf("In the light of day."), {5, 7, std::nullopt}}};
    ASSERT_TRUE(file.WriteTo(StylePath("Scripture.zas")));

    Style style(dictionary);
    ASSERT_TRUE(style.LoadFile(StylesFolder(), "Scripture.zas"));
    EXPECT_EQ(style.FullPath(), StylePath("Scripture.zas"));
    EXPECT_EQ(style.FileName(), "Scripture.zas");
    EXPECT_EQ(TextOf(style.Description()), "Scripture");
    EXPECT_EQ(style.Stamp(), kStamp);
    EXPECT_EQ(style.Books().Count(), 3);
    EXPECT_EQ(Texts(style.MatchPattern("C   ")), (Words{"COME"}));
    EXPECT_TRUE(style.ContainsWord("light"));
    ItemList<Quotation> matches(100, ListOrder::Sorted, false, 100);
    for (const Book* book : style.Books())
        book->CollectQuotations("LIGHT", matches);
    ASSERT_EQ(matches.Count(), 2);
    EXPECT_EQ(TextOf(matches.At(0)->text), "In the light of day."); // nearer to 80 characters

    const std::string copy = dir.File("copy.zas");
    ASSERT_TRUE(style.SaveFile(copy));
    EXPECT_EQ(ReadBytes(copy), file.Bytes());
    EXPECT_EQ(style.FullPath(), copy);
    EXPECT_EQ(style.FileName(), "copy.zas");
    EXPECT_TRUE(notifier.Messages().empty());
}

// The stored capacity grows as soon as an append fills the list; styles already
// saved hold capacities made by that rule, so a save must write the same.
TEST_F(StyleTest, SavedCapacityFollowsTheGrowthRule)
{
    std::vector<std::string> words;
    for (int i = 0; i < 1100; ++i)
        words.push_back(std::string("W") + char('A' + i / 676) + char('A' + i / 26 % 26) + char('A' + i % 26));
    LoadDictionary(words, kStamp);
    for (int32_t count : {999, 1000, 1001}) {
        Style style(dictionary);
        for (int32_t i = 0; i < count; ++i)
            style.MarkWord(i);
        style.BuildWordList();
        EXPECT_EQ(style.Words().Capacity(), count < 1000 ? 1000 : 2000) << count;
        TestStyle file;
        file.description = std::nullopt;
        for (int32_t i = 0; i < count; ++i)
            file.words.push_back(i);
        ASSERT_TRUE(style.SaveFile(dir.File("capacity.zas")));
        EXPECT_EQ(ReadBytes(dir.File("capacity.zas")), file.Bytes()) << count;
    }
}

TEST_F(StyleTest, WrongVersionOrMagicLoadsNothingSilently)
{
    TestStyle old;
    old.version = 54;
    ASSERT_TRUE(old.WriteTo(StylePath("old.zas")));
    TestStyle other;
    other.magic = "ZANTH";
    ASSERT_TRUE(other.WriteTo(StylePath("other.zas")));
    Style style(dictionary);
    EXPECT_FALSE(style.LoadFile(StylesFolder(), "old.zas"));
    EXPECT_FALSE(style.LoadFile(StylesFolder(), "other.zas"));
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(StyleTest, MissingFileIsReportedWithPathAndErrorNumber)
{
    Style style(dictionary);
    EXPECT_FALSE(style.LoadFile(StylesFolder(), "missing.zas"));
    const auto messages = notifier.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first,
              "Cannot open project file (" + StylePath("missing.zas") + "), error code (2)");
    EXPECT_EQ(messages[0].second, "Project Open");
}

// A style file cut short anywhere loads nothing, and the style keeps what it held.
TEST_F(StyleTest, TruncatedFileLoadsNothingAndKeepsTheStyle)
{
    TestStyle good;
    good.words = Indexes({"CAT", "DOG"});
    good.books = {{SentenceOf("The cat sat.")}, {SentenceOf("A dog.")}};
    ASSERT_TRUE(good.WriteTo(StylePath("good.zas")));
    Style style(dictionary);
    ASSERT_TRUE(style.LoadFile(StylesFolder(), "good.zas"));

    TestStyle other = good;
    other.description = "Other";
    other.words = Indexes({"ANT", "BEE", "ZZZ"});
    const std::string bytes = other.Bytes();
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        WriteBytes(StylePath("cut.zas"), bytes.substr(0, cut));
        ASSERT_FALSE(style.LoadFile(StylesFolder(), "cut.zas")) << cut;
    }
    EXPECT_EQ(Texts(style.Words()), (Words{"CAT", "DOG"}));
    EXPECT_EQ(style.Books().Count(), 2);
    EXPECT_EQ(TextOf(style.Description()), "Test");
    EXPECT_EQ(style.FileName(), "good.zas");
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(StyleTest, CountsTheFileCannotHoldLoadNothing)
{
    Style style(dictionary);
    auto rejects = [&](const std::string& bytes) {
        WriteBytes(StylePath("damaged.zas"), bytes);
        return !style.LoadFile(StylesFolder(), "damaged.zas");
    };
    TestStyle words;
    words.words = {1, 2};
    std::string bytes = words.Bytes();
    const size_t countAt = 4 + 4 + 8 + 4 + 4 + 5 + 4 + 4; // version .. capacity
    bytes[countAt + 3] = 0x7f;                             // word count 0x7f000002
    EXPECT_TRUE(rejects(bytes));

    TestStyle books;
    books.books = {{SentenceOf("A cat.")}};
    bytes = books.Bytes();
    const size_t bookCountAt = countAt + 4;
    bytes[bookCountAt + 3] = 0x40; // book count
    EXPECT_TRUE(rejects(bytes));
    bytes = books.Bytes();
    bytes[bookCountAt + 4 + 3] = 0x40; // sentence count
    EXPECT_TRUE(rejects(bytes));
    bytes = books.Bytes();
    bytes[bookCountAt + 16 + 3] = static_cast<char>(0x80); // text count negative
    EXPECT_TRUE(rejects(bytes));
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(StyleTest, WordIndexesOutsideTheDictionaryAreDropped)
{
    TestStyle file;
    file.words = {-1, 2, dictionary.Count() - 1, dictionary.Count(), 179999, 250000};
    ASSERT_TRUE(file.WriteTo(StylePath("wide.zas")));
    Style style(dictionary);
    ASSERT_TRUE(style.LoadFile(StylesFolder(), "wide.zas"));
    EXPECT_EQ(style.Words().Words(), (std::vector<int32_t>{2, dictionary.Count() - 1}));
    EXPECT_EQ(style.MatchPattern("   ").Count(), 2);
}

TEST_F(StyleTest, SavingIntoAMissingFolderIsReportedAndChangesNothing)
{
    const auto style = StyleOf({"CAT"});
    const std::string before = style->FullPath();
    EXPECT_FALSE(style->SaveFile(dir.File("nowhere/new.zas")));
    EXPECT_EQ(notifier.Messages(), (std::vector<std::pair<std::string, std::string>>{
                                       {"Cannot Open Project File", "Error"}}));
    EXPECT_EQ(style->FullPath(), before);
}

// A new edition of the dictionary renumbers its words: the style is rebuilt from
// its stored sentences and saved, so the next start finds it current.
TEST_F(StyleTest, StaleStyleIsRebuiltFromItsSentencesAndSaved)
{
    TestStyle file;
    file.stamp = 999;
    file.words = Indexes({"ANT", "ZZZ"});
    file.books = {{SentenceOf("The cat sat on a mat.")}, {SentenceOf("Come back soon.")}};
    ASSERT_TRUE(file.WriteTo(StylePath("stale.zas")));
    Style style(dictionary);
    ASSERT_TRUE(style.LoadFile(StylesFolder(), "stale.zas"));

    EXPECT_TRUE(style.UpdateIfStale());
    const Words rebuilt{"BACK", "CAT", "COME", "MAT", "ON", "SAT", "SOON", "THE"};
    EXPECT_EQ(Texts(style.Words()), rebuilt);
    EXPECT_EQ(Texts(style.MatchPattern("  T")), (Words{"CAT", "MAT", "SAT"}));
    EXPECT_FALSE(style.ContainsWord("ZZZ"));
    EXPECT_EQ(style.Stamp(), kStamp);
    EXPECT_EQ(notifier.StatusTexts(), (std::vector<std::string>{" Updating Style ...", ""}));

    Style reloaded(dictionary);
    ASSERT_TRUE(reloaded.LoadFile(StylesFolder(), "stale.zas"));
    EXPECT_EQ(Texts(reloaded.Words()), rebuilt);
    EXPECT_EQ(reloaded.Stamp(), kStamp);
    EXPECT_FALSE(reloaded.UpdateIfStale());
    EXPECT_EQ(notifier.StatusTexts().size(), 2u);
}

TEST_F(StyleTest, StyleIsNotRebuiltAgainstADictionaryThatDidNotLoad)
{
    TestStyle file;
    file.stamp = 999;
    file.words = Indexes({"ANT"});
    file.books = {{SentenceOf("The cat sat on a mat.")}};
    ASSERT_TRUE(file.WriteTo(StylePath("kept.zas")));
    const Dictionary empty;
    Style style(empty);
    ASSERT_TRUE(style.LoadFile(StylesFolder(), "kept.zas"));
    EXPECT_FALSE(style.UpdateIfStale());
    EXPECT_EQ(ReadBytes(StylePath("kept.zas")), file.Bytes());
}

TEST_F(StyleTest, LoadAllStylesListsLoadableFilesByName)
{
    TestStyle file;
    file.description = "B";
    ASSERT_TRUE(file.WriteTo(StylePath("b.zas")));
    file.description = "A";
    ASSERT_TRUE(file.WriteTo(StylePath("a.zas")));
    file.version = 54;
    ASSERT_TRUE(file.WriteTo(StylePath("c.zas")));
    WriteBytes(StylePath("notes.txt"), "not a style");
    std::filesystem::create_directory(StylePath("d.zas"));

    ItemList<Style> styles(10, ListOrder::Append, true, 10);
    styles.Add(std::make_unique<Style>(dictionary));
    LoadAllStyles(dictionary, StylesFolder(), styles);
    ASSERT_EQ(styles.Count(), 2);
    EXPECT_EQ(TextOf(styles.At(0)->Description()), "A");
    EXPECT_EQ(TextOf(styles.At(1)->Description()), "B");
    EXPECT_TRUE(notifier.Messages().empty());

    std::filesystem::remove(StylePath("b.zas"));
    EXPECT_TRUE(DeleteStyle(styles, 1)); // its file already gone
    EXPECT_TRUE(DeleteStyle(styles, 0));
    EXPECT_FALSE(std::filesystem::exists(StylePath("a.zas")));
    EXPECT_EQ(styles.Count(), 0);
    EXPECT_FALSE(DeleteStyle(styles, 0));
    EXPECT_TRUE(std::filesystem::exists(StylePath("c.zas")));
}

} // namespace
} // namespace pelorin
