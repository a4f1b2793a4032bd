// pelorin-tool make-style: builds a style from book files with the code of the style
// editor, and saves it.
#include "Command.h"
#include "DictionaryLoader.h"

#include "foundation/Notifier.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"
#include "lexicon/StyleBuilder.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "make-style";
// Books from this size on get a progress line: scanning them takes a noticeable while.
constexpr uintmax_t kBigBookBytes = 1024 * 1024;

void ShowBigBook(const StyleBuildProgress& progress)
{
    if (progress.book.empty())
        return;
    const std::string path(progress.book);
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size >= kBigBookBytes)
        std::fprintf(stderr, "Scanning book %d of %d: %s (%.1f MB) ...\n", progress.booksDone + 1,
                     progress.bookCount, path.c_str(), double(size) / (1024.0 * 1024.0));
}

int Run(std::span<const std::string> args)
{
    const auto options = ParseWithRoot(kName, args, {"root", "description", "out"}, {});
    if (!options)
        return kUsageExit;
    const std::string* out = options->Value("out");
    if (!out || out->empty())
        return UsageError(kName, "make-style needs --out FILE");

    StderrNotifierScope notifier;
    const std::string description = options->Has("description") ? *options->Value("description") : std::string();
    const std::vector<std::string>& books = options->Operands();
    // Checked before the dictionary is read: a mistyped command fails at once.
    const StyleBuildStatus input = CheckStyleInput(description, books.size());
    if (input != StyleBuildStatus::Built) {
        ShowMessage(StyleInputMessage(input), "Error");
        return 1;
    }
    // The dictionary's table and the style's flag table are large: keep them off the stack.
    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, *options->Value("root"), kName))
        return 1;

    StyleBuildResult built = BuildStyle(*dictionary, description, books, ShowBigBook);
    if (built.status != StyleBuildStatus::Built)
        return 1;
    // The editor names such books in its completion message; a batch run says so too.
    for (const UnreadBook& book : built.unread)
        std::fprintf(stderr, "pelorin-tool %s: cannot read %s (%s); it is kept as a book without sentences\n", kName,
                     book.path.c_str(), book.reason.c_str());
    Style& style = *built.style;
    ShowMessage("Style creation complete", "");
    if (!style.SaveFile(*out))
        return 1;
    std::printf("%s: %d books, %d words, %d sentences\n", out->c_str(), style.Books().Count(),
                style.Words().Count(), style.SentenceCount());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

const Command command(kName, "--root DIR --description TEXT --out FILE BOOK...", Run);

} // namespace
} // namespace pelorin::tool
