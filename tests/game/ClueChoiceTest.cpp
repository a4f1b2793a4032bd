#include "game/ClueChoice.h"

#include "foundation/StoredValues.h"
#include "game/Game.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace pelorin {
namespace {

Quote MakeQuote(std::string text)
{
    Quote quote;
    quote.key = 7;
    quote.length = static_cast<int32_t>(text.size());
    quote.text = std::move(text);
    return quote;
}

std::string Masked(std::string text, std::string_view word)
{
    Quote quote = MakeQuote(std::move(text));
    MaskAnswer(quote, word);
    return *quote.text;
}

std::string Shortened(std::string text)
{
    Quote quote = MakeQuote(std::move(text));
    ShortenQuote(quote);
    EXPECT_EQ(quote.key, 7);
    return *quote.text;
}

// Filler text of `length` characters with a blank at every fifth position
// (4, 9, 14, ...), so word boundaries are easy to predict.
std::string Words(size_t length)
{
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += i % 5 == 4 ? ' ' : static_cast<char>('a' + (i / 5) % 26);
    return text;
}

TEST(MaskAnswerTest, BlanksOnlyWholeWords)
{
    EXPECT_EQ(Masked("The cat sat on the mat.", "CAT"), "The ___ sat on the mat.");
    // Inside concatenate the letters stay; the later whole word is still found.
    EXPECT_EQ(Masked("Never concatenate a cat.", "CAT"), "Never concatenate a ___.");
    // At the start and the end of the text, any case, next to punctuation.
    EXPECT_EQ(Masked("Cat, said the CAT", "CAT"), "___, said the ___");
    EXPECT_EQ(Masked("Bobcats purr.", "CAT"), "Bobcats purr.");
    EXPECT_EQ(Masked("No word here.", "CAT"), "No word here.");
    // An empty word is found everywhere; it must leave the text alone, not hang.
    EXPECT_EQ(Masked("The cat.", ""), "The cat.");
}

TEST(ShortenQuoteTest, CutsALongQuoteAroundTheBlankAtWordBoundaries)
{
    // The answer at character 200 of 300: the excerpt starts at the first blank
    // at or after character 80 and is cut at 146 characters.
    std::string text = Words(300);
    text.replace(200, 3, "___");
    const std::string excerpt = Shortened(text);
    EXPECT_EQ(excerpt, "..." + text.substr(84, 143) + "...");
    EXPECT_EQ(excerpt.size(), 149u);

    // A blank within 120 characters of the start: the excerpt starts at the start.
    text = Words(200);
    text.replace(100, 3, "___");
    EXPECT_EQ(Shortened(text), text.substr(0, 146) + "...");

    // An excerpt that takes the text to its very end needs no closing "...".
    text = Words(160);
    text.replace(125, 3, "___");
    text[17] = ' ';
    for (size_t i = 5; i < 17; ++i)
        text[i] = 'x';
    EXPECT_EQ(Shortened(text), "..." + text.substr(17));
}

TEST(ShortenQuoteTest, LeavesShortOrUnmaskedQuotesAlone)
{
    std::string text = Words(150);
    text.replace(140, 3, "___");
    EXPECT_EQ(Shortened(text), text);
    text = Words(300);
    EXPECT_EQ(Shortened(text), text);
    // A two-letter answer is masked as "__", which is no blank to centre on.
    text.replace(200, 2, "__");
    EXPECT_EQ(Shortened(text), text);
}

class ClueChoiceTest : public testing::Test {
protected:
    void SetUp() override
    {
        using test::TestRecord;
        auto word = [](std::string text, std::vector<int32_t> ranks) {
            TestRecord record;
            record.text = std::move(text);
            for (int32_t rank : ranks)
                record.definitions.push_back({rank, 0, record.text + " " + std::to_string(rank)});
            return record;
        };
        std::vector<TestRecord> records;
        records.push_back(word("CAT", {0}));
        records.push_back(word("CATS", {}));
        records.back().form = kFormPlural;
        records.back().baseIndex = 0;
        records.push_back(word("MANY", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
        records.push_back(word("RANKED", {700, 12, 600, 5}));
        records.push_back(word("SECOND", {700, 600}));
        test::WriteDictionary(dir.Folder(), records);
        ASSERT_TRUE(dictionary->Load(dir.Folder()));
        style = std::make_unique<Style>(*dictionary);
    }

    // An Across entry over the first cells of row 0 of face 0 spelling the word.
    Entry& AddEntry(std::string_view word)
    {
        auto entry = std::make_unique<Entry>();
        for (size_t i = 0; i < word.size(); ++i) {
            Cell& cell = game.At(0, static_cast<int>(i), 0);
            SetLetter(cell, static_cast<uint8_t>(word[i] - 64), true);
            entry->cells.Add(&cell);
        }
        Entry& added = *entry;
        game.Across().Add(std::move(entry));
        return added;
    }

    // A book file of sentences, one a line.
    std::string WriteBook(const std::string& name, const std::vector<std::string>& sentences)
    {
        const std::string path = dir.File(name);
        std::ofstream out(path);
        for (const std::string& sentence : sentences)
            out << sentence << "\n";
        return path;
    }

    std::vector<int32_t> Ranks(const Entry& entry)
    {
        std::vector<int32_t> ranks;
        for (const Definition* definition : entry.definitions)
            ranks.push_back(definition->rank);
        return ranks;
    }

    test::TempDir dir;
    std::unique_ptr<Dictionary> dictionary = std::make_unique<Dictionary>();
    std::unique_ptr<Style> style;
    Game game;
    std::atomic<bool> keepRunning{true};
};

// Quotes keep the quotation's key and length, whatever masking and cutting did
// to the text: the game file stores them as the source sentence's.
TEST_F(ClueChoiceTest, BuildQuotesMasksTheAnswerAndKeepsKeyAndLength)
{
    Entry& entry = AddEntry("CAT");
    EntryText(entry);
    const std::string text = "The cat sat on the mat.";
    Quotation quotation(57, static_cast<int32_t>(text.size()), text);
    entry.matches.Add(&quotation);
    BuildQuotes(entry);
    ASSERT_EQ(entry.quotes.Count(), 1);
    const Quote& quote = *entry.quotes.At(0);
    EXPECT_EQ(TextOf(quote.text), "The ___ sat on the mat.");
    EXPECT_EQ(quote.key, 57);
    EXPECT_EQ(quote.length, 23);
    EXPECT_EQ(quote.mask, 0);
    EXPECT_EQ(TextOf(quotation.text), text);
}

// Each book is searched afresh: the first gives 11 of its 15 sentences (it stops
// once it holds more than 10), the second still adds one; the quotes come in the
// order of closeness to 80 characters.
TEST_F(ClueChoiceTest, FifteenAndThreeQuotationsGiveTwelveQuotes)
{
    std::vector<std::string> first;
    for (int i = 0; i < 15; ++i)
        first.push_back("The cat number " + std::to_string(i) + " sat" + std::string(i * 7, 'o') + " here.");
    first.push_back("No animal here at all.");
    const std::vector<std::string> second = {"A second cat.", "Another cat sat down here.", "The last cat."};
    style->AddBook(WriteBook("first.txt", first));
    style->AddBook(WriteBook("second.txt", second));
    style->BuildWordList();
    Entry& entry = AddEntry("CAT");

    CollectMatches(entry, *style);
    BuildQuotes(entry);
    ASSERT_EQ(entry.matches.Count(), 12);
    ASSERT_EQ(entry.quotes.Count(), 12);
    const ItemList<Quotation>& firstSentences = style->Books().At(0)->sentences;
    int32_t fromFirst = 0;
    for (const Quotation* match : entry.matches)
        fromFirst += std::count(firstSentences.begin(), firstSentences.end(), match) > 0 ? 1 : 0;
    EXPECT_EQ(fromFirst, 11);
    for (int32_t i = 1; i < entry.quotes.Count(); ++i)
        EXPECT_LE(entry.quotes.At(i - 1)->key, entry.quotes.At(i)->key);
    for (const Quote* quote : entry.quotes)
        EXPECT_NE(TextOf(quote->text).find("___"), std::string_view::npos) << TextOf(quote->text);
}

TEST_F(ClueChoiceTest, DefinitionsRankedFiveHundredOrMoreAreDroppedUnlessAllAre)
{
    Entry& ranked = AddEntry("RANKED");
    ChooseDefinitions(ranked, *dictionary);
    EXPECT_EQ(Ranks(ranked), (std::vector<int32_t>{5, 12}));
    game.Across().Clear();
    Entry& second = AddEntry("SECOND");
    ChooseDefinitions(second, *dictionary);
    EXPECT_EQ(Ranks(second), (std::vector<int32_t>{600}));
    game.Across().Clear();
    Entry& many = AddEntry("MANY");
    ChooseDefinitions(many, *dictionary);
    EXPECT_EQ(Ranks(many), (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(ClueChoiceTest, InflectedAnswerTakesItsBaseDefinitionsAndForm)
{
    Entry& cats = AddEntry("CATS");
    ChooseDefinitions(cats, *dictionary);
    EXPECT_EQ(cats.form, kFormPlural);
    ASSERT_NE(cats.word, nullptr);
    EXPECT_EQ(cats.word->text, "CATS");
    ASSERT_EQ(cats.definitions.Count(), 1);
    EXPECT_EQ(TextOf(cats.definitions.At(0)->text), "CAT 0");

    game.Across().Clear();
    Entry& unknown = AddEntry("DOG");
    ChooseDefinitions(unknown, *dictionary);
    EXPECT_EQ(unknown.definitions.Count(), 0);
    EXPECT_EQ(unknown.form, 0);
    EXPECT_EQ(unknown.word, nullptr);
}

// A shutdown during the clue choice leaves the remaining entries without hints
// rather than delaying the exit.
TEST_F(ClueChoiceTest, ChooseCluesSkipsEntriesOnceKeepRunningIsCleared)
{
    style->AddBook(WriteBook("book.txt", {"The cat sat on the mat."}));
    style->BuildWordList();
    Entry& entry = AddEntry("CAT");
    keepRunning = false;
    ChooseClues(game, *style, keepRunning);
    EXPECT_EQ(entry.matches.Count(), 0);
    EXPECT_EQ(entry.quotes.Count(), 0);
    EXPECT_EQ(entry.definitions.Count(), 0);

    keepRunning = true;
    ChooseClues(game, *style, keepRunning);
    EXPECT_EQ(entry.matches.Count(), 1);
    ASSERT_EQ(entry.quotes.Count(), 1);
    EXPECT_EQ(TextOf(entry.quotes.At(0)->text), "The ___ sat on the mat.");
    EXPECT_EQ(Ranks(entry), (std::vector<int32_t>{0}));
}

} // namespace
} // namespace pelorin
