#include "support/GameFileBytes.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace pelorin {
namespace {

constexpr const char* kGrid = "Face 0    Face 1    Face 2    Face 3\n"
                              "#CX.####  ########  ########  ########\n"
                              "#O######  ########  ########  ########\n"
                              "########  ########  ########  ########\n"
                              "########  ########  ########  ########\n"
                              "########  ########  ########  ########\n"
                              "########  ########  ########  ########\n"
                              "########  ########  ########  ########\n"
                              "########  ########  ########  ########\n";

TEST(ShowCommandTest, PrintsFacesAndClueLinesWithAnswersQuotesAndFurtherDefinitions)
{
    test::TempDir dir;
    std::ofstream(dir.File("sample.zag"), std::ios::binary) << test::GameBytes(test::SampleGame());
    const test::ToolResult result = test::RunTool("show " + dir.File("sample.zag") + " --full");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, std::string(kGrid) +
                                 "\nAcross\n"
                                 "1. \t (plural) Small domesticated feline  [CAT]\n"
                                 "    quote: The ___ sat on the mat and would not move for anyone at all.\n"
                                 "    definition: A spiteful woman\n"
                                 "\nDown\n"
                                 "1. \t ?  [CO] given up\n");
}

// Texts of a file reach the terminal with their control characters made visible:
// a file must not be able to move the cursor, recolour or retitle the terminal.
TEST(ShowCommandTest, ControlCharactersOfTheFileArePrintedVisibly)
{
    test::TempDir dir;
    test::TestGame game = test::SampleGame();
    game.across[0].definitions[0].text = "Small \x1b[2J\x1b]0;owned\x07 feline\n";
    game.across[0].quotes[0].text = "The ___ sat\r on \xc2\x9b" "31m the caf\xc3\xa9 mat\xff.";
    std::ofstream(dir.File("hostile.zag"), std::ios::binary) << test::GameBytes(game);
    const test::ToolResult result = test::RunTool("show " + dir.File("hostile.zag") + " --full");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("1. \t (plural) Small ?[2J?]0;owned? feline?  [CAT]\n"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("    quote: The ___ sat? on ?31m the caf\xc3\xa9 mat?.\n"), std::string::npos)
        << result.output;
}

} // namespace
} // namespace pelorin
