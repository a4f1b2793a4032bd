#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <regex>
#include <sstream>

namespace pelorin {
namespace {
namespace fs = std::filesystem;

// Without blanks and hyphens: the PDF wraps clues where it likes, and pdftotext
// joins a word broken after its hyphen.
std::string Squeezed(const std::string& text) { return std::regex_replace(text, std::regex("[\\s-]+"), ""); }

// A real game of the default data, exported as a player would print it.
class ExportCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        game = dir.File("Quotations 7.zag");
        const test::ToolResult fill = test::RunTool(std::string("fill --root ") + PELORIN_DATA_ROOT +
                                                    " --style Quotations.zas --pattern 0 --seed 7 --out '" + game + "'");
        ASSERT_EQ(fill.exitCode, 0) << fill.output;
    }
    // The clue lines of `show`, as "(note) clue", without their numbers and answers.
    std::vector<std::string> Clues() const
    {
        const std::string shown = test::RunTool("show '" + game + "'").output;
        const std::regex line(R"(^\d+\. \t (.*)  \[[A-Z ]*\]( given up)?$)");
        std::vector<std::string> clues;
        std::istringstream lines(shown);
        std::smatch match;
        for (std::string text; std::getline(lines, text);)
            if (std::regex_match(text, match, line))
                clues.push_back(Squeezed(match[1]));
        return clues;
    }
    // Exports with the locale variables given, and no others.
    test::ToolResult Export(const std::string& pdf, const std::string& locale, bool solution,
                            const std::string& from = "") const
    {
        return test::RunCommand("env -u LC_ALL -u LC_PAPER -u LANG " + locale + " " + PELORIN_TOOL + " export '" +
                                (from.empty() ? game : from) + "' --pdf '" + pdf + "'" +
                                (solution ? " --solution" : ""));
    }
    test::TempDir dir;
    std::string game;
};

// Page 1 holds every clue with its note; the solution adds one page; the paper is
// the one of the locale for paper (LC_PAPER, else LANG), whatever the locale measures in.
TEST_F(ExportCommandTest, PageOneHoldsEveryClueAndTheSolutionIsOnePageMore)
{
    const std::vector<std::string> clues = Clues();
    ASSERT_GT(clues.size(), 30u);
    const std::string pdf = dir.File("puzzle.pdf");
    for (const auto& [locale, solution, pages, paper] :
         {std::tuple{"LC_ALL=C", true, 2, "(A4)"}, {"LC_ALL=en_US.UTF-8", false, 1, "(letter)"},
          {"LANG=en_GB.UTF-8 LC_PAPER=en_CA.UTF-8", false, 1, "(letter)"},
          {"LANG=en_US.UTF-8 LC_MEASUREMENT=en_GB.UTF-8", false, 1, "(letter)"}}) {
        const test::ToolResult result = Export(pdf, locale, solution);
        ASSERT_EQ(result.exitCode, 0) << result.output;
        const std::string info = test::RunCommand("pdfinfo '" + pdf + "'").output;
        EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +" + std::to_string(pages) + "\n"))) << info;
        EXPECT_NE(info.find(paper), std::string::npos) << info;
        const std::string text = Squeezed(test::RunCommand("pdftotext -f 1 -l 1 '" + pdf + "' -").output);
        for (const std::string& clue : clues)
            EXPECT_NE(text.find(clue), std::string::npos) << clue;
        EXPECT_NE(text.find("Quotations7"), std::string::npos) << "the title is the game's name";
    }
}

// A name too long for the title line is cut short, and the solution page still says it is the solution.
TEST_F(ExportCommandTest, ALongNameIsCutShortButNotTheSolutionMark)
{
    const std::string name = "A game with a name much longer than any line of the page could ever hold whole";
    const std::string copy = dir.File(name + ".zag");
    fs::copy_file(game, copy);
    const std::string pdf = dir.File("long.pdf");
    ASSERT_EQ(Export(pdf, "LC_ALL=C", true, copy).exitCode, 0);
    const std::string solution = test::RunCommand("pdftotext -f 2 -l 2 '" + pdf + "' -").output;
    EXPECT_NE(solution.find(": solution"), std::string::npos) << solution;
    EXPECT_EQ(solution.find("hold whole"), std::string::npos) << solution;
}

// A failed export says where and why and leaves no file behind; the game itself, by
// its name or through a link, is never a target.
TEST_F(ExportCommandTest, FailureNamesThePathAndLeavesNothingBehind)
{
    const std::string readOnly = dir.File("kept.pdf");
    ASSERT_TRUE(test::WriteFileBytes(readOnly, "old"));
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string missingFolder = dir.File("gone/puzzle.pdf");
    const std::string link = dir.File("link.pdf");
    fs::create_symlink(game, link);
    const std::string gameBytes = test::FileBytes(game);
    for (const std::string& target : {readOnly, missingFolder, game, link}) {
        const test::ToolResult result = Export(target, "LC_ALL=C", true);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.output.rfind("pelorin-tool: " + target + ": ", 0), 0u) << result.output;
    }
    EXPECT_EQ(std::tuple(test::FileBytes(readOnly), test::FileBytes(game)), std::tuple("old", gameBytes));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 3);
}
} // namespace
} // namespace pelorin
