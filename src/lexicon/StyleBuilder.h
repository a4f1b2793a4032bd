#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

class Dictionary;
class Style;

/// A description holds at most this many bytes of its narrow (UTF-8) text.
constexpr size_t kMaxDescriptionBytes = 16;

/// Whether BuildStyle made a style, and why not.
enum class StyleBuildStatus {
    Built,
    DescriptionTooLong,
    NoBooks,
    Cancelled,
};

/// A book file that could not be read, and the system's words for why.
struct UnreadBook {
    std::string path;
    std::string reason;
};

/// What BuildStyle made.
struct StyleBuildResult {
    StyleBuildStatus status = StyleBuildStatus::Built;
    /// The style, with its word list built, when the status is Built; it has no
    /// file yet.
    std::unique_ptr<Style> style;
    /// The books that could not be read, in the order given. Each still counts as
    /// a book of the style, with what could be read of it.
    std::vector<UnreadBook> unread;
};

/// How far a build has got: reported on the building thread before each book is
/// read, and once more when all have been.
struct StyleBuildProgress {
    int32_t booksDone = 0;
    int32_t bookCount = 0;
    std::string_view book; ///< the book being read; empty once all are done
};
using StyleProgressReport = std::function<void(const StyleBuildProgress&)>;

/// The checks a style must pass before anything is read: a description of at most
/// kMaxDescriptionBytes bytes and at least one book. Built when it passes.
StyleBuildStatus CheckStyleInput(std::string_view description, size_t bookCount);

/// What the player is told when a check fails ("Description cannot exceed 16
/// characters", "Need to add some books", caption "Error"); empty for the other
/// statuses.
std::string_view StyleInputMessage(StyleBuildStatus status);

/// Builds a style from a description and book files, in their order: the checks,
/// then each book scanned into the style, then its word list. Runs on any thread:
/// it reads only the dictionary, which must not change meanwhile, and shows no
/// message. A raised `cancel` (looked at between books and within each book)
/// ends the build with the status Cancelled and no style.
StyleBuildResult BuildStyle(const Dictionary& dictionary, std::string_view description,
                            std::span<const std::string> books, const StyleProgressReport& progress = {},
                            const std::atomic<bool>* cancel = nullptr);

} // namespace pelorin
