#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>
#include <filesystem>

namespace pelorin {
namespace {
// Quotations are hints with the answer blanked out: no underscores that read as
// blanks, no runs of spaces, no full stop standing apart, no chats or dialogue.
TEST(ExportFortunesTest, CopiesPlainQuotationsAndPassesOverDialogue)
{
    test::TempDir source, root;
    std::string quips = "Read _The Maltese Falcon_ and  file_name    twice.\n%\n"
                        "How can I miss you\n\tif you won't go away?\n\t\t-- Anonymous\n%\n"
                        "Q: Why?\nA: Because.\n%\n"
                        "Fill in: ______\n";
    // One exchange among a dozen fortunes leaves the collection in, without it.
    for (int i = 0; i < 12; ++i)
        quips += "%\nSaying " + std::to_string(i) + ".\n";
    test::WriteFileBytes(source.File("quips"), quips);
    test::WriteFileBytes(source.File("chat"), "<joey> hello there.\n<netgod> hi.\n%\nA plain line.\n");
    const test::ToolResult result = test::RunCommand(std::string(PELORIN_SCRIPTS) + "/export-fortunes.sh " +
                                                     root.Folder() + " " + source.Folder());
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("dialogue passed over: chat"), std::string::npos) << result.output;
    EXPECT_FALSE(std::filesystem::exists(root.File("Books/Fortunes-chat.txt")));
    const std::string book = test::FileBytes(root.File("Books/Fortunes-quips.txt"));
    EXPECT_EQ(book.substr(0, book.find("Saying 1")), "Read The Maltese Falcon and file-name twice.\n\n"
                                                     "How can I miss you\nif you won't go away?.\n\n"
                                                     "Fill in: ------.\n\nSaying 0.\n\n");
}
} // namespace
} // namespace pelorin
