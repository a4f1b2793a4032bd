#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    std::FILE* pipe = popen((std::string(PELORIN_TOOL) + " " + arguments + " 2>&1").c_str(), "r");
    char buffer[4096];
    for (size_t got = 0; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, got);
    const int status = pipe ? pclose(pipe) : -1;
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
    const ToolResult first = RunTool(fill + "Styles/Test.zas --out " + dir.File("a.zag"));
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_EQ(first.output.rfind("filled: pattern 1, Test.zas, tries ", 0), 0u) << first.output;
    // The style may also be named by its path.
    const ToolResult second = RunTool(fill + dir.File("Styles/Test.zas") + " --tries 4 --out " + dir.File("b.zag"));
    ASSERT_EQ(second.exitCode, 0) << second.output;
    const std::string game = ReadAll(dir.File("a.zag"));
    EXPECT_FALSE(game.empty());
    EXPECT_EQ(game, ReadAll(dir.File("b.zag")));
}

} // namespace
} // namespace pelorin
