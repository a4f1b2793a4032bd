#pragma once

#include <string>
#include <string_view>

namespace pelorin {

/// Where the core sends what the player must be told: message boxes (text and
/// caption) and the one-line status text of long work.
///
/// The window program shows messages on the user-interface thread, the command-line
/// tool prints them and tests record them. Implementations must accept calls from
/// any thread, since preparation workers report file errors too, and a call from
/// another thread must hand the message over and return without waiting for the
/// user-interface thread: that thread may itself be waiting for the worker to end.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
    virtual void SetStatusText(std::string_view text) = 0;
    /// A file that could not be opened or written. The player is shown `text` and
    /// `caption` like any message, which is what this default does; a notifier
    /// that can say more (the command-line tool's) has the file's path and the
    /// system's error number (0 when there is none) at hand.
    virtual void ShowFileError(std::string_view path, int error, std::string_view text, std::string_view caption)
    {
        static_cast<void>(path);
        static_cast<void>(error);
        ShowMessage(text, caption);
    }
};

/// Installs the process's notifier (null for none) and returns the previous one.
/// Installing happens before any worker starts and after all have ended.
Notifier* SetNotifier(Notifier* notifier);

/// Sends a message to the installed notifier; dropped when there is none.
void ShowMessage(std::string_view text, std::string_view caption);
/// Sends a file's error to the installed notifier; dropped when there is none.
void ShowFileError(std::string_view path, int error, std::string_view text, std::string_view caption);
/// Sends a status text to the installed notifier; dropped when there is none.
void SetStatusText(std::string_view text);

/// printf-style formatting into a string of whatever length the text needs.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace pelorin
