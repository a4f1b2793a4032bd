#include "game/ClueChoice.h"

#include "foundation/StoredValues.h"
#include "game/Game.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace pelorin {
namespace {

// What a change of a quote makes of its text.
template <typename Change>
std::string Changed(std::string text, Change change)
{
    Quote quote{7, std::move(text)};
    change(quote);
    return *quote.text;
}
std::string Shortened(std::string text) { return Changed(std::move(text), ShortenQuote); }

// Filler text of `length` characters with a blank at every fifth position (4, 9,
// 14, ...), so word boundaries are easy to predict, and "___" (or `blank`) at `at`
// (none when `at` is past the end).
std::string WithBlank(size_t length, size_t at, const std::string& blank = "___")
{
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += i % 5 == 4 ? ' ' : static_cast<char>('a' + (i / 5) % 26);
    return at < length ? text.replace(at, blank.size(), blank) : text;
}

TEST(ShortenQuoteTest, CutsLongQuotesAroundTheBlankAtWordBoundaries)
{
    // The answer at character 200 of 300: the excerpt starts at the first blank
    // at or after character 80 and is cut at 146 characters.
    const std::string long300 = WithBlank(300, 200);
    // The cut at 146 characters falls inside a word, which goes whole ("wild..."
    // of "wilderness" would show the answer WILD).
    EXPECT_EQ(Shortened(long300), "..." + long300.substr(84, 140) + "...");
    // A blank within 120 characters of the start: the excerpt starts at the start.
    const std::string early = WithBlank(200, 100);
    EXPECT_EQ(Shortened(early), early.substr(0, 144) + "...");
    // An excerpt that takes the text to its very end needs no closing "...".
    std::string tail = WithBlank(160, 125);
    tail.replace(5, 13, std::string(12, 'x') + " ");
    EXPECT_EQ(Shortened(tail), "..." + tail.substr(17));
    // Nor a blank: the excerpt ends before it.
    std::string twice = WithBlank(200, 100);
    twice.replace(140, 5, "_____");
    EXPECT_EQ(Shortened(twice), twice.substr(0, 139) + "...");
    // Short quotes, quotes without a blank, and a two-letter answer's "__" (no
    // blank to centre on) stay whole.
    for (const std::string& whole : {WithBlank(150, 140), WithBlank(300, 300), WithBlank(300, 200, "__")})
        EXPECT_EQ(Shortened(whole), whole);
}

// A hint is usable when its blank can be guessed: no capitalised word in
// mid-sentence unless the answer is a name, no name in a list of names, words
// enough around it that tell something (not articles, numbers or pronouns).
TEST(IsUsableHintTest, BlanksAreGuessableFromTheirSentence)
{
    const std::tuple<const char*, const char*, bool, bool> cases[] = {
        {"The cat sat on the mat.", "CAT", false, true}, {"Cat and dog.", "CAT", false, false}, // a fragment
        {"I'm an idiot.", "IDIOT", false, false}, // nothing to guess it from
        {"And every group has at least one idiot.", "IDIOT", false, false},
        {"We met Pat and the cat.", "PAT", false, false}, {"Then went Moses up, and Pat with him.", "PAT", true, true},
        {"The sons of Shem; Elam, and Asshur, and Aram, and Lud.", "ARAM", true, false},
        {"Cat, n.", "CAT", false, false}, {"Death wish, n.", "DEATH", false, false},
        {"memba, n: To remember to the mind; think of again.", "REMEMBER", false, false},
        {"No such word here.", "CAT", false, false}};
    for (const auto& [quotation, answer, name, usable] : cases)
        EXPECT_EQ(IsUsableHint(quotation, FirstWholeWord(quotation, answer), name), usable) << quotation;
}

// A plural is no clue for what has no plural; such senses go behind the others.
TEST(DemoteSingularSensesTest, OneOfAKindSensesGoLastForPlurals)
{
    const std::pair<const char*, bool> cases[] = {
        {"the natural satellite of the Earth", true}, {"the process of decaying", true},
        {"the smallest whole number", true}, {"sleeping for a short period of time", true},
        {"a heavy ductile magnetic metallic element", true}, {"a metallic element; is silver-white in pure form", true},
        {"material in the top layer of the surface of the earth", true}, {"people in general", true},
        {"a single person or thing", true}, {"the edge of a piece of cloth", false},
        {"any natural satellite of a planet", false}, {"cud-chewing mammal used as a draft animal", false},
        {"something that is remembered", false}};
    DefinitionList definitions = MakeDefinitionList();
    int32_t rank = 0;
    std::vector<std::string> expected; // what has a plural, a rare sense that has one, the rest
    for (const auto& [definition, one] : cases) {
        EXPECT_EQ(NamesOneThing(definition), one) << definition;
        definitions.Add(std::make_unique<Definition>(Definition{rank++, std::string(definition)}));
        if (!one)
            expected.emplace_back(definition);
    }
    definitions.Add(std::make_unique<Definition>(Definition{600, "a rare sense"}));
    expected.emplace_back("a rare sense");
    for (const auto& [definition, one] : cases)
        if (one)
            expected.emplace_back(definition);
    DemoteSingularSenses(definitions);
    std::vector<std::string> order;
    for (const Definition* definition : definitions)
        order.emplace_back(TextOf(definition->text));
    EXPECT_EQ(order, expected);
}

class ClueChoiceTest : public testing::Test {
protected:
    void SetUp() override
    {
        using test::TestRecord;
        auto word = [](std::string text, std::vector<int32_t> ranks, int32_t form = 0, int32_t base = -1) {
            TestRecord record{.text = std::move(text), .form = form, .baseIndex = base};
            for (int32_t rank : ranks)
                record.definitions.push_back({rank, 0, record.text + " " + std::to_string(rank)});
            return record;
        };
        std::vector<TestRecord> records = {word("CAT", {0}), word("CATS", {}, kFormPlural, 0),
                                           word("MANY", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), word("MATE", {0}),
                                           word("RANKED", {700, 12, 600, 5}), word("SECOND", {700, 600})};
        test::WriteDictionary(dir.Folder(), records);
        ASSERT_TRUE(dictionary->Load(dir.Folder()));
        style = std::make_unique<Style>(*dictionary);
    }
    // The only Across entry, over the first cells of row 0 of face 0 spelling the word.
    Entry& AddEntry(std::string_view word)
    {
        game.Across().Clear();
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
    test::TempDir dir;
    std::unique_ptr<Dictionary> dictionary = std::make_unique<Dictionary>();
    std::unique_ptr<Style> style;
    Game game;
};

// Each book is searched afresh: the first gives 11 of its 15 sentences (it stops
// once it holds more than 10), the second still adds one; the quote closest to 80
// characters comes first, of those whose blank has telling words on both sides.
TEST_F(ClueChoiceTest, FifteenAndThreeQuotationsGiveTwelveQuotes)
{
    std::vector<std::string> first;
    for (int i = 0; i < 15; ++i)
        first.push_back("The black cat number " + std::to_string(i) + " sat" + std::string(i * 7, 'o') + " here.");
    first.push_back("No animal here at all.");
    const std::vector<std::string> second = {"Another cat sat down here.", "The lonely cat slept.", "A last cat."};
    style->AddBook(WriteBook("first.txt", first));
    style->AddBook(WriteBook("second.txt", second));
    style->BuildWordList();
    Entry& entry = AddEntry("CAT");
    CollectMatches(entry, *style);
    BuildQuotes(entry, *dictionary);
    ASSERT_EQ(entry.matches.Count(), 12);
    ASSERT_EQ(entry.quotes.Count(), 12);
    const ItemList<Quotation>& firstSentences = style->Books().At(0)->sentences;
    int32_t fromFirst = 0;
    for (const Quotation* match : entry.matches)
        fromFirst += std::count(firstSentences.begin(), firstSentences.end(), match) > 0 ? 1 : 0;
    EXPECT_EQ(fromFirst, 11);
    for (int32_t i = 0; i < entry.quotes.Count(); ++i) {
        EXPECT_NE(TextOf(entry.quotes.At(i)->text).find("___"), std::string_view::npos);
        EXPECT_LE(entry.quotes.At(0)->key, entry.quotes.At(i)->key);
    }
}

// Each next quote shares the fewest telling words with those before it: the
// sentence of another kind comes before a second joke about programs.
TEST(VaryQuotesTest, EachNextQuoteIsTheLeastAlike)
{
    const struct {
        std::vector<std::string> texts;
        std::vector<std::string> varied;
    } cases[] = {
        {{"Programs crash when the programmer is tired.", "A programmer writes programs when tired.",
          "The ship sailed at dawn."},
         {"Programs crash when the programmer is tired.", "The ship sailed at dawn.",
          "A programmer writes programs when tired."}},
        // Short words tell nothing, so all are equally unalike and keep their order.
        {{"One cat sat.", "The cat ran.", "Two dogs ran."}, {"One cat sat.", "The cat ran.", "Two dogs ran."}},
        {{}, {}}};
    for (const auto& [texts, varied] : cases) {
        std::vector<std::unique_ptr<Quote>> quotes;
        for (const std::string& text : texts)
            quotes.push_back(std::make_unique<Quote>(Quote{0, text}));
        VaryQuotes(quotes);
        std::vector<std::string> got;
        for (const auto& quote : quotes)
            got.emplace_back(*quote->text);
        EXPECT_EQ(got, varied);
    }
}

// A hint shows no form of the answer, and keeps a word that only
// holds its letters; no underscore of the book's reads as a blank, and no
// sentence shows twice.
TEST_F(ClueChoiceTest, QuotesHideEveryFormOfTheAnswerOnce)
{
    const std::vector<std::string> sentences = {"Every cat has cats to concatenate.", "A cat_like cat."};
    style->AddBook(WriteBook("first.txt", sentences));
    style->AddBook(WriteBook("again.txt", sentences));
    style->BuildWordList();
    std::vector<std::string> quotes;
    for (const char* answer : {"CATS", "CAT"}) {
        Entry& entry = AddEntry(answer);
        CollectMatches(entry, *style);
        BuildQuotes(entry, *dictionary);
        for (const Quote* quote : entry.quotes)
            quotes.emplace_back(TextOf(quote->text));
    }
    std::sort(quotes.begin(), quotes.end());
    EXPECT_EQ(quotes, (std::vector<std::string>{"A ___-like ___.", "Every ___ has ____ to concatenate.",
                                                "Every ___ has ____ to concatenate."}));
}

// A hint hides every word that holds the answer's stem as a word part, and no
// word that merely holds its letters.
TEST_F(ClueChoiceTest, HoldsStemFindsTheAnswersWordParts)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"ABOUNDETH", "ABOUND", true}, {"LOVEST", "LOVE", true},  {"DREAMED", "DREAM", true},
        {"DANCING", "DANCE", true},    {"CARRIER", "CARRY", true}, {"STOPPING", "STOP", true},
        {"VIEWER", "VIEW", true},      {"UNWEARY", "WEARY", true}, {"TEAMMATE", "TEAM", true},
        {"CATS", "CAT", true},         {"CAT", "CAT", false},      {"CONCATENATE", "CAT", false},
        {"CATER", "CAT", false},       {"EARTH", "EAR", false},    {"SCATTER", "CAT", false},
        {"CARS", "CARE", false}};
    for (const auto& [word, stem, holds] : cases)
        EXPECT_EQ(HoldsStem(word, stem, *dictionary), holds) << word << " " << stem;
}

