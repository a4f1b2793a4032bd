// pelorin-tool style: what a style file holds, which of its words fit a pattern, and
// which of its sentences the clue choice would quote for a word.
#include "Command.h"
#include "DictionaryLoader.h"

#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <cstdio>
#include <memory>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "style";

// A pattern as the program takes it: upper-case letters, a blank for an open cell
// (written "." on the command line, where blanks are awkward).
bool ParsePattern(const std::string& text, std::string& pattern, std::string& error)
{
    if (text.size() > static_cast<size_t>(Style::kMaxPatternLength)) {
        error = "a pattern has at most 8 cells";
        return false;
    }
    pattern.clear();
    for (char c : text) {
        if (c == '.') {
            pattern += ' ';
        } else if (IsAsciiLetter(c)) {
            pattern += ToUpperAscii(c);
        } else {
            error = "a pattern holds letters and '.' for open cells only";
            return false;
        }
    }
    return true;
}

void PrintSummary(const Style& style, const Dictionary& dictionary)
{
    std::printf("Style: %s\n", style.FullPath().c_str());
    std::printf("Description: %s%s\n", Printable(TextOf(style.Description())).c_str(),
                style.Description() ? "" : " (none)");
    std::printf("Stamp: %d (dictionary %d%s)\n", style.Stamp(), dictionary.Stamp(),
                style.Stamp() == dictionary.Stamp() ? "" : ", stale: rebuilt at the next start");
    std::printf("Books: %d\n", style.Books().Count());
    int32_t number = 0;
    for (const Book* book : style.Books())
        std::printf("  book %d: %d sentences\n", ++number, book->sentences.Count());
    std::printf("Words: %d\n", style.Words().Count());
    std::printf("Sentences: %d\n", style.SentenceCount());
}

void PrintMatches(const Style& style, const Dictionary& dictionary, const std::string& shown,
                  const std::string& pattern)
{
    const WordList words = style.MatchPattern(pattern);
    std::printf("Words matching %s: %d\n", shown.c_str(), words.Count());
    for (int32_t wordIndex : words.Words())
        std::printf("  %s\n", Printable(dictionary.Record(wordIndex).text).c_str());
}

void PrintQuotations(const Style& style, const std::string& word)
{
    // The clue choice's list: ordered by key, not owning, the books in their order.
    ItemList<Quotation> matches(100, ListOrder::Sorted, false, 100);
    style.CollectQuotations(word, matches);
    std::printf("Quotations of %s: %d\n", word.c_str(), matches.Count());
    for (const Quotation* quotation : matches)
        std::printf("  [%d] %s\n", quotation->key, Printable(TextOf(quotation->text)).c_str());
}

int Run(std::span<const std::string> args)
{
    const auto options = ParseWithRoot(kName, args, {"root", "match", "quotes"}, {});
    if (!options)
        return kUsageExit;
    const std::string& root = *options->Value("root");
    if (options->Operands().size() != 1)
        return UsageError(kName, "style needs one style FILE");
    std::string error;
    std::string pattern;
    if (options->Has("match") && !ParsePattern(*options->Value("match"), pattern, error))
        return UsageError(kName, error);
    std::string word;
    if (options->Has("quotes")) {
        word = ToUpperAscii(*options->Value("quotes"));
        if (word.empty() || !IsUpperLetter(word[0]))
            return UsageError(kName, "--quotes needs a word");
    }

    StderrNotifierScope notifier;
    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, root, kName))
        return 1;
    const auto [folder, name] = StyleFileLocation(root, options->Operands()[0]);
    const std::string path = JoinPath(folder, name);
    auto style = std::make_unique<Style>(*dictionary);
    if (!style->LoadFile(folder, name)) {
        // An open failure has been reported; the others are silent in the loader.
        if (FileExists(path))
            std::fprintf(stderr, "pelorin-tool style: %s is not a style file of version %d, or it is damaged\n",
                         path.c_str(), Style::kVersion);
        return 1;
    }
    PrintSummary(*style, *dictionary);
    if (options->Has("match"))
        PrintMatches(*style, *dictionary, *options->Value("match"), pattern);
    if (options->Has("quotes"))
        PrintQuotations(*style, word);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

const Command command(kName, "--root DIR FILE [--match PATTERN] [--quotes WORD]", Run);

} // namespace
} // namespace pelorin::tool
