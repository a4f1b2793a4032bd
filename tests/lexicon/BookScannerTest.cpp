#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/RecordingNotifier.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

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
                                                "DOG", std::string(255, 'X'), std::string(45, 'X')}),
                              kStamp);
        ASSERT_TRUE(dictionary.Load(dir.Folder()));
    }

    /// Builds a style from one book holding the text.
    void Scan(const std::string& text)
    {
        const std::string path = dir.File("book.txt");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        style = std::make_unique<Style>(dictionary);
        style->AddBook(path);
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
            texts.push_back(dictionary.Record(wordIndex).text);
        return texts;
    }

    static constexpr int32_t kStamp = 77;
    test::TempDir dir;
    test::RecordingNotifier notifier;
    Dictionary dictionary;
    std::unique_ptr<Style> style;
};

TEST_F(BookScannerTest, FullStopsEndSentences)
{
    Scan("It was late. He left.");
    EXPECT_EQ(Sentences(), (Texts{"It was late.", "He left."}));
    EXPECT_EQ(Words(), (Texts{"HE", "IT", "LATE", "LEFT", "WAS"}));
    EXPECT_EQ(style->Stamp(), kStamp);

    Scan("Mr. Smith came.");
    EXPECT_EQ(Sentences(), (Texts{"Smith came."})); // "Mr" is too short to be a sentence

    Scan("Hello? Yes.");
    EXPECT_EQ(Sentences(), (Texts{"Hello? Yes."}));
}

// The word pass marks every word; only text before a full stop becomes a sentence.
TEST_F(BookScannerTest, TextWithoutAFullStopMarksWordsButMakesNoSentence)
{
    Scan("Come back soon");
    EXPECT_EQ(Words(), (Texts{"BACK", "COME", "SOON"}));
    EXPECT_TRUE(Sentences().empty());
}

TEST_F(BookScannerTest, WordRuleSplitsAtSpacesAndRejectsInnerNonLetters)
{
    Scan("HELLO, (cat don't well-known end.\ncome\tback dog");
    // "HELLO," and "end." lose their trailing marks; "(cat" starts with a bracket;
    // DON'T and WELL-KNOWN hold non-letters; a tab does not separate words.
    EXPECT_EQ(Words(), (Texts{"DOG", "END", "HELLO"}));
}

// A 300-letter line is read in pieces of 255 characters: two tokens, not one.
TEST_F(BookScannerTest, LongLinesAreMarkedInPiecesOf255)
{
    Scan(std::string(300, 'X') + "\n");
    EXPECT_EQ(Words(), (Texts{std::string(45, 'X'), std::string(255, 'X')}));
    Scan(std::string(254, 'X') + "\n" + std::string(45, 'X') + "\n");
    EXPECT_EQ(Words(), (Texts{std::string(45, 'X')}));
}

TEST_F(BookScannerTest, LineEndsBecomeSpacesAndCarriageReturnsBeforeThemAreDropped)
{
    Scan("It was\nlate.  He\r\nleft.\r\nCame\rback.");
    EXPECT_EQ(Sentences(), (Texts{"It was late.", "He left.", "Came\rback."}));
    // Came\rback holds a non-letter; a DOS line end leaves LEFT whole.
    EXPECT_EQ(Words(), (Texts{"HE", "IT", "LATE", "LEFT", "WAS"}));
}

TEST_F(BookScannerTest, SentencesCarryTheirDistanceFromEightyAsKey)
{
    const std::string eighty = "A" + std::string(78, 'a') + ".";
    const std::string fifty = "B" + std::string(48, 'b') + ".";
    const std::string long110 = "C" + std::string(108, 'c') + ".";
    Scan(eighty + " " + fifty + " " + long110);
    const auto& sentences = style->Books().At(0)->sentences;
    ASSERT_EQ(sentences.Count(), 3);
    EXPECT_EQ(sentences.At(0)->key, 0);
    EXPECT_EQ(sentences.At(0)->length, 80);
    EXPECT_EQ(sentences.At(1)->key, 30);
    EXPECT_EQ(sentences.At(2)->key, 30);
    EXPECT_EQ(sentences.At(2)->length, 110);
}

TEST_F(BookScannerTest, SentenceWithoutALetterIsNotKept)
{
    Scan("In 1999. 12345. He left.");
    EXPECT_EQ(Sentences(), (Texts{"In 1999.", "He left."}));
}

// The buffer holds a sentence of 16,382 characters with its "." and zero byte; a
// longer run is dropped at its full stop and scanning goes on after it.
TEST_F(BookScannerTest, RunsTooLongForTheBufferAreDropped)
{
    const std::string fits = "A" + std::string(16381, 'a');
    Scan(fits + ". He left.");
    ASSERT_EQ(Sentences().size(), 2u);
    EXPECT_EQ(Sentences()[0], fits + ".");

    Scan(fits + "a. He left. " + std::string(40000, 'b') + ". It was late.");
    EXPECT_EQ(Sentences(), (Texts{"He left.", "It was late."}));
}

TEST_F(BookScannerTest, UnreadableBookStillCountsAsABook)
{
    Style built(dictionary);
    built.AddBook(dir.File("missing.txt"));
    ASSERT_EQ(built.Books().Count(), 1);
    EXPECT_EQ(built.Books().At(0)->sentences.Count(), 0);
    Book book;
    EXPECT_FALSE(ScanBook(dir.File("missing.txt"), book));
    EXPECT_TRUE(notifier.Messages().empty());
}

} // namespace
} // namespace pelorin
