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

} // namespace
} // namespace pelorin
