#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
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

// CAT, GEESE and GOOSE; GEESE is the plural of GOOSE, which is kind 1.
class DictionaryCommandsTest : public ::testing::Test {
protected:
    void WriteSample()
    {
        std::vector<test::TestRecord> records = test::PlainWords({"CAT", "GOOSE", "GEESE"});
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

TEST_F(DictionaryCommandsTest, LookupFailsClearlyWhenTheDictionaryDoesNotLoad)
{
    ToolResult result = RunTool("lookup --root " + dir.Folder() + " cat");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("Opening Dictionary: Cannot open project file"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("did not load"), std::string::npos) << result.output;

    test::ByteImage damaged;
    damaged.Int32(55);
    ASSERT_TRUE(damaged.WriteTo(dir.File("Zanth.dct")));
    result = RunTool("lookup --root " + dir.Folder() + " cat");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("damaged"), std::string::npos) << result.output;
}

TEST_F(DictionaryCommandsTest, SummaryShowsPathCountStampAndSamples)
{
    WriteSample();
    const ToolResult result = RunTool("summary --root " + dir.Folder());
    EXPECT_EQ(result.exitCode, 0) << result.output;
    for (const std::string& line :
         {"Dictionary: " + dir.Folder() + "Zanth.dct\n", std::string("Words: 3\nStamp: 1234\n"),
          std::string("geese      word 1, plural: definition of GOOSE\n"), std::string("hopping    not found\n")})
        EXPECT_NE(result.output.find(line), std::string::npos) << line << result.output;
}

// Every command checks its arguments before reading anything, and a mistake gives
// that command's usage and exit code 2.
TEST(ToolUsageTest, BadArgumentsGiveTheCommandsUsage)
{
    const std::string root = "--root /nonexistent/ ";
    const std::vector<std::string> bad = {
        "lookup", "lookup " + root, "lookup --rot x cat", "summary " + root + "x", "make-dictionary --wordnet x",
          "make-style --description x --out x.zas", "style " + root, "style " + root + "x.zas --quotes",
          "fill " + root + "--style x.zas --pattern 0", "fill " + root + "--style x.zas --pattern 4 --out x.zag",
          "fill " + root + "--style x.zas --pattern one --out x.zag",
          "fill " + root + "--style x.zas --pattern 0 --seed -1 --out x.zag",
          "fill " + root + "--style x.zas --pattern 0 --tries 0 --out x.zag",
          "fill " + root + "--style x.zas --pattern 0 --out x.zag extra", "show", "show a.zag b.zag",
          "show a.zag --brief", "prepare " + root + "x", "prepare " + root + "--timeout -1"};
    for (const std::string& arguments : bad) {
        const ToolResult result = RunTool(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments;
        const std::string usage = "usage: pelorin-tool " + arguments.substr(0, arguments.find(' ')) + " ";
        EXPECT_NE(result.output.find(usage), std::string::npos) << arguments << "\n" << result.output;
    }
}

} // namespace
} // namespace pelorin
