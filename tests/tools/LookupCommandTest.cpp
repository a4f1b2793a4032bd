#include "support/DictionaryFile.h"
#include "support/GameFileBytes.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>
#include <filesystem>

namespace pelorin {
namespace {
// CAT, GEESE and GOOSE; GEESE is the plural of GOOSE, which is kind 1. CAT's definition holds an escape sequence.
class DictionaryCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
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

// Control characters of definitions are printed visibly. A damaged dictionary is
// told apart from a file of another kind.
TEST_F(DictionaryCommandsTest, LookupPrintsFoundWordsOrWhyTheDictionaryDidNotLoad)
{
    const std::string lookup = "lookup --root " + dir.Folder();
    EXPECT_EQ(test::RunTool(lookup + " Cat geese xyzzy").Outcome(),
              std::tuple(0, "Cat: found, word index 0, form 0 (plain)\n  0\tfeline?[8m hidden\n"
                            "geese: found, word index 1, form 3 (plural)\n  10\tdefinition of GOOSE\nxyzzy: not found\n"));
    const std::string path = dir.File("Zanth.dct");
    const std::string whole = test::FileBytes(path);
    test::ByteImage other;
    other.Int32(55);
    for (const auto& [bytes, error] : {std::pair{whole.substr(0, whole.size() / 2), "a damaged dictionary file"},
                                       std::pair{other.Bytes(), "not a dictionary file of version 54"}}) {
        ASSERT_TRUE(test::WriteFileBytes(path, bytes));
        EXPECT_EQ(test::RunTool(lookup + " cat").Outcome(), std::tuple(1, "pelorin-tool: " + path + ": " + error + "\n"));
    }
}

// Summary shows the dictionary's path, count, stamp and samples, and names every
// style file it could not read, and fails, rather than leave it out of the list.
TEST_F(DictionaryCommandsTest, SummaryShowsTheDictionaryAndNamesUnreadableStyles)
{
    std::filesystem::create_directories(dir.File("Styles/Folder.zas"));
    ASSERT_TRUE(test::WriteFileBytes(dir.File("Styles/Empty.zas"), ""));
    ASSERT_TRUE(test::WriteFileBytes(dir.File("Styles/Game.zas"), test::GameBytes(test::SampleGame())));
    const test::ToolResult result = test::RunTool("summary --root " + dir.Folder());
    EXPECT_EQ(result.exitCode, 1) << result.output;
    const std::string styles = dir.File("Styles/");
    for (const std::string& line : {"Dictionary: " + dir.Folder() + "Zanth.dct\n", std::string("Words: 3\nStamp: 1234\n"),
                                    std::string("geese      word 1, plural: definition of GOOSE\n"),
                                    std::string("hopping    not found\n"),
                                    "pelorin-tool: " + styles + "Empty.zas: not a style file of version 55\n",
                                    "pelorin-tool: " + styles + "Folder.zas: Is a directory\n",
                                    "pelorin-tool: " + styles + "Game.zas: not a style file of version 55\n",
                                    std::string("Styles: 0\n  and 3 that could not be read\n")})
        EXPECT_NE(result.output.find(line), std::string::npos) << line << result.output;
}
} // namespace
} // namespace pelorin
