#include "support/GameFileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
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
    const ToolResult result = RunTool("show " + dir.File("sample.zag") + " --full");
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
