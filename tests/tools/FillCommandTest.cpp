#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace pelorin {
namespace {

// A root with a dictionary of the words of 2 to 7 letters over ABCD, and a style
// of every other one of them, saved under Styles/.
class FillCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        test::WriteDictionary(dir.Folder(), test::PlainWords(test::AbcWords(2, 7, 'D')));
        std::filesystem::create_directory(dir.File("Styles"));
        Dictionary dictionary;
        ASSERT_TRUE(dictionary.Load(dir.Folder()));
        Style style(dictionary);
        for (int32_t i = 0; i < dictionary.Count(); i += 2)
            style.MarkWord(i);
        style.BuildWordList();
        ASSERT_TRUE(style.SaveFile(dir.File("Styles/Test.zas")));
    }

    test::TempDir dir;
};

// The same seed writes the same game, whether the style is named by its path under
// the root, by its full path, or by its bare file name, which is a style of the
// root's Styles folder (the way the game lists styles), never one at the top of
// the file system.
TEST_F(FillCommandTest, SameSeedWritesTheSameGameWhateverNamesTheStyle)
{
    const std::string fill = "fill --root " + dir.Folder() + " --pattern 1 --seed 42 --style ";
    const std::string styles[] = {"Styles/Test.zas", dir.File("Styles/Test.zas") + " --tries 4", "Test.zas"};
    std::string first;
    for (const std::string& style : styles) {
        const test::ToolResult result = test::RunTool(fill + style + " --out " + dir.File("out.zag"));
        ASSERT_EQ(result.exitCode, 0) << result.output;
        EXPECT_EQ(result.output.rfind("filled: pattern 1, Test.zas, tries ", 0), 0u) << result.output;
        const std::string game = test::FileBytes(dir.File("out.zag"));
        EXPECT_FALSE(game.empty());
        if (first.empty())
            first = game;
        EXPECT_EQ(game, first) << style;
    }
}

} // namespace
} // namespace pelorin
