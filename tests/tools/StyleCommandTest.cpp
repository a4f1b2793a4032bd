#include "support/DictionaryFile.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace pelorin {
namespace {

class StyleCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteDictionary(dir.Folder(), test::PlainWords({"CAT", "COT", "CUT", "DOG", "SAT", "MAT", "THE"}), 42);
        std::filesystem::create_directory(dir.File("Styles"));
        std::ofstream(dir.File("book.txt")) << "The cat sat on the mat.\nA dog cut\nthe cot. No cat here\n";
    }

    test::ToolResult MakeStyle(const std::string& description, const std::string& out, const std::string& books)
    {
        return test::RunTool("make-style --root " + dir.Folder() + " --description " + description + " --out " +
                       dir.File(out) + books);
    }

    test::TempDir dir;
};

// The editor's checks come before anything is read or built.
TEST_F(StyleCommandsTest, MakeStyleRefusesLongDescriptionsAndMissingBooks)
{
    test::ToolResult run = MakeStyle("12345678901234567", "Styles/x.zas", " " + dir.File("book.txt"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Error: Description cannot exceed 16 characters\n");
    run = MakeStyle("Poems", "Styles/x.zas", "");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Error: Need to add some books\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("Styles/x.zas")));
}

TEST_F(StyleCommandsTest, MadeStyleShowsItsMatchesAndQuotations)
{
    const test::ToolResult made = MakeStyle("1234567890123456", "Styles/Poems.zas", " " + dir.File("book.txt"));
    ASSERT_EQ(made.exitCode, 0) << made.output;

    const test::ToolResult shown =
        test::RunTool("style --root " + dir.Folder() + " Styles/Poems.zas --match c.t --quotes cat");
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
