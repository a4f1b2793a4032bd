#include "tools/ToolRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelorin {
namespace {

// Every command checks its arguments before reading anything, and a mistake gives
// that command's usage and exit code 2.
TEST(ToolUsageTest, BadArgumentsGiveTheCommandsUsage)
{
    const std::string root = "--root /nonexistent/ ";
    const std::vector<std::string> bad = {
        "lookup", "lookup " + root, "lookup --rot x cat", "summary " + root + "x", "make-dictionary --wordnet x",
          "make-style --description x --out x.zas", "style " + root, "style " + root + "x.zas --quotes",
          "fill " + root + "--style x.zas --pattern 0", "fill " + root + "--style x.zas --pattern 4 --out x.zag",
          "fill " + root + "--style x.zas --pattern one --out x.zag",
          "fill " + root + "--style x.zas --pattern 0 --seed -1 --out x.zag",
          "fill " + root + "--style x.zas --pattern 0 --tries 0 --out x.zag",
          "fill " + root + "--style x.zas --pattern 0 --out x.zag extra", "show", "show a.zag b.zag",
          "show a.zag --brief", "prepare " + root + "x", "prepare " + root + "--timeout -1"};
    for (const std::string& arguments : bad) {
        const test::ToolResult result = test::RunTool(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments;
        const std::string usage = "usage: pelorin-tool " + arguments.substr(0, arguments.find(' ')) + " ";
        EXPECT_NE(result.output.find(usage), std::string::npos) << arguments << "\n" << result.output;
    }
}

} // namespace
} // namespace pelorin
