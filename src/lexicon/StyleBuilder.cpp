#include "lexicon/StyleBuilder.h"

#include "lexicon/Style.h"

namespace pelorin {

namespace {

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

void Report(const StyleProgressReport& progress, size_t done, size_t count, std::string_view book)
{
    if (progress)
        progress({static_cast<int32_t>(done), static_cast<int32_t>(count), book});
}

} // namespace

StyleBuildStatus CheckStyleInput(std::string_view description, size_t bookCount)
{
    if (description.size() > kMaxDescriptionBytes)
        return StyleBuildStatus::DescriptionTooLong;
    if (bookCount == 0)
        return StyleBuildStatus::NoBooks;
    return StyleBuildStatus::Built;
}

std::string_view StyleInputMessage(StyleBuildStatus status)
{
    switch (status) {
    case StyleBuildStatus::DescriptionTooLong:
        return "Description cannot exceed 16 characters";
    case StyleBuildStatus::NoBooks:
        return "Need to add some books";
    case StyleBuildStatus::Built:
    case StyleBuildStatus::Cancelled:
        break;
    }
    return {};
}

StyleBuildResult BuildStyle(const Dictionary& dictionary, std::string_view description,
                            std::span<const std::string> books, const StyleProgressReport& progress,
                            const std::atomic<bool>* cancel)
{
    StyleBuildResult result;
    result.status = CheckStyleInput(description, books.size());
    if (result.status != StyleBuildStatus::Built)
        return result;

    auto style = std::make_unique<Style>(dictionary);
    style->SetDescription(std::string(description));
    for (size_t i = 0; i < books.size(); ++i) {
        if (Cancelled(cancel))
            break;
        Report(progress, i, books.size(), books[i]);
        std::string reason;
        if (!style->AddBook(books[i], cancel, &reason))
            result.unread.push_back({books[i], std::move(reason)});
    }
    // A book cut short by the flag is no book of the style: nothing of it is kept.
    if (Cancelled(cancel)) {
        result.status = StyleBuildStatus::Cancelled;
        result.unread.clear();
        return result;
    }
    style->BuildWordList();
    Report(progress, books.size(), books.size(), {});
    result.style = std::move(style);
    return result;
}

} // namespace pelorin
