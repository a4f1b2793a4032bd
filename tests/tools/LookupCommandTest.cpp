#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>
#include <sys/wait.h>

namespace pelorin {
namespace {

using test::TestRecord;

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

class DictionaryCommandsTest : public ::testing::Test {
protected:
    void WriteSample()
    {
        std::vector<TestRecord> records = test::PlainWords({"CAT", "GOOSE", "GEESE"});
        // Sorted: CAT, GEESE, GOOSE. GEESE is the plural of GOOSE, kind 1.
        records[1].definitions.clear();
        records[1].baseIndex = 2;
        records[1].form = 3;
        records[2].kind = 1;
        test::WriteDictionary(dir.Folder(), records);
    }

    test::TempDir dir;
};

TEST_F(DictionaryCommandsTest, LookupPrintsFoundWordsWithCollectedDefinitions)
{
    WriteSample();
    const ToolResult result = RunTool("lookup --root " + dir.Folder() + " Cat geese xyzzy");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, "Cat: found, word index 0, form 0 (plain)\n"
                             "  0\tdefinition of CAT\n"
                             "geese: found, word index 1, form 3 (plural)\n"
                             "  10\tdefinition of GOOSE\n"
                             "xyzzy: not found\n");
}

TEST_F(DictionaryCommandsTest, CommandsFailClearlyWhenTheDictionaryDoesNotLoad)
{
    const ToolResult missing = RunTool("lookup --root " + dir.Folder() + " cat");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("Opening Dictionary: Cannot open project file"), std::string::npos)
        << missing.output;
    EXPECT_NE(missing.output.find("did not load"), std::string::npos) << missing.output;

    test::ByteImage damaged;
    damaged.Int32(55);
    ASSERT_TRUE(damaged.WriteTo(dir.File("Zanth.dct")));
    for (const char* command : {"lookup --root ", "summary --root "}) {
        const ToolResult result = RunTool(command + dir.Folder() + " " + (command[0] == 'l' ? "cat" : ""));
        EXPECT_EQ(result.exitCode, 1) << command;
        EXPECT_NE(result.output.find("damaged"), std::string::npos) << result.output;
    }
}

TEST_F(DictionaryCommandsTest, BadArgumentsGiveUsage)
{
    WriteSample();
    const std::vector<std::string> bad = {"lookup",         "lookup cat", "lookup --root", "lookup --root " + dir.Folder(),
                                          "lookup --rot x cat", "summary", "summary --root " + dir.Folder() + " x"};
    for (const std::string& arguments : bad) {
        const ToolResult result = RunTool(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments;
        EXPECT_NE(result.output.find("usage: pelorin-tool"), std::string::npos) << arguments << result.output;
    }
}

TEST_F(DictionaryCommandsTest, SummaryShowsPathCountStampAndSamples)
{
    WriteSample();
    const ToolResult result = RunTool("summary --root " + dir.Folder());
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("Dictionary: " + dir.Folder() + "Zanth.dct\n"), std::string::npos);
    EXPECT_NE(result.output.find("Words: 3\nStamp: 1234\n"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("geese      word 1, plural: definition of GOOSE\n"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("hopping    not found\n"), std::string::npos) << result.output;
}

} // namespace
} // namespace pelorin
