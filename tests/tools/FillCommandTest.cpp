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

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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

TEST_F(FillCommandTest, SameSeedWritesTheSameGame)
{
    const std::string fill = "fill --root " + dir.Folder() + " --pattern 1 --seed 42 --style ";
    const test::ToolResult first = test::RunTool(fill + "Styles/Test.zas --out " + dir.File("a.zag"));
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_EQ(first.output.rfind("filled: pattern 1, Test.zas, tries ", 0), 0u) << first.output;
    // The style may also be named by its path.
    const test::ToolResult second =
        test::RunTool(fill + dir.File("Styles/Test.zas") + " --tries 4 --out " + dir.File("b.zag"));
    ASSERT_EQ(second.exitCode, 0) << second.output;
    const std::string game = ReadAll(dir.File("a.zag"));
    EXPECT_FALSE(game.empty());
    EXPECT_EQ(game, ReadAll(dir.File("b.zag")));
}

// A bare file name is a style of the root's Styles folder, the way the game lists
// styles; it must not be looked for at the top of the file system.
TEST_F(FillCommandTest, BareStyleNameIsFoundInTheStylesFolder)
{
    const std::string fill = "fill --root " + dir.Folder() + " --pattern 1 --seed 42 --style ";
    const test::ToolResult byPath = test::RunTool(fill + "Styles/Test.zas --out " + dir.File("a.zag"));
    ASSERT_EQ(byPath.exitCode, 0) << byPath.output;
    const test::ToolResult byName = test::RunTool(fill + "Test.zas --out " + dir.File("b.zag"));
    ASSERT_EQ(byName.exitCode, 0) << byName.output;
    EXPECT_EQ(byName.output.rfind("filled: pattern 1, Test.zas, tries ", 0), 0u) << byName.output;
    EXPECT_EQ(ReadAll(dir.File("a.zag")), ReadAll(dir.File("b.zag")));
}

} // namespace
} // namespace pelorin
