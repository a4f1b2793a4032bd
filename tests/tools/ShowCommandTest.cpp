#include "support/GameFileBytes.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>

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

// Texts of the file reach the terminal with their control characters made visible:
// a file must not be able to move the cursor, recolour or retitle the terminal.
TEST(ShowCommandTest, PrintsFacesAndClueLinesWithAnswersQuotesAndFurtherDefinitions)
{
    test::TempDir dir;
    test::TestGame game = test::SampleGame();
    game.across[0].definitions[1].text = "A spiteful \x1b[2J\x1b]0;owned\x07 woman\n";
    game.across[0].quotes[0].text = "The ___ sat\r on \xc2\x9b" "31m the caf\xc3\xa9 mat\xff.";
    test::WriteFileBytes(dir.File("sample.zag"), test::GameBytes(game));
    EXPECT_EQ(test::RunTool("show " + dir.File("sample.zag") + " --full").Outcome(),
              std::tuple(0, std::string(kGrid) + "\nAcross\n"
                                                 "1. \t (plural) Small domesticated feline  [CAT]\n"
                                                 "    quote: The ___ sat? on ?31m the caf\xc3\xa9 mat?.\n"
                                                 "    definition: A spiteful ?[2J?]0;owned? woman?\n"
                                                 "\nDown\n1. \t ?  [CO] given up\n"));
}
} // namespace
} // namespace pelorin
