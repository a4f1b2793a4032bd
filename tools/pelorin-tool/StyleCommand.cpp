// pelorin-tool style: what a style file holds, which of its words fit a pattern, and
// which of its sentences the clue choice would quote for a word.
#include "Command.h"
#include "DataLoading.h"
#include "Report.h"

#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "style";

// A pattern as the program takes it: upper-case letters, a blank for an open cell
// (written "." on the command line, where blanks are awkward).
bool ParsePattern(const std::string& text, std::string& pattern, std::string& error)
{
    if (text.empty()) {
        error = "--match needs a pattern, such as C.T";
        return false;
    }
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
    std::printf("Style: %s\n", Printable(style.FullPath()).c_str());
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

int Run(const Options& options)
{
    const std::string& root = *options.Value("root");
    if (options.Operands().size() != 1 || options.Operands()[0].empty())
        return UsageError(kName, "style needs one style FILE");
    std::string error;
    std::string pattern;
    if (options.Has("match") && !ParsePattern(*options.Value("match"), pattern, error))
        return UsageError(kName, error);
    std::string word;
    if (options.Has("quotes")) {
        word = ToUpperAscii(*options.Value("quotes"));
        if (word.empty() || !std::all_of(word.begin(), word.end(), IsUpperLetter))
            return UsageError(kName, "--quotes takes one word, of letters only");
    }

    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, root))
        return kFailureExit;
    auto style = std::make_unique<Style>(*dictionary);
    if (!LoadStyleOrReport(*style, StylePath(root, options.Operands()[0])))
        return kFailureExit;
    PrintSummary(*style, *dictionary);
    if (options.Has("match"))
        PrintMatches(*style, *dictionary, *options.Value("match"), pattern);
    if (options.Has("quotes"))
        PrintQuotations(*style, word);
    return FinishOutput();
}

const Command command(kName, "--root DIR FILE [--match PATTERN] [--quotes WORD]",
                      "What a style holds; with --match the words that fit a pattern ('.' for an open cell, as in\n"
                      "C.T), with --quotes the sentences that contain a word. FILE is a path, or the name of a\n"
                      "style in DIR/Styles (Quotations).",
                      {"root", "match", "quotes"}, {}, Run);

} // namespace
} // namespace pelorin::tool
