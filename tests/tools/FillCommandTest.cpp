#include "app/AppData.h"
#include "game/GameFile.h"
#include "game/PuzzleCode.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace pelorin {
namespace {

// A root with a dictionary of the words of 2 to 7 letters over ABCD, and a style
// of every other one of them, saved under Styles/.
class FillCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        test::WriteDictionary(dir.Folder(), test::PlainWords(test::AbcWords(2, 7, 'D')));
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

// The same seed writes the same game however the style is named: a path means
// what the shell means, relative to the current folder, and a bare name that is no
// file here is a style of the root's Styles folder, with or without its extension.
TEST_F(FillCommandTest, SameSeedWritesTheSameGameWhateverNamesTheStyle)
{
    const std::filesystem::path root = dir.Path();
    const std::string fill = test::RunToolCommand() + " fill --pattern 1 --seed 42 --out " + dir.File("out.zag");
    const std::string runs[] = {
        "cd " + dir.File("Styles") + " && " + fill + " --root " + dir.Folder() + " --style ./Test.zas",
        "cd " + root.parent_path().string() + " && " + fill + " --root " + root.filename().string() + " --style " +
            root.filename().string() + "/Styles/Test.zas",
        "cd / && " + fill + " --root=" + dir.Folder() + " --style Test.zas --tries 4",
        "cd / && " + fill + " --root " + dir.Folder() + " --style Test",
    };
    std::string first;
    for (const std::string& run : runs) {
        const test::ToolResult result = test::RunCommand(run);
        ASSERT_EQ(result.exitCode, 0) << run << "\n" << result.output;
        EXPECT_EQ(result.output.rfind("filled: pattern 1, Test.zas, tries ", 0), 0u) << result.output;
        const std::string game = test::FileBytes(dir.File("out.zag"));
        EXPECT_FALSE(game.empty());
        if (first.empty())
            first = game;
        EXPECT_EQ(game, first) << run;
    }
}

// Where the games go is checked before any is made, a game is never written over
// its own style, and a style that is not there is named where it was looked for.
TEST_F(FillCommandTest, RefusesAnOutputItCannotWriteBeforeFilling)
{
    const std::string fill = "fill --root " + dir.Folder() + " --pattern 1 --style ";
    const std::string missing = ": No such file or directory\n";
    const struct {
        std::string arguments;
        std::string error;
    } cases[] = {
        {"Test --out " + dir.Folder(), dir.Folder() + ": Is a directory\n"},
        {"Test --out " + dir.File("none/out.zag"), dir.File("none/out.zag") + missing},
        {"Test --count 2 --out " + dir.File("Styles/Test.zas"), dir.File("Styles/Test.zas") + ": Not a directory\n"},
        {"Test --out " + dir.File("Styles/./Test.zas"),
         dir.File("Styles/./Test.zas") + ": the same file as the input " + dir.File("Styles/Test.zas") +
             "; nothing written\n"},
        {"Nothing --out " + dir.File("out.zag"), dir.File("Styles/Nothing.zas") + missing},
        {"./Test --out " + dir.File("out.zag"), "./Test" + missing},
    };
    for (const auto& [arguments, error] : cases) {
        const test::ToolResult result = test::RunTool(fill + arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments;
        EXPECT_EQ(result.output, "pelorin-tool: " + error) << arguments;
    }
}

// A batch makes each seed's game on its own thread into a file named after the
// style, pattern and seed, and each must be the game a single fill of that seed
// makes: users check batches against single fills and against other machines.
TEST_F(FillCommandTest, BatchWritesEverySeedsGameAsASingleFillDoes)
{
    const std::string fill = "fill --root " + dir.Folder() + " --style Test.zas --pattern 1 ";
    const test::ToolResult batch = test::RunTool(fill + "--seed 40 --count 3 --jobs 2 --out " + dir.File("batch"));
    ASSERT_EQ(batch.exitCode, 0) << batch.output;
    EXPECT_NE(batch.output.find("filled 3 of 3: pattern 1, Test.zas, seeds 40 to 42, jobs 2, time "),
              std::string::npos)
        << batch.output;
    EXPECT_NE(batch.output.find(" games/s\n"), std::string::npos) << batch.output;
    EXPECT_NE(batch.output.find("fill: 3 of 3 games"), std::string::npos) << batch.output;
    for (int seed = 40; seed <= 42; ++seed) {
        const std::string single = dir.File("single.zag");
        ASSERT_EQ(test::RunTool(fill + "--seed " + std::to_string(seed) + " --out " + single).exitCode, 0);
        EXPECT_EQ(test::FileBytes(dir.File("batch/Test_1_" + std::to_string(seed) + ".zag")), test::FileBytes(single)) << seed;
    }
}

// Seeds that do not fill are named and make the batch fail, so a script never
// takes a short batch for a whole one.
TEST_F(FillCommandTest, BatchReportsSeedsThatDidNotFill)
{
    // Pattern 3 has entries of 8 cells and the style has no such words.
    const std::string fill = "fill --root " + dir.Folder() + " --style Test.zas ";
    const test::ToolResult failed =
        test::RunTool(fill + "--pattern 3 --tries 1 --seed 5 --count 2 --out " + dir.File("failed"));
    EXPECT_EQ(failed.exitCode, 1) << failed.output;
    EXPECT_NE(failed.output.find("filled 0 of 2"), std::string::npos) << failed.output;
    EXPECT_NE(failed.output.find("not filled: seeds 5, 6 (tries 1 each)"), std::string::npos) << failed.output;
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("failed")));
}

// The puzzle of the day and the puzzle of its code are one game, byte for byte, in
// the tool and in the window's path (AppData), so that players on other machines
// and on the command line share it; a code of another style or edition is refused.
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
    const auto windowBytes = [&] {
        EXPECT_TRUE(SaveGame(dir.File("window.zag"), app.CurrentGame()));
        return test::FileBytes(dir.File("window.zag"));
    };
    std::string reason;
    ASSERT_TRUE(app.MakeDailyPuzzle({2026, 12, 9}, reason)) << reason;
    EXPECT_EQ(app.currentCode, code);
    EXPECT_EQ(windowBytes(), dailyBytes);
    PuzzleCode read;
    ASSERT_TRUE(ParseCode(code, read, reason)) << reason;
    ASSERT_TRUE(app.MakePuzzle(read, reason)) << reason;
    EXPECT_EQ(windowBytes(), dailyBytes);

    PuzzleCode other = read;
    other.stamp ^= 1;
    EXPECT_FALSE(app.MakePuzzle(other, reason));
    EXPECT_NE(reason.find("another version of the style Quotations"), std::string::npos) << reason;
    other.style = "Nothing";
    EXPECT_FALSE(app.MakePuzzle(other, reason));
    EXPECT_NE(reason.find("the style Nothing, which this computer does not have"), std::string::npos) << reason;

    const struct {
        std::string arguments;
        int exitCode;
        std::string error;
    } refused[] = {
        {"--code " + FormatCode(PuzzleCode{"Test", static_cast<uint16_t>(read.stamp ^ 1u), 2, 7}), 1, "another version of the style Test"},
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
