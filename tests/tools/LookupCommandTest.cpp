#include "support/DictionaryFile.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelorin {
namespace {

// CAT, GEESE and GOOSE; GEESE is the plural of GOOSE, which is kind 1. CAT's
// definition holds an escape sequence.
class DictionaryCommandsTest : public ::testing::Test {
protected:
    void WriteSample()
    {
        std::vector<test::TestRecord> records = test::PlainWords({"CAT", "GOOSE", "GEESE"});
        records[0].definitions[0].text = "feline\x1b[8m hidden";
        records[1].definitions.clear();
        records[1].baseIndex = 2;
        records[1].form = 3;
        records[2].kind = 1;
        test::WriteDictionary(dir.Folder(), records);
    }

    test::TempDir dir;
};

// Definitions are texts of the file: their control characters are printed visibly.
TEST_F(DictionaryCommandsTest, LookupPrintsFoundWordsWithCollectedDefinitions)
{
    WriteSample();
    const test::ToolResult result = test::RunTool("lookup --root " + dir.Folder() + " Cat geese xyzzy");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, "Cat: found, word index 0, form 0 (plain)\n"
                             "  0\tfeline?[8m hidden\n"
                             "geese: found, word index 1, form 3 (plural)\n"
                             "  10\tdefinition of GOOSE\n"
                             "xyzzy: not found\n");
}

TEST_F(DictionaryCommandsTest, LookupFailsClearlyWhenTheDictionaryDoesNotLoad)
{
    test::ToolResult result = test::RunTool("lookup --root " + dir.Folder() + " cat");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("Opening Dictionary: Cannot open project file"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("did not load"), std::string::npos) << result.output;

    test::ByteImage damaged;
    damaged.Int32(55);
    ASSERT_TRUE(damaged.WriteTo(dir.File("Zanth.dct")));
    result = test::RunTool("lookup --root " + dir.Folder() + " cat");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("damaged"), std::string::npos) << result.output;
}

TEST_F(DictionaryCommandsTest, SummaryShowsPathCountStampAndSamples)
{
    WriteSample();
    const test::ToolResult result = test::RunTool("summary --root " + dir.Folder());
    EXPECT_EQ(result.exitCode, 0) << result.output;
    for (const std::string& line :
         {"Dictionary: " + dir.Folder() + "Zanth.dct\n", std::string("Words: 3\nStamp: 1234\n"),
          std::string("geese      word 1, plural: definition of GOOSE\n"), std::string("hopping    not found\n")})
        EXPECT_NE(result.output.find(line), std::string::npos) << line << result.output;
}

} // namespace
} // namespace pelorin
