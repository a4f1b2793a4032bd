#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#include <sys/wait.h>

namespace pelorin {
namespace {

struct ToolResult {
    int exitCode = -1;
    std::string output; ///< stdout and stderr together
};

ToolResult RunTool(const std::string& arguments)
{
    ToolResult result;
    const std::string commandLine = std::string(PELORIN_TOOL) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

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
        std::vector<std::string> words;
        for (size_t length = 2; length <= 7; ++length) {
            std::string word(length, 'A');
            for (;;) {
                words.push_back(word);
                size_t p = length;
                while (p > 0 && word[p - 1] == 'D')
                    word[--p] = 'A';
                if (p == 0)
                    break;
                ++word[p - 1];
            }
        }
        test::WriteDictionary(dir.Folder(), test::PlainWords(words));
        std::filesystem::create_directory(dir.File("Styles"));
        auto dictionary = std::make_unique<Dictionary>();
        ASSERT_TRUE(dictionary->Load(dir.Folder()));
        Style style(*dictionary);
        for (int32_t i = 0; i < dictionary->Count(); i += 2)
            style.MarkWord(i);
        style.BuildWordList();
        ASSERT_TRUE(style.SaveFile(dir.File("Styles/Test.zas")));
        Style empty(*dictionary);
        empty.BuildWordList();
        ASSERT_TRUE(empty.SaveFile(dir.File("Styles/Empty.zas")));
    }

    std::string Fill(const std::string& style, const std::string& out, const std::string& more = "")
    {
        return "fill --root " + dir.Folder() + " --style " + style + " --pattern 1 --out " + out + " " + more;
    }

    test::TempDir dir;
};

TEST_F(FillCommandTest, SameSeedWritesTheSameGame)
{
    const ToolResult first = RunTool(Fill("Styles/Test.zas", dir.File("a.zag"), "--seed 42"));
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_EQ(first.output.rfind("filled: pattern 1, Test.zas, tries ", 0), 0u) << first.output;
    // The style may also be named by its path.
    const ToolResult second = RunTool(Fill(dir.File("Styles/Test.zas"), dir.File("b.zag"), "--seed 42 --tries 4"));
    ASSERT_EQ(second.exitCode, 0) << second.output;
    const std::string game = ReadAll(dir.File("a.zag"));
    EXPECT_FALSE(game.empty());
    EXPECT_EQ(game, ReadAll(dir.File("b.zag")));
}

TEST_F(FillCommandTest, UnfillableStyleReportsFailureAndWritesNothing)
{
    const ToolResult result = RunTool(Fill("Styles/Empty.zas", dir.File("c.zag"), "--seed 1 --tries 1"));
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_EQ(result.output.rfind("not filled: pattern 1, Empty.zas, tries 1, passes 2000, ", 0), 0u)
        << result.output;
    EXPECT_FALSE(FileExists(dir.File("c.zag")));
}

TEST_F(FillCommandTest, BadArgumentsPrintTheUsage)
{
    const std::string root = "--root " + dir.Folder() + " --style Styles/Test.zas ";
    for (const std::string& arguments :
         {root + "--pattern 0", root + "--pattern 4 --out x.zag", root + "--pattern 0 --seed -1 --out x.zag",
          root + "--pattern 0 --tries 0 --out x.zag", root + "--pattern one --out x.zag",
          root + "--pattern 0 --out x.zag extra"}) {
        const ToolResult result = RunTool("fill " + arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments;
        EXPECT_NE(result.output.find("usage: pelorin-tool fill "), std::string::npos) << result.output;
    }
}

} // namespace
} // namespace pelorin
