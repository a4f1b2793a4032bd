#pragma once

#include <string>

namespace pelorin::test {

struct ToolResult {
    int exitCode = -1;
    std::string output; ///< stdout and stderr together
};

/// Runs the built pelorin-tool with these arguments through the shell and waits for
/// it. A non-empty `configFolder` becomes the tool's XDG_CONFIG_HOME, for tests
/// whose commands read or write settings and must not share them.
ToolResult RunTool(const std::string& arguments, const std::string& configFolder = {});

/// The built pelorin-tool, for command lines that do more than run it.
std::string RunToolCommand();

/// Runs a shell command line and waits for it, its two streams together.
ToolResult RunCommand(const std::string& commandLine);

} // namespace pelorin::test
