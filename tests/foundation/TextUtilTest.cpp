#include "foundation/TextUtil.h"

#include <gtest/gtest.h>

namespace pelorin {
namespace {

// A style's name is its file name up to the last dot, unless the dot leads; a path
// splits after its last separator, which stays with the folder.
TEST(TextUtil, PathsSplitAtTheirLastSeparatorAndDot)
{
    using Parts = std::pair<std::string, std::string>;
    EXPECT_EQ(StripExtension("a.b.zas"), "a.b");
    EXPECT_EQ(StripExtension(".zas"), ".zas");
    EXPECT_EQ(StripExtension("plain"), "plain");
    EXPECT_EQ(SplitPath("/usr/games/pelorin"), (Parts{"/usr/games/", "pelorin"}));
    EXPECT_EQ(SplitPath("pelorin"), (Parts{"", "pelorin"}));
    EXPECT_EQ(SplitPath("/"), (Parts{"/", ""}));
}

// The sentence maker keeps a sentence from its first letter on, found through the
// trimmed view's position in the text: the view must lie inside the text given.
TEST(TextUtil, TrimToLettersTreatsOnlyAsciiAsLettersAndViewsIntoTheText)
{
    EXPECT_EQ(TrimToLetters("don't!"), "don't");
    EXPECT_EQ(TrimToLetters("\xc3\xa9t\xc3\xa9"), "t"); // UTF-8 bytes are not letters
    EXPECT_EQ(TrimToLetters("1984."), "");
    const std::string_view text = "\"Go.\"";
    EXPECT_EQ(TrimToLetters(text).data(), text.data() + 1);
}

} // namespace
} // namespace pelorin
