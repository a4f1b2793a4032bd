// pelorin-tool make-style: builds a style from book files with the code of the style
// editor, and saves it.
#include "Command.h"
#include "DictionaryLoader.h"

#include "foundation/Notifier.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "make-style";
// The style editor's limit, in bytes of the narrow (UTF-8) text.
constexpr size_t kMaxDescriptionBytes = 16;
// Books from this size on get a progress line: scanning them takes a noticeable while.
constexpr uintmax_t kBigBookBytes = 1024 * 1024;

void AddBookWithProgress(Style& style, const std::string& path, size_t number, size_t total)
{
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size >= kBigBookBytes)
        std::fprintf(stderr, "Scanning book %zu of %zu: %s (%.1f MB) ...\n", number, total, path.c_str(),
                     double(size) / (1024.0 * 1024.0));
    // The editor passes over such a book silently; a batch run should say so.
    if (!style.AddBook(path))
        std::fprintf(stderr, "pelorin-tool %s: cannot read %s; it is kept as a book without sentences\n", kName,
                     path.c_str());
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
    if (description.size() > kMaxDescriptionBytes) {
        ShowMessage("Description cannot exceed 16 characters", "Error");
        return 1;
    }
    const std::vector<std::string>& books = options->Operands();
    if (books.empty()) {
        ShowMessage("Need to add some books", "Error");
        return 1;
    }
    // The dictionary's table and the style's flag table are large: keep them off the stack.
    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, *options->Value("root"), kName))
        return 1;

    auto style = std::make_unique<Style>(*dictionary);
    style->SetDescription(description);
    for (size_t i = 0; i < books.size(); ++i)
        AddBookWithProgress(*style, books[i], i + 1, books.size());
    style->BuildWordList();
    ShowMessage("Style creation complete", "");
    if (!style->SaveFile(*out))
        return 1;
    std::printf("%s: %d books, %d words, %d sentences\n", out->c_str(), style->Books().Count(),
                style->Words().Count(), style->SentenceCount());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

const Command command(kName, "--root DIR --description TEXT --out FILE BOOK...", Run);

} // namespace
} // namespace pelorin::tool
