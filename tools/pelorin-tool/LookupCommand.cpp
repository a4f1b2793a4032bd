// pelorin-tool lookup: what the clue choice would find for some words.
#include "Command.h"
#include "DictionaryLoader.h"

#include "foundation/StoredValues.h"
#include "lexicon/Dictionary.h"

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
    const WordRecord& record = dictionary.Record(index);
    std::printf("%s: found, word index %d, form %d (%s)\n", shown.c_str(), index, record.form,
                FormName(record.form).c_str());
    DefinitionList definitions = MakeDefinitionList();
    record.CollectDefinitions(definitions);
    for (const Definition* definition : definitions)
        std::printf("  %d\t%s\n", definition->rank, Printable(TextOf(definition->text)).c_str());
}

int Run(std::span<const std::string> args)
{
    const auto options = ParseWithRoot(kName, args, {"root"}, {});
    if (!options)
        return kUsageExit;
    if (options->Operands().empty())
        return UsageError(kName, "lookup needs at least one word");

    StderrNotifierScope notifier;
    // The table is 180,000 slots: keep it off the stack.
    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, *options->Value("root"), kName))
        return 1;
    for (const std::string& word : options->Operands())
        PrintLookup(*dictionary, word);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

const Command command(kName, "--root DIR WORD...", Run);

} // namespace
} // namespace pelorin::tool
