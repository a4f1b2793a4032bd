#pragma once

#include <string>
#include <string_view>

namespace pelorin::tool {

// Every error of the tool has one shape, on stderr, as Unix commands have it:
//
//     pelorin-tool: PATH: what went wrong
//
// with the system's own words where the system gave a reason, and the exit code 1.
// Usage errors are apart: they end with the command's usage and exit with 2.

/// Prints "pelorin-tool: PATH: REASON"; returns kFailureExit.
int ReportError(std::string_view path, std::string_view reason);
/// The same with the system's words for an error number.
int ReportSystemError(std::string_view path, int error);
/// The system's words for an error number ("No such file or directory").
std::string ErrorText(int error);

/// Flushes standard output at the end of a command: 0, or kFailureExit with the
/// reason reported when the output could not be written (a full disk, say).
int FinishOutput();

/// Installs the tool's notifier for as long as the object lives: the core's
/// messages become errors of the tool's shape, and its status texts progress
/// lines, all on stderr.
class StderrNotifierScope {
public:
    StderrNotifierScope();
    ~StderrNotifierScope();
    StderrNotifierScope(const StderrNotifierScope&) = delete;
    StderrNotifierScope& operator=(const StderrNotifierScope&) = delete;
};

} // namespace pelorin::tool
