#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"
#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>
#include <sys/wait.h>

namespace pelorin {
namespace {

namespace fs = std::filesystem;

struct ToolResult {
    int exitCode = -1;
    std::string output; ///< stdout and stderr together
};

// Runs the tool with a settings folder of the test's own.
ToolResult RunTool(const std::string& configFolder, const std::string& arguments)
{
    ToolResult result;
    const std::string commandLine = "XDG_CONFIG_HOME=" + configFolder + " " + PELORIN_TOOL + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(commandLine.c_str(), "r");
    char buffer[4096];
    for (size_t got = 0; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, got);
    const int status = pipe ? pclose(pipe) : -1;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// A root whose dictionary holds every word of 2 to 8 letters over A, B and C, so
// grids of all those lengths fill at once.
class PrepareCommandTest : public ::testing::Test {
protected:
    PrepareCommandTest()
    {
        for (const char* folder : {"Styles", "Cache", "Config"})
            fs::create_directory(root_.Path() / folder);
        std::vector<std::string> words;
        for (int length = 2; length <= 8; ++length) {
            std::string word(static_cast<size_t>(length), 'A');
            for (;;) {
                words.push_back(word);
                int i = length - 1;
                while (i >= 0 && word[static_cast<size_t>(i)] == 'C')
                    word[static_cast<size_t>(i--)] = 'A';
                if (i < 0)
                    break;
                ++word[static_cast<size_t>(i)];
            }
        }
        test::WriteDictionary(root_.Folder(), test::PlainWords(words));
        EXPECT_TRUE(dictionary_.Load(root_.Folder()));
    }

    void AddStyle(const std::string& fileName)
    {
        Style style(dictionary_);
        for (int32_t i = 0; i < dictionary_.Count(); ++i)
            style.MarkWord(i);
        style.BuildWordList();
        ASSERT_TRUE(style.SaveFile(root_.File("Styles/" + fileName)));
    }

    ToolResult Prepare(const std::string& options)
    {
        return RunTool(root_.File("Config"), "prepare --root " + root_.Folder() + " " + options);
    }

    test::TempDir root_;
    Dictionary dictionary_;
};

TEST_F(PrepareCommandTest, FillsTheCacheOfEveryStyleAndReportsEachFile)
{
    AddStyle("Quick.zas");
    AddStyle("My.Style.zas");
    ToolResult result = Prepare("--timeout 120");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    for (const char* name : {"Quick_0.zac", "Quick_1.zac", "Quick_2.zac", "My.Style_0.zac", "My.Style_1.zac",
                             "My.Style_2.zac"})
        EXPECT_TRUE(fs::exists(root_.File(std::string("Cache/") + name))) << name;
    EXPECT_NE(result.output.find("Prepared 6 of 6 games"), std::string::npos) << result.output;
    EXPECT_THAT(result.output, ::testing::ContainsRegex("Quick\\.zas +2 +made"));

    result = Prepare("");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_THAT(result.output, ::testing::ContainsRegex("My\\.Style\\.zas +0 +ready"));
    EXPECT_EQ(result.output.find("made"), std::string::npos) << result.output;
}

} // namespace
} // namespace pelorin
