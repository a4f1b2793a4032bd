#include "app/AppData.h"
#include "game/GameFile.h"
#include "support/DictionaryFile.h"
#include "support/StyleFile.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <QSettings>
#include <gtest/gtest.h>
#include <filesystem>

namespace pelorin {
namespace {
// A dictionary of the words of 2 to 7 letters over ABCD, and Styles/Test.zas of every other one of them.
class FillCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        const std::vector<std::string> words = test::AbcWords(2, 7, 'D');
        test::WriteDictionary(dir.Folder(), test::PlainWords(words));
        std::filesystem::create_directory(dir.File("Styles"));
        test::TestStyle style;
        for (int32_t i = 0; i < static_cast<int32_t>(words.size()); i += 2)
            style.words.push_back(i);
        ASSERT_TRUE(style.WriteTo(dir.File("Styles/Test.zas")));
    }
    test::TempDir dir;
};

// The same seed writes the same game however the style is named: a path as the
// shell means it, or a name of the root's Styles folder (one without its extension
// is the style commands' test).
TEST_F(FillCommandTest, SameSeedWritesTheSameGameWhateverNamesTheStyle)
{
    const std::string fill = std::string(PELORIN_TOOL) + " fill --pattern 1 --seed 42 --out " + dir.File("out.zag");
    const std::string runs[] = {
        "cd " + dir.File("Styles") + " && " + fill + " --root " + dir.Folder() + " --style ./Test.zas",
        "cd / && " + fill + " --root=" + dir.Folder() + " --style Test.zas --tries 4",
    };
    std::string first;
    for (const std::string& run : runs) {
        const test::ToolResult result = test::RunCommand(run);
        ASSERT_EQ(result.exitCode, 0) << run << "\n" << result.output;
        EXPECT_EQ(result.output.rfind("filled: pattern 1, Test.zas, tries ", 0), 0u) << result.output;
        const std::string game = test::FileBytes(dir.File("out.zag"));
        first = first.empty() ? game : first;
        EXPECT_EQ(game, first) << run;
    }
}

// Where the games go is checked before any is made, a game is never written over
// its own style, and a style that is not there is named where it was looked for.
TEST_F(FillCommandTest, RefusesAnOutputItCannotWriteBeforeFilling)
{
    const std::string fill = "fill --root " + dir.Folder() + " --pattern 1 --style ";
    const std::string missing = ": No such file or directory\n";
    const std::pair<std::string, std::string> cases[] = {
        {"Test --out " + dir.Folder(), dir.Folder() + ": Is a directory\n"},
        {"Test --count 2 --out " + dir.File("Styles/Test.zas"), dir.File("Styles/Test.zas") + ": Not a directory\n"},
        {"Test --out " + dir.File("Styles/./Test.zas"),
         dir.File("Styles/./Test.zas") + ": the same file as the input " + dir.File("Styles/Test.zas") +
             "; nothing written\n"},
        {"Nothing --out " + dir.File("out.zag"), dir.File("Styles/Nothing.zas") + missing},
        {"./Test --out " + dir.File("out.zag"), "./Test" + missing},
    };
    for (const auto& [arguments, error] : cases)
        EXPECT_EQ(test::RunTool(fill + arguments).Outcome(), std::tuple(1, "pelorin-tool: " + error)) << arguments;
}

