#include "support/DictionaryFile.h"
#include "support/StyleFile.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gmock/gmock.h>
#include <filesystem>
#include <numeric>

namespace pelorin {
namespace {
namespace fs = std::filesystem;

// A root whose dictionary holds every word of 2 to 8 letters over A, B and C, so
// grids of all those lengths fill at once.
class PrepareCommandTest : public ::testing::Test {
protected:
    PrepareCommandTest()
    {
        for (const char* folder : {"Styles", "Cache", "Config"})
            fs::create_directory(root_.Path() / folder);
        test::WriteDictionary(root_.Folder(), test::PlainWords(words_));
    }
    void AddStyle(const std::string& fileName)
    {
        test::TestStyle style;
        style.words.resize(words_.size());
        std::iota(style.words.begin(), style.words.end(), 0);
        ASSERT_TRUE(style.WriteTo(root_.File("Styles/" + fileName)));
    }
    test::ToolResult Prepare(const std::string& options)
    {
        return test::RunTool("prepare --root " + root_.Folder() + " " + options, root_.File("Config"));
    }
    const std::vector<std::string> words_ = test::AbcWords(2, 8);
    test::TempDir root_;
};

// Every style's cache is filled and reported; a damaged file is named, removed and
// made again; the user's settings are never written.
TEST_F(PrepareCommandTest, FillsTheCacheOfEveryStyleAndRemakesADamagedFile)
{
    AddStyle("Quick.zas");
    AddStyle("My.Style.zas");
    ASSERT_TRUE(test::WriteFileBytes(root_.File("Cache/Quick_1.zac"), "not a game"));
    test::ToolResult result = Prepare("--timeout 120");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    for (const char* name : {"Quick_0.zac", "Quick_1.zac", "Quick_2.zac", "My.Style_0.zac", "My.Style_1.zac",
                             "My.Style_2.zac"})
        EXPECT_GT(test::FileBytes(root_.File(std::string("Cache/") + name)).size(), 100u) << name;
    EXPECT_NE(result.output.find("Prepared 6 of 6 games"), std::string::npos) << result.output;
    const std::string removed = root_.File("Cache/Quick_1.zac") + ": not a game file of version 56; removed\n";
    EXPECT_NE(result.output.find("pelorin-tool: " + removed), std::string::npos) << result.output;
    EXPECT_THAT(result.output, ::testing::ContainsRegex("Quick\\.zas +1 +made"));
    EXPECT_TRUE(fs::is_empty(root_.File("Config")));
    result = Prepare("");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_THAT(result.output, ::testing::ContainsRegex("My\\.Style\\.zas +0 +ready"));
    EXPECT_EQ(result.output.find("made"), std::string::npos) << result.output;
}
} // namespace
} // namespace pelorin
