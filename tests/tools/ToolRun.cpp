#include "tools/ToolRun.h"

#include <cstdio>
#include <sys/wait.h>

namespace pelorin::test {

ToolResult RunTool(const std::string& arguments, const std::string& configFolder)
{
    std::string commandLine;
    if (!configFolder.empty())
        commandLine = "XDG_CONFIG_HOME=" + configFolder + " ";
    commandLine += RunToolCommand() + " " + arguments;
    return RunCommand(commandLine);
}

std::string RunToolCommand()
{
    return PELORIN_TOOL;
}

ToolResult RunCommand(const std::string& commandLine)
{
    ToolResult result;
    // Both streams into the one pipe, so tests see messages where the user would.
    std::FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
    char buffer[4096];
    for (size_t got = 0; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, got);
    const int status = pipe ? pclose(pipe) : -1;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace pelorin::test
