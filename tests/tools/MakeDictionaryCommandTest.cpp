#include "lexicon/Dictionary.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace pelorin {
namespace {

struct ToolResult {
    int exitCode = -1;
    std::string output; ///< stdout and stderr together
};

ToolResult RunMakeDictionary(const std::string& arguments)
{
    ToolResult result;
    const std::string commandLine = std::string(PELORIN_TOOL) + " make-dictionary " + arguments + " 2>&1";
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

class MakeDictionaryCommandTest : public ::testing::Test {
protected:
    // The smallest WordNet the command accepts: one noun, one verb and the rest empty.
    void WriteWordNet()
    {
        const std::pair<const char*, const char*> files[] = {
            {"index.noun", "cat n 1 0 1 1 00000001  \n"},
            {"data.noun", "00000001 05 n 01 cat 0 000 | feline mammal; \"the cat sat\"  \n"},
            {"index.verb", "hop v 1 0 1 0 00000002  \n"},
            {"data.verb", "00000002 38 v 01 hop 0 000 | jump lightly  \n"},
            {"index.adj", ""}, {"data.adj", ""}, {"index.adv", ""}, {"data.adv", ""},
            {"cntlist.rev", "cat%1:05:00:: 1 18\n"},
            {"noun.exc", ""},
            {"verb.exc", "hopped hop\nhopping hop\n"},
        };
        for (const auto& [name, text] : files)
            std::ofstream(wordnet.File(name), std::ios::binary) << text;
    }

    test::TempDir wordnet;
    test::TempDir out;
};

TEST_F(MakeDictionaryCommandTest, WritesADictionaryTheGameReads)
{
    WriteWordNet();
    const ToolResult result = RunMakeDictionary("--wordnet " + wordnet.Folder() + " --out " + out.File("Zanth.dct"));
    ASSERT_EQ(result.exitCode, 0) << result.output;
    // CAT, CATS, HOP, HOPPED, HOPPING
    EXPECT_NE(result.output.find("5 words (2 headwords, 3 inflected forms)"), std::string::npos) << result.output;

    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Load(out.Folder()));
    EXPECT_EQ(dictionary.Count(), 5);
    EXPECT_NE(dictionary.Stamp(), 0);
    EXPECT_NE(result.output.find("stamp " + std::to_string(dictionary.Stamp())), std::string::npos);
    EXPECT_EQ(dictionary.Record(dictionary.Find("hopped")).form, kFormPast);
}

TEST_F(MakeDictionaryCommandTest, MissingWordNetFailsWithAMessage)
{
    const ToolResult result = RunMakeDictionary("--wordnet " + wordnet.File("none") + " --out " + out.File("Zanth.dct"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("no WordNet folder"), std::string::npos) << result.output;

    // A folder without the files names the first one missing.
    const ToolResult empty = RunMakeDictionary("--wordnet " + wordnet.Folder() + " --out " + out.File("Zanth.dct"));
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.output.find("index.noun"), std::string::npos) << empty.output;
    EXPECT_FALSE(std::ifstream(out.File("Zanth.dct")).good());
}

TEST_F(MakeDictionaryCommandTest, UnwritableOutputFailsWithAMessage)
{
    WriteWordNet();
    const ToolResult result =
        RunMakeDictionary("--wordnet " + wordnet.Folder() + " --out " + out.File("missing/Zanth.dct"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("cannot write"), std::string::npos) << result.output;
}

TEST_F(MakeDictionaryCommandTest, MissingOptionIsAUsageError)
{
    const ToolResult result = RunMakeDictionary("--wordnet " + wordnet.Folder());
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.output.find("usage: pelorin-tool make-dictionary"), std::string::npos) << result.output;
}

} // namespace
} // namespace pelorin
