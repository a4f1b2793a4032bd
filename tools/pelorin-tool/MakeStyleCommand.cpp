// pelorin-tool make-style: builds a style from book files with the code of the style
// editor, and saves it.
#include "Command.h"
#include "DataLoading.h"
#include "Files.h"
#include "Report.h"

#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
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
                     progress.bookCount, Printable(path).c_str(), double(size) / (1024.0 * 1024.0));
}

// Everything a mistake could spoil is checked before the long work starts: that
// the style is none of the inputs and can be written, then every book, each one named that cannot be read.
bool CheckFiles(const std::string& out, const std::vector<std::string>& books, const std::string& root)
{
    std::vector<std::string> inputs = books;
    inputs.push_back(JoinPath(root, Dictionary::kFileName));
    if (!CheckNotAnInput(out, inputs) || !CheckWritableFile(out))
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
    if (!CheckFiles(out, books, options.ValueOr("root", "")))
        return kFailureExit;
    // The dictionary's table and the style's flag table are large: keep them off the stack.
    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, *options.Value("root")))
        return kFailureExit;

    auto built = BuildStyle(*dictionary, description, books, ShowBigBook);
    // CheckFiles has named every unreadable book already; one that failed while it was
    // being read fails the command the same way. The game keeps such a book without
    // sentences; a style made in a batch is made again once the book can be read.
    if (!built.unread.empty())
        return ReportError(built.unread.front().path, built.unread.front().reason + "; no style written");
    Style& style = *built.style;
    if (style.Words().Count() == 0)
        return ReportError(out, "the books hold no word of the dictionary; no style written");
    if (!style.SaveFile(out))
        return kFailureExit;
    std::printf("%s: %d books, %d words, %d sentences\n", Printable(out).c_str(), style.Books().Count(),
                style.Words().Count(), style.SentenceCount());
    return FinishOutput();
}

const Command command(kName, "--root DIR [--description TEXT] --out FILE BOOK...",
                      "Builds a style from plain-text books against DIR/Zanth.dct, as the style editor does, and\n"
                      "saves it as FILE. A description holds at most 16 bytes.",
                      {"root", "description", "out"}, {}, Run);

} // namespace
} // namespace pelorin::tool
