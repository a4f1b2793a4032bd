#pragma once

#include "foundation/Notifier.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace pelorin::test {

/// Records every message and status text while it is installed, so tests can check
/// what the player would have been told.
class RecordingNotifier final : public Notifier {
public:
    RecordingNotifier() { previous_ = SetNotifier(this); }
    ~RecordingNotifier() override { SetNotifier(previous_); }

    void ShowMessage(std::string_view text, std::string_view caption) override
    {
        std::lock_guard lock(mutex_);
        messages_.emplace_back(std::string(text), std::string(caption));
    }
    void SetStatusText(std::string_view text) override
    {
        std::lock_guard lock(mutex_);
        statusTexts_.emplace_back(text);
    }

    /// (text, caption) pairs in the order they came.
    std::vector<std::pair<std::string, std::string>> Messages() const
    {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    std::vector<std::string> StatusTexts() const
    {
        std::lock_guard lock(mutex_);
        return statusTexts_;
    }

private:
    Notifier* previous_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<std::pair<std::string, std::string>> messages_;
    std::vector<std::string> statusTexts_;
};

} // namespace pelorin::test
