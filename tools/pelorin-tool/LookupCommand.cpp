// pelorin-tool lookup: what the clue choice would find for some words.
#include "Command.h"
#include "DataLoading.h"
#include "Report.h"

#include "foundation/StoredValues.h"
#include "lexicon/Dictionary.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "lookup";

void PrintLookup(const Dictionary& dictionary, const std::string& word)
{
    const std::string shown = Printable(word);
    int32_t index = -1;
    if (!dictionary.Find(word, index)) {
        std::printf("%s: not found\n", shown.c_str());
        return;
    }
    const DictionaryWord& record = dictionary.Record(index);
    std::printf("%s: found, word index %d, form %d (%s)\n", shown.c_str(), index, record.form,
                FormName(record.form).c_str());
    DefinitionList definitions = MakeDefinitionList();
    record.CollectDefinitions(definitions);
    for (const Definition* definition : definitions)
        std::printf("  %d\t%s\n", definition->rank, Printable(TextOf(definition->text)).c_str());
}

int Run(const Options& options)
{
    const std::vector<std::string>& words = options.Operands();
    if (words.empty())
        return UsageError(kName, "lookup needs at least one word");
    if (std::any_of(words.begin(), words.end(), [](const std::string& word) { return word.empty(); }))
        return UsageError(kName, "a word to look up cannot be empty");

    // The table is 180,000 slots: keep it off the stack.
    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, *options.Value("root")))
        return kFailureExit;
    for (const std::string& word : words)
        PrintLookup(*dictionary, word);
    return FinishOutput();
}

const Command command(kName, "--root DIR WORD...",
                      "Looks words up in DIR/Zanth.dct: found or not, the word index and form, and the "
                      "definitions\nin clue order with their ranks.",
                      {"root"}, {}, Run);

} // namespace
} // namespace pelorin::tool