// Where no sense is tagged (ranks 300 to 399), the sense whose gloss shares at
// least two telling words more than the first's with the answer's sentences
// comes first, with its whole gloss; function words do not count. A tagged word
// (2), a second reading (200) and a lead of one word less keep their order;
// another part of speech's first sense (10) takes part.
TEST_F(ClueChoiceTest, PreferSenseOfBooksPutsTheBooksSenseFirst)
{
    Quotation lame(1, 0, std::string("The beggar was lame from birth, crippled in his feet."));
    const std::map<int32_t, const char*> texts = {
        {0, "a fabric interwoven with threads of metal"}, {1, "a fabric"}, {2, "crippled in the feet, from birth"},
        {10, "a beggar who walks"}, {200, "crippled in the feet, from birth"}, {302, "crippled in the feet"},
        {303, "crippled in the feet, from birth"}};
    const std::pair<std::vector<int32_t>, const char*> cases[] = {
        {{0, 1, 302, 303}, "302 303 0 1"}, {{0, 2}, "0 2"}, {{0, 200, 302}, "302 0 200"}, {{10, 302}, "10 302"}};
    for (const auto& [ranks, expected] : cases) {
        Entry& entry = AddEntry("MATE");
        entry.word = &dictionary->Record(3);
        entry.matches.Add(&lame);
        for (int32_t rank : ranks)
            entry.definitions.Add(std::make_unique<Definition>(Definition{rank, texts.at(rank), rank}));
        PreferSenseOfBooks(entry, *dictionary);
        std::string order; // the ranks the definitions came with
        for (const Definition* definition : entry.definitions)
            order += (order.empty() ? "" : " ") + std::to_string(definition->aux);
        EXPECT_EQ(order, expected);
    }
}

// At most ten definitions; those ranked 500 or more only when no other exists.
// An inflected answer takes its base word's definitions and its own form.
TEST_F(ClueChoiceTest, ChooseDefinitionsTrimsByRankAndFollowsTheBaseWord)
{
    const std::tuple<const char*, std::vector<int32_t>, int32_t> cases[] = {
        {"RANKED", {5, 12}, 0}, {"SECOND", {600}, 0}, {"MANY", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 0},
        {"CATS", {0}, kFormPlural}, {"DOG", {}, 0}};
    for (const auto& [word, ranks, form] : cases) {
        Entry& entry = AddEntry(word);
        ChooseDefinitions(entry, *dictionary);
        std::vector<int32_t> chosen;
        for (const Definition* definition : entry.definitions)
            chosen.push_back(definition->rank);
        EXPECT_EQ(chosen, ranks) << word;
        EXPECT_EQ(entry.form, form) << word;
    }
}

} // namespace
} // namespace pelorin
