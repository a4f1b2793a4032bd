#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace pelorin {
namespace {

using Texts = std::vector<std::string>;

class BookScannerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteDictionary(dir.Folder(),
                              test::PlainWords({"IT", "WAS", "LATE", "HE", "LEFT", "SMITH", "CAME", "HELLO", "YES",
                                                "COME", "BACK", "SOON", "END", "DONT", "WELL", "KNOWN", "CAT",
                                                "DOG", std::string(255, 'X'), std::string(45, 'X')}));
        ASSERT_TRUE(dictionary.Load(dir.Folder()));
    }
    /// Makes a style of one book holding the text, and its word list unless told not to.
    void Scan(const std::string& text, bool buildWordList = true)
    {
        test::WriteFileBytes(dir.File("book.txt"), text);
        style = std::make_unique<Style>(dictionary);
        style->AddBook(dir.File("book.txt"));
        if (buildWordList)
            style->BuildWordList();
    }
    Texts Sentences() const
    {
        Texts texts;
        for (const Quotation* sentence : style->Books().At(0)->sentences)
            texts.emplace_back(TextOf(sentence->text));
        return texts;
    }
    Texts Words() const
    {
        Texts texts;
        for (int32_t wordIndex : style->Words().Words())
            texts.emplace_back(dictionary.Record(wordIndex).text);
        return texts;
    }
    test::TempDir dir;
    Dictionary dictionary;
    std::unique_ptr<Style> style;
};

// Sentences end at full stops (text after the last one makes none) and must hold
// a letter; "Mr" is too short to be one. Words split at spaces only, keep no inner
// non-letter and lose trailing marks; a line of 300 letters is read in pieces of
// 255, two tokens. Line ends become spaces, a carriage return before one is dropped.
TEST_F(BookScannerTest, SentencesAndWordsOfABook)
{
    const struct {
        std::string text;
        Texts sentences;
        Texts words;
    } books[] = {
        {"It was late. He left.", {"It was late.", "He left."}, {"HE", "IT", "LATE", "LEFT", "WAS"}},
        {"Mr. Smith came.", {"Smith came."}, {"CAME", "SMITH"}},
        {"Hello? Yes.", {"Hello? Yes."}, {"HELLO", "YES"}},
        {"In 1999. 12345. He left.", {"In 1999.", "He left."}, {"HE", "LEFT"}},
        {"HELLO, (cat don't well-known end.\ncome\tback dog", {"HELLO, (cat don't well-known end."},
         {"DOG", "END", "HELLO"}},
        {"It was\nlate.  He\r\nleft.\r\nCame\rback.", {"It was late.", "He left.", "Came\rback."},
         {"HE", "IT", "LATE", "LEFT", "WAS"}},
        {std::string(300, 'X') + "\n", {}, {std::string(45, 'X'), std::string(255, 'X')}},
        {std::string(254, 'X') + "\n" + std::string(45, 'X') + "\n", {}, {std::string(45, 'X')}},
    };
    for (const auto& book : books) {
        Scan(book.text);
        EXPECT_EQ(Sentences(), book.sentences) << book.text;
        EXPECT_EQ(Words(), book.words) << book.text;
    }
}

// Quotations are chosen by closeness to 80 characters. The buffer holds a sentence
// of 16,382 characters with its "." and zero byte; a longer run is dropped at its
// full stop and scanning goes on after it.
TEST_F(BookScannerTest, SentencesAreKeyedByLengthAndOverlongRunsDropped)
{
    Scan("A" + std::string(78, 'a') + ". B" + std::string(48, 'b') + ". C" + std::string(108, 'c') + ".");
    std::vector<std::pair<int32_t, int32_t>> keys;
    for (const Quotation* sentence : style->Books().At(0)->sentences)
        keys.emplace_back(sentence->key, sentence->length);
    EXPECT_EQ(keys, (std::vector<std::pair<int32_t, int32_t>>{{0, 80}, {30, 50}, {30, 110}}));
    const std::string fits = "A" + std::string(16381, 'a');
    Scan(fits + ". He left.");
    EXPECT_EQ(Sentences(), (Texts{fits + ".", "He left."}));
    Scan(fits + "a. He left. " + std::string(40000, 'b') + ". It was late.");
    EXPECT_EQ(Sentences(), (Texts{"He left.", "It was late."}));
}

// The scanner remembers what the dictionary answered for each word until the word
// list is built; a dictionary loaded in between answers afresh, so a rebuild never
// marks the word indexes of the dictionary it replaced.
TEST_F(BookScannerTest, WordsAreLookedUpInTheDictionaryOfTheMoment)
{
    Scan("Come back soon, cat.", false);
    test::WriteDictionary(dir.Folder(), test::PlainWords({"AARDVARK", "BACK", "CAT", "COME", "SOON"}), 99);
    ASSERT_TRUE(dictionary.Load(dir.Folder()));
    ASSERT_TRUE(style->UpdateIfStale());
    EXPECT_EQ(Words(), (Texts{"BACK", "CAT", "COME", "SOON"}));
}

} // namespace
} // namespace pelorin
