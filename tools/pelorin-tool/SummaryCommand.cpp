// pelorin-tool summary: what the data root holds (the dictionary with a few sample
// lookups, and the styles), as a quick look after a build.
#include "Command.h"
#include "DataLoading.h"
#include "Report.h"

#include "app/AppData.h"
#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"

#include <cstdio>
#include <memory>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "summary";

// A plain word, an irregular plural, a past tense and an -ing form: the lookups
// that show at a glance whether forms borrow their base word's definitions.
constexpr const char* kSampleWords[] = {"cat", "geese", "ran", "hopping", "crossword"};

void PrintSample(const Dictionary& dictionary, const char* word)
{
    int32_t index = -1;
    if (!dictionary.Find(word, index)) {
        std::printf("  %-10s not found\n", word);
        return;
    }
    const DictionaryWord& record = dictionary.Record(index);
    DefinitionList definitions = MakeDefinitionList();
    record.CollectDefinitions(definitions);
    const Definition* first = definitions.At(0);
    const std::string_view text = first ? TextOf(first->text) : std::string_view("(no definition)");
    std::printf("  %-10s word %d, %s: %s\n", word, index, FormName(record.form).c_str(), Printable(text).c_str());
}

// The styles of the root's Styles folder, as the game will list them; those that
// do not load are reported. Returns how many did not.
int32_t PrintStyles(const Dictionary& dictionary, const std::string& root)
{
    ItemList<Style> styles(10, ListOrder::Append, true, 10);
    const int32_t failed = LoadStylesOrReport(dictionary, JoinPath(root, AppData::kStylesFolder), styles);
    std::printf("Styles: %d\n", styles.Count());
    for (const Style* style : styles) {
        std::printf("  %-16s %-18s %d books, %d words, %d sentences\n",
                    Printable(TextOf(style->Description())).c_str(), Printable(style->FileName()).c_str(),
                    style->Books().Count(), style->Words().Count(), style->SentenceCount());
    }
    if (failed > 0)
        std::printf("  and %d that could not be read\n", failed);
    return failed;
}

int Run(const Options& options)
{
    const std::string& root = *options.Value("root");
    if (!options.Operands().empty())
        return UsageError(kName, "summary takes no operands");

    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, root))
        return kFailureExit;
    std::printf("Dictionary: %s\n", Printable(dictionary->Path()).c_str());
    std::printf("Words: %d\n", dictionary->Count());
    std::printf("Stamp: %d\n", dictionary->Stamp());
    std::printf("Sample lookups:\n");
    for (const char* word : kSampleWords)
        PrintSample(*dictionary, word);
    const int32_t unread = PrintStyles(*dictionary, root);
    const int finished = FinishOutput();
    return unread > 0 ? kFailureExit : finished;
}

const Command command(kName, "--root DIR",
                      "What a data root holds: the dictionary, a few sample lookups, the styles; and the style\n"
                      "files that could not be read, with the reason.",
                      {"root"}, {}, Run);

} // namespace
} // namespace pelorin::tool