// A batch writes each seed's game, on threads, as a file named after the style,
// pattern and seed: the game a single fill of that seed makes. Seeds that do not
// fill are named and fail the batch, so a script never takes a short batch for whole.
TEST_F(FillCommandTest, BatchWritesEachSeedsGameOrNamesTheSeedsThatDidNotFill)
{
    const std::string fill = "fill --root " + dir.Folder() + " --style Test.zas --pattern 1 ";
    const test::ToolResult batch = test::RunTool(fill + "--seed 40 --count 3 --jobs 2 --out " + dir.File("batch"));
    ASSERT_EQ(batch.exitCode, 0) << batch.output;
    for (const char* line : {"filled 3 of 3: pattern 1, Test.zas, seeds 40 to 42, jobs 2, time ", " games/s\n",
                             "fill: 3 of 3 games"})
        EXPECT_NE(batch.output.find(line), std::string::npos) << batch.output;
    for (int seed = 40; seed <= 42; ++seed) {
        const std::string single = dir.File("single.zag");
        ASSERT_EQ(test::RunTool(fill + "--seed " + std::to_string(seed) + " --out " + single).exitCode, 0);
        const std::string batchFile = dir.File("batch/Test_1_" + std::to_string(seed) + ".zag");
        EXPECT_EQ(test::FileBytes(batchFile), test::FileBytes(single)) << seed;
    }
    // Pattern 3 has entries of 8 cells and the style has no such words.
    const test::ToolResult failed = test::RunTool("fill --root " + dir.Folder() +
                                                  " --style Test.zas --pattern 3 --tries 1 --seed 5 --count 2 --out " +
                                                  dir.File("failed"));
    EXPECT_EQ(failed.exitCode, 1) << failed.output;
    EXPECT_NE(failed.output.find("filled 0 of 2"), std::string::npos) << failed.output;
    EXPECT_NE(failed.output.find("not filled: seeds 5, 6 (tries 1 each)"), std::string::npos) << failed.output;
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("failed")));
}

// The puzzle of the day and of its code are one game, byte for byte, in the tool and
// in the window's path (AppData: its code's game is the preparation test's); a code
// of a style not here is refused.
TEST_F(FillCommandTest, DailyAndCodePuzzlesAreTheWindowsGames)
{
    std::filesystem::copy_file(dir.File("Styles/Test.zas"), dir.File("Styles/Quotations.zas"));
    const std::string fill = "fill --root " + dir.Folder() + " --out " + dir.File("tool.zag") + " ";
    // 2026-12-09 is a Wednesday: pattern 1, which the test style fills.
    const test::ToolResult daily = test::RunTool(fill + "--daily 2026-12-09");
    ASSERT_EQ(daily.exitCode, 0) << daily.output;
    ASSERT_EQ(daily.output.rfind("code Quotations-", 0), 0u) << daily.output;
    const std::string code = daily.output.substr(5, daily.output.find('\n') - 5);
    const std::string dailyBytes = test::FileBytes(dir.File("tool.zag"));
    const test::ToolResult coded = test::RunTool(fill + "--code " + code);
    ASSERT_EQ(coded.exitCode, 0) << coded.output;
    EXPECT_EQ(test::FileBytes(dir.File("tool.zag")), dailyBytes);
    // The window's settings stay in the test's folder.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(dir.File("config")));
    AppData app(dir.Folder());
    app.LoadAtStartup();
    std::string reason;
    ASSERT_TRUE(app.MakeDailyPuzzle({2026, 12, 9}, reason)) << reason;
    ASSERT_TRUE(SaveGame(dir.File("window.zag"), app.CurrentGame()));
    EXPECT_EQ(std::tuple(app.currentCode, test::FileBytes(dir.File("window.zag"))), std::tuple(code, dailyBytes));
    PuzzleCode read;
    ASSERT_TRUE(ParseCode(code, read, reason)) << reason;
    // Another edition of a style the window's test refuses.
    PuzzleCode other = read;
    other.style = "Nothing";
    EXPECT_FALSE(app.MakePuzzle(other, reason));
    EXPECT_NE(reason.find("the style Nothing, which this computer does not have"), std::string::npos) << reason;
    const std::tuple<std::string, int, std::string> refused[] = {
        {"--code " + FormatCode({"Test", static_cast<uint16_t>(read.stamp ^ 1u), 2, 7}), 1,
         "another version of the style Test"},
        {"--code Test-12-2-7", 2, "is not a puzzle code"},
        {"--code " + code + " --seed 3", 2, "--seed does not go with --daily or --code"},
        {"--daily 2026-02-30", 2, "must read YYYY-MM-DD, a real day"},
    };
    for (const auto& [arguments, exitCode, error] : refused) {
        const test::ToolResult result = test::RunTool(fill + arguments);
        EXPECT_EQ(result.exitCode, exitCode) << arguments;
        EXPECT_NE(result.output.find(error), std::string::npos) << arguments << "\n" << result.output;
    }
}
} // namespace
} // namespace pelorin
