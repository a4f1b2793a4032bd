#include "support/DictionaryFile.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>
#include <filesystem>

namespace pelorin {
namespace {
class StyleCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteDictionary(dir.Folder(), test::PlainWords({"CAT", "COT", "CUT", "DOG", "SAT", "MAT", "THE"}), 42);
        std::filesystem::create_directory(dir.File("Styles"));
        test::WriteFileBytes(dir.File("book.txt"), "The cat sat on the mat.\nA dog cut\nthe cot. No cat here\n");
    }
    test::ToolResult MakeStyle(const std::string& description, const std::string& out, const std::string& books)
    {
        return test::RunTool("make-style --root " + dir.Folder() + " --description " + description + " --out " +
                       dir.File(out) + books);
    }
    test::TempDir dir;
};

// A book that cannot be read, or a style without words, is an error naming the
// file, and nothing is written; where the style goes is checked before any book.
TEST_F(StyleCommandsTest, MakeStyleFailsWithoutWritingOnAnyBadFile)
{
    test::WriteFileBytes(dir.File("numbers.txt"), "1 2 3 4\n");
    const std::string book = " " + dir.File("book.txt");
    const std::string missing = ": No such file or directory\n";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"Styles/x.zas", book + " " + dir.File("gone.txt"), dir.File("gone.txt") + missing},
        {"Styles/x.zas", book + " /dev/null", "/dev/null: not a regular file\n"},
        {"Styles/x.zas", book + " " + dir.File("Styles"), dir.File("Styles") + ": Is a directory\n"},
        {"none/x.zas", " " + dir.File("gone.txt"), dir.File("none/x.zas") + missing},
        {"book.txt", book, dir.File("book.txt") + ": the same file as the input " + dir.File("book.txt") +
                               "; nothing written\n"},
        {"Styles/x.zas", " " + dir.File("numbers.txt"),
         dir.File("Styles/x.zas") + ": the books hold no word of the dictionary; no style written\n"},
    };
    for (const auto& [out, books, error] : cases)
        EXPECT_EQ(MakeStyle("Poems", out, books).Outcome(), std::tuple(1, "pelorin-tool: " + error)) << books;
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("Styles")));
    EXPECT_NE(test::FileBytes(dir.File("book.txt")).find(' '), std::string::npos) << "the book is kept";
}

TEST_F(StyleCommandsTest, MadeStyleShowsItsMatchesAndQuotations)
{
    const test::ToolResult made = MakeStyle("1234567890123456", "Styles/Poems.zas", " " + dir.File("book.txt"));
    ASSERT_EQ(made.exitCode, 0) << made.output;
    EXPECT_EQ(test::RunTool("style --root " + dir.Folder() + " Poems --match c.t --quotes cat").Outcome(),
              std::tuple(0, "Style: " + dir.Folder() + "Styles/Poems.zas\n"
                            "Description: 1234567890123456\nStamp: 42 (dictionary 42)\n"
                            "Books: 1\n  book 1: 2 sentences\nWords: 7\nSentences: 2\n"
                            "Words matching c.t: 3\n  CAT\n  COT\n  CUT\n"
                            "Quotations of CAT: 1\n  [57] The cat sat on the mat.\n"));
}
} // namespace
} // namespace pelorin
