#include "foundation/TextUtil.h"

#include <gtest/gtest.h>


namespace pelorin {
namespace {

TEST(TextUtil, StripExtensionCutsAtTheLastDotUnlessItLeads)
{
    EXPECT_EQ(StripExtension("Classic.zas"), "Classic");
    EXPECT_EQ(StripExtension("a.b.zas"), "a.b");
    EXPECT_EQ(StripExtension(".zas"), ".zas");
    EXPECT_EQ(StripExtension("plain"), "plain");
}

TEST(TextUtil, SplitPathKeepsTheSeparatorWithTheFolder)
{
    EXPECT_EQ(SplitPath("/usr/games/pelorin"), (std::pair<std::string, std::string>{"/usr/games/", "pelorin"}));
    EXPECT_EQ(SplitPath("pelorin"), (std::pair<std::string, std::string>{"", "pelorin"}));
    EXPECT_EQ(SplitPath("/"), (std::pair<std::string, std::string>{"/", ""}));
}

// The sentence maker keeps a sentence from its first letter on, found through the
// trimmed view's position in the text: the view must lie inside the text given.
TEST(TextUtil, TrimToLettersTreatsOnlyAsciiAsLettersAndViewsIntoTheText)
{
    EXPECT_EQ(TrimToLetters("(Hello),"), "Hello");
    EXPECT_EQ(TrimToLetters("don't!"), "don't");
    EXPECT_EQ(TrimToLetters("\xc3\xa9t\xc3\xa9"), "t"); // UTF-8 bytes are not letters
    EXPECT_EQ(TrimToLetters("1984."), "");
    const std::string_view text = "\"Go.\"";
    EXPECT_EQ(TrimToLetters(text).data(), text.data() + 1);
}

} // namespace
} // namespace pelorin
