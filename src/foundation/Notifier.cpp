#include "foundation/Notifier.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace pelorin {

namespace {
std::atomic<Notifier*> installed{nullptr};
}

Notifier* SetNotifier(Notifier* notifier)
{
    return installed.exchange(notifier);
}

void ShowMessage(std::string_view text, std::string_view caption)
{
    if (Notifier* notifier = installed.load())
        notifier->ShowMessage(text, caption);
}

void ShowFileError(std::string_view path, int error, std::string_view text, std::string_view caption)
{
    if (Notifier* notifier = installed.load())
        notifier->ShowFileError(path, error, text, caption);
}

void SetStatusText(std::string_view text)
{
    if (Notifier* notifier = installed.load())
        notifier->SetStatusText(text);
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    va_end(args);
    return text;
}

} // namespace pelorin
