#include "lexicon/QuotationIndex.h"

#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/StyleFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace pelorin {
namespace {

using Sentences = std::vector<std::vector<std::string>>;

class QuotationIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteDictionary(dir.Folder(), test::PlainWords({"CAT", "DOG"}));
        ASSERT_TRUE(dictionary.Load(dir.Folder()));
        std::filesystem::create_directory(dir.File("Styles"));
    }
    /// Loads a style file whose books hold these sentences into the style.
    void Load(Style& style, const Sentences& books, const char* name = "books.zas")
    {
        test::TestStyle file;
        for (const std::vector<std::string>& sentences : books) {
            file.books.emplace_back();
            for (const std::string& sentence : sentences)
                file.books.back().push_back(test::SentenceOf(sentence));
        }
        ASSERT_TRUE(file.WriteTo(dir.File("Styles/") + name));
        ASSERT_TRUE(style.LoadFile(dir.File("Styles"), name));
    }
    /// What asking every book in turn (or the index) gives, after `before`
    /// sentences already in the target.
    static std::vector<const Quotation*> Collect(const Style& style, std::string_view word, int before, bool byIndex)
    {
        ItemList<Quotation> target(100, ListOrder::Sorted, false, 100);
        for (int i = 0; i < before; ++i)
            target.Add(style.Books().At(0)->sentences.At(i));
        if (byIndex)
            style.CollectQuotations(word, target);
        else
            for (const Book* book : style.Books())
                book->CollectQuotations(word, target);
        return {target.begin(), target.end()};
    }
    test::TempDir dir;
    Dictionary dictionary;
};

// The index must give the clue choice exactly what reading every sentence gave:
// the same sentences in the same order, with the limit of each book, for every
// word a sentence holds in any form and for words it only seems to hold.
TEST_F(QuotationIndexTest, FindsWhatReadingEveryBookFinds)
{
    // Three books over a small vocabulary, so that words occur in many sentences
    // of each, with the tokens that cutting to letters and the letter mask decide.
    const std::vector<std::string> vocabulary = {
        "cat", "Cat,", "(cat", "CAT.", "dog", "on", "ox", "to", "at", "don't", "well-known", "\"Light,\"",
        "t\xC3\xA9" "a", "tab\tbed", "1999", "...", "a", "be", "bee", "cats", "concatenate", "O"};
    Sentences books(3);
    uint32_t state = 7;
    for (int i = 0; i < 90; ++i) {
        std::string sentence;
        const int length = 1 + i % 7;
        for (int w = 0; w < length; ++w) {
            state = state * 1103515245u + 12345u;
            sentence += (w ? " " : "") + vocabulary[(state >> 16) % vocabulary.size()];
        }
        books[static_cast<size_t>(i % 3)].push_back(sentence + ".");
    }
    books[1].push_back("Tea for two.");
    Style style(dictionary);
    Load(style, books);
    std::set<std::string> words = {"", "CA", "ON", "TO", "OX", "cat", "Cat", "DOGS", "T\xC3\xA9" "A", "TAB\tBED",
                                   "DON'T", "WELL-KNOWN", "1999", "TWO"};
    for (const std::vector<std::string>& sentences : books)
        for (const std::string& sentence : sentences)
            ForEachToken(sentence, [&](std::string_view token) { words.insert(ToUpperAscii(TrimToLetters(token))); });
    for (const std::string& word : words)
        for (int before : {0, 5, 11})
            EXPECT_EQ(Collect(style, word, before, true), Collect(style, word, before, false))
                << "word '" << word << "', " << before << " before";
}

// The index is of the books as they are: a book added or a style loaded after a
// query must be found by the next one.
TEST_F(QuotationIndexTest, FollowsEveryChangeOfTheBooks)
{
    Style style(dictionary);
    Load(style, {{"The cat sat."}});
    // Asked afresh each time: a change of the books makes a new index.
    const auto found = [&](const char* word) { return style.Quotations().Find(word).size(); };
    EXPECT_EQ(found("DOG"), 0u);
    const std::string book = dir.File("dog.txt");
    std::ofstream(book) << "A dog barked. Another dog.\n";
    style.AddBook(book);
    EXPECT_EQ(found("DOG"), 2u);
    EXPECT_EQ(style.Quotations().BookOf(style.Quotations().Find("DOG")[0]), 1);
    Load(style, {{"No animals at all."}}, "other.zas");
    EXPECT_EQ(found("DOG"), 0u);
    EXPECT_EQ(found("ANIMALS"), 1u);
}

} // namespace
} // namespace pelorin
