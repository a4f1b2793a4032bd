// make-dictionary: turns a WordNet 3.0 database into the dictionary file the game
// reads. The build runs it for every fresh data root, so it has to stay quick.
#include "Command.h"
#include "Files.h"
#include "Report.h"

#include "lexicon/DictionaryWriter.h"
#include "lexicon/WordNetImporter.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace pelorin::tool {

namespace {

constexpr const char* kName = "make-dictionary";

int MakeDictionary(const Options& options)
{
    if (!options.Operands().empty())
        return UsageError(kName, "unexpected argument " + options.Operands().front());
    const std::string wordnet = options.ValueOr("wordnet", "");
    const std::string out = options.ValueOr("out", "");
    if (wordnet.empty() || out.empty())
        return UsageError(kName, "both --wordnet DIR and --out FILE are needed");

    std::error_code ignored;
    if (!std::filesystem::is_directory(wordnet, ignored))
        return ReportError(wordnet, "no WordNet folder here (Debian installs it with wordnet-base)");
    // Every file of the WordNet folder counts as an input, whatever the importer
    // makes of it.
    std::vector<std::string> inputs;
    for (const auto& item : std::filesystem::directory_iterator(wordnet, ignored))
        inputs.push_back(item.path().string());
    if (!CheckNotAnInput(out, inputs) || !CheckWritableFile(out))
        return kFailureExit;

    const auto started = std::chrono::steady_clock::now();
    WordNetImporter importer;
    if (!importer.Import(wordnet))
        return ReportError({}, importer.Error());
    // The list is made for WordNet 3.0; an entry another WordNet lacks changes nothing.
    for (const FirstSense& entry : importer.UnmatchedFirstSenses())
        std::fprintf(stderr, "%s: no sense of %.*s (%c) opens with \"%.*s\"; WordNet's order kept\n", kName,
                     static_cast<int>(entry.word.size()), entry.word.data(), entry.part,
                     static_cast<int>(entry.opening.size()), entry.opening.data());

    const DictionaryWriter writer(importer.Records());
    const int32_t stamp = writer.ContentStamp();
    std::fprintf(stderr, "Writing %s ...\n", Printable(out).c_str());
    if (!writer.Write(out, stamp))
        return ReportSystemError(out, errno);
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d words (%d headwords, %d inflected forms), %d definitions, stamp %d\n",
                static_cast<int>(importer.Records().size()), importer.HeadwordCount(), importer.InflectedCount(),
                importer.DefinitionCount(), stamp);
    std::fprintf(stderr, "Done in %.1f s\n", seconds);
    return FinishOutput();
}

const Command command(kName, "--wordnet DIR --out FILE",
                      "Turns WordNet 3.0 (DIR, /usr/share/wordnet on Debian) into a dictionary file.",
                      {"wordnet", "out"}, {}, MakeDictionary);

} // namespace

} // namespace pelorin::tool
