// pelorin-tool make-style: builds a style from book files with the code of the style
// editor, and saves it.
#include "Command.h"
#include "DataLoading.h"
#include "Files.h"
#include "Report.h"

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

void ShowBigBook(const std::string& path, size_t number, size_t total)
{
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size >= kBigBookBytes)
        std::fprintf(stderr, "Scanning book %zu of %zu: %s (%.1f MB) ...\n", number, total, Printable(path).c_str(),
                     double(size) / (1024.0 * 1024.0));
}

// Everything a mistake could spoil is checked before the long work starts: that
// the style can be written, then every book, each one named that cannot be read.
bool CheckFiles(const std::string& out, const std::vector<std::string>& books)
{
    if (!CheckWritableFile(out))
        return false;
    bool readable = true;
    for (const std::string& book : books)
        readable = CheckReadableFile(book) && readable;
    return readable;
}

int Run(const Options& options)
{
    const std::string out = options.ValueOr("out", "");
    if (out.empty())
        return UsageError(kName, "make-style needs --out FILE");
    const std::string description = options.ValueOr("description", "");
    if (description.size() > kMaxDescriptionBytes)
        return UsageError(kName, Format("the description is %zu bytes long; a style's holds at most %zu bytes",
                                        description.size(), kMaxDescriptionBytes));
    const std::vector<std::string>& books = options.Operands();
    if (books.empty())
        return UsageError(kName, "make-style needs at least one BOOK");
    if (!CheckFiles(out, books))
        return kFailureExit;
    // The dictionary's table and the style's flag table are large: keep them off the stack.
    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, *options.Value("root")))
        return kFailureExit;

    auto style = std::make_unique<Style>(*dictionary);
    style->SetDescription(description);
    for (size_t i = 0; i < books.size(); ++i) {
        ShowBigBook(books[i], i + 1, books.size());
        // The game keeps such a book without sentences; a style made in a batch
        // is made again from the book once it can be read.
        if (!style->AddBook(books[i]))
            return ReportError(books[i], "could not be read; no style written");
    }
    style->BuildWordList();
    if (style->Words().Count() == 0)
        return ReportError(out, "the books hold no word of the dictionary; no style written");
    if (!style->SaveFile(out))
        return kFailureExit;
    std::printf("%s: %d books, %d words, %d sentences\n", Printable(out).c_str(), style->Books().Count(),
                style->Words().Count(), style->SentenceCount());
    return FinishOutput();
}

const Command command(kName, "--root DIR [--description TEXT] --out FILE BOOK...",
                      "Builds a style from plain-text books against DIR/Zanth.dct, as the style editor does, and\n"
                      "saves it as FILE. A description holds at most 16 bytes.",
                      {"root", "description", "out"}, {}, Run);

} // namespace
} // namespace pelorin::tool
