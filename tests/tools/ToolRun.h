#pragma once

#include <cstdio>
#include <string>
#include <tuple>
#include <sys/wait.h>

namespace pelorin::test {
struct ToolResult {
    int exitCode = -1;
    std::string output; ///< stdout and stderr together, as the user sees them
    /// Both, for one assertion that shows both when it fails.
    std::tuple<int, std::string> Outcome() const { return {exitCode, output}; }
};

/// Runs a shell command line and waits for it.
inline ToolResult RunCommand(const std::string& commandLine)
{
    ToolResult result;
    std::FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
    char buffer[4096];
    for (size_t got = 0; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, got);
    const int status = pipe ? pclose(pipe) : -1;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

/// Runs the built pelorin-tool with these arguments. A non-empty `configFolder`
/// becomes its XDG_CONFIG_HOME, for commands that must not share settings.
inline ToolResult RunTool(const std::string& arguments, const std::string& configFolder = {})
{
    const std::string config = configFolder.empty() ? "" : "XDG_CONFIG_HOME=" + configFolder + " ";
    return RunCommand(config + PELORIN_TOOL + " " + arguments);
}
} // namespace pelorin::test
