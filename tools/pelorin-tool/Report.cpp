#include "Report.h"

#include "Command.h"

#include "foundation/Notifier.h"

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <system_error>

namespace pelorin::tool {

namespace {

// Several workers may report at once; their lines must not mix.
std::mutex& OutputMutex()
{
    static std::mutex mutex;
    return mutex;
}

void PrintError(std::string_view path, std::string_view reason)
{
    const std::string line = "pelorin-tool: " + (path.empty() ? std::string() : Printable(path) + ": ") +
                             Printable(reason) + "\n";
    std::lock_guard lock(OutputMutex());
    std::fputs(line.c_str(), stderr);
}

// The game's texts are meant for a message box with a caption; here a file's
// error names the file and the system's reason, and every other message reads
// like any error of the tool.
class StderrNotifier final : public Notifier {
public:
    void ShowMessage(std::string_view text, std::string_view /*caption*/) override { PrintError({}, text); }

    void ShowFileError(std::string_view path, int error, std::string_view text, std::string_view caption) override
    {
        if (error == 0)
            PrintError(path, text.empty() ? caption : text);
        else
            PrintError(path, ErrorText(error));
    }

    void SetStatusText(std::string_view text) override
    {
        // The game's status texts are padded for its status bar.
        const size_t start = text.find_first_not_of(' ');
        if (start == std::string_view::npos)
            return;
        const std::string line = std::string(text.substr(start)) + "\n";
        std::lock_guard lock(OutputMutex());
        std::fputs(line.c_str(), stderr);
    }
};

StderrNotifier stderrNotifier;

} // namespace

std::string ErrorText(int error)
{
    // std::error_code's message is strerror's text without its shared buffer.
    return std::error_code(error, std::generic_category()).message();
}

int ReportError(std::string_view path, std::string_view reason)
{
    PrintError(path, reason);
    return kFailureExit;
}

int ReportSystemError(std::string_view path, int error)
{
    return ReportError(path, ErrorText(error));
}

int FinishOutput()
{
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    // An earlier write may have failed with nothing left in the buffer to fail now.
    return ReportSystemError("standard output", errno != 0 ? errno : EIO);
}

StderrNotifierScope::StderrNotifierScope()
{
    SetNotifier(&stderrNotifier);
}

StderrNotifierScope::~StderrNotifierScope()
{
    SetNotifier(nullptr);
}

} // namespace pelorin::tool
