#include "lexicon/PatternIndex.h"

#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace pelorin {
namespace {

// The filler's fast queries must answer exactly what the style's own query
// answers, word for word and in order: one different word changes every grid
// that follows from a seed.
class PatternIndexTest : public testing::Test {
protected:
    void Load(std::vector<test::TestRecord> records, const std::vector<std::string>& styleWords)
    {
        test::WriteDictionary(dir.Folder(), records);
        ASSERT_TRUE(dictionary->Load(dir.Folder()));
        style = std::make_unique<Style>(*dictionary);
        for (const std::string& word : styleWords) {
            const int32_t index = dictionary->Find(word);
            ASSERT_GE(index, 0) << word;
            style->MarkWord(index);
        }
        style->BuildWordList();
    }

    std::vector<std::string> Texts(const std::vector<int32_t>& words) const
    {
        std::vector<std::string> texts;
        for (int32_t word : words)
            texts.push_back(dictionary->Record(word).text);
        return texts;
    }

    // Every query form gives MatchPattern's words for the pattern.
    void ExpectSameAnswers(const PatternIndex& index, const std::string& pattern)
    {
        SCOPED_TRACE("pattern '" + pattern + "'");
        const std::vector<int32_t> expected = style->MatchPattern(pattern).Words();
        std::vector<int32_t> buffer = {99};
        index.MatchPatternInto(pattern, buffer);
        EXPECT_EQ(buffer, expected);
        EXPECT_EQ(index.CountPattern(pattern), static_cast<int32_t>(expected.size()));
        style->MatchPatternInto(pattern, buffer);
        EXPECT_EQ(buffer, expected);
        EXPECT_EQ(style->CountPattern(pattern), static_cast<int32_t>(expected.size()));
    }

    test::TempDir dir;
    std::unique_ptr<Dictionary> dictionary = std::make_unique<Dictionary>();
    std::unique_ptr<Style> style;
};

// Every pattern that can be made from the words (each letter kept or opened),
// and patterns that fit nothing, on a list with prefixes, words longer than any
// entry, the first and last possible words, and records whose stored length is
// not their text's (the query compares the stored length).
TEST_F(PatternIndexTest, AnswersLikeTheStyleForEveryPattern)
{
    std::vector<test::TestRecord> records = test::PlainWords(
        {"A", "AA", "AAAAAAAA", "ABACUS", "CAT", "CATALOGUE", "CATERPILLAR", "CATS", "CATSUP", "DOG", "DOGMA", "HELLO",
         "HELP", "KNIGHTLY", "LONGWORD", "MAT", "MATE", "ODD", "SHORT", "ZEBRA", "ZZ", "ZZZZZZZZ", "ZZZZZZZZZ"});
    std::vector<std::string> styleWords;
    for (test::TestRecord& record : records) {
        if (record.text == "ODD")
            record.lengthOverride = 5; // a short text claiming five letters
        if (record.text == "SHORT")
            record.lengthOverride = 3; // a long text claiming three
        if (record.text != "MAT" && record.text != "HELP")
            styleWords.push_back(record.text);
    }
    Load(records, styleWords);
    const PatternIndex index(*style);

    std::vector<std::string> patterns = {"", " ", "  ", "     ", "        ", "         ", "ZZZZZZZZZ", "Q  ",
                                         "cat", "CAU", "MAT", "HELP", "ZZZ ", "A       ", "       A"};
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
        ExpectSameAnswers(index, pattern);

    for (const test::TestRecord& record : records) {
        for (const std::string& text : {record.text, record.text + "S", record.text.substr(1), std::string("x") + record.text}) {
            EXPECT_EQ(index.ContainsWord(text), style->ContainsWord(text)) << text;
        }
    }
    EXPECT_TRUE(index.ContainsWord("abacus"));
    EXPECT_TRUE(index.ContainsWord("ZZZZZZZZ"));
    EXPECT_FALSE(index.ContainsWord("MAT"));
    EXPECT_FALSE(index.ContainsWord("CA "));
}

TEST_F(PatternIndexTest, EmptyStyleFitsNothing)
{
    Load(test::PlainWords({"CAT", "DOG"}), {});
    const PatternIndex index(*style);
    for (const std::string pattern : {"", "   ", "CAT"})
        ExpectSameAnswers(index, pattern);
    EXPECT_FALSE(index.ContainsWord("CAT"));
}

} // namespace
} // namespace pelorin
