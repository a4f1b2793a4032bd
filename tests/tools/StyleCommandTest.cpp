#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
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

class StyleCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteDictionary(dir.Folder(), test::PlainWords({"CAT", "COT", "CUT", "DOG", "SAT", "MAT", "THE"}), 42);
        std::filesystem::create_directory(dir.File("Styles"));
        std::ofstream(dir.File("book.txt")) << "The cat sat on the mat.\nA dog cut\nthe cot. No cat here\n";
    }

    ToolResult MakeStyle(const std::string& description, const std::string& out, const std::string& books)
    {
        return RunTool("make-style --root " + dir.Folder() + " --description " + description + " --out " +
                       dir.File(out) + books);
    }

    test::TempDir dir;
};

// The editor's checks come before anything is read or built.
TEST_F(StyleCommandsTest, MakeStyleRefusesLongDescriptionsAndMissingBooks)
{
    ToolResult run = MakeStyle("12345678901234567", "Styles/x.zas", " " + dir.File("book.txt"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Error: Description cannot exceed 16 characters\n");
    run = MakeStyle("Poems", "Styles/x.zas", "");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Error: Need to add some books\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("Styles/x.zas")));
}

TEST_F(StyleCommandsTest, MadeStyleShowsItsMatchesAndQuotations)
{
    const ToolResult made = MakeStyle("1234567890123456", "Styles/Poems.zas", " " + dir.File("book.txt"));
    ASSERT_EQ(made.exitCode, 0) << made.output;

    const ToolResult shown = RunTool("style --root " + dir.Folder() + " Styles/Poems.zas --match c.t --quotes cat");
    ASSERT_EQ(shown.exitCode, 0) << shown.output;
    EXPECT_EQ(shown.output, "Style: " + dir.Folder() + "Styles/Poems.zas\n"
                            "Description: 1234567890123456\n"
                            "Stamp: 42 (dictionary 42)\n"
                            "Books: 1\n"
                            "  book 1: 2 sentences\n"
                            "Words: 7\n"
                            "Sentences: 2\n"
                            "Words matching c.t: 3\n"
                            "  CAT\n  COT\n  CUT\n"
                            "Quotations of CAT: 1\n"
                            "  [57] The cat sat on the mat.\n");
}

} // namespace
} // namespace pelorin
