// make-dictionary: turns a WordNet 3.0 database into the dictionary file the game
// reads. The build runs it for every fresh data root, so it has to stay quick.
#include "Command.h"

#include "lexicon/DictionaryWriter.h"
#include "lexicon/WordNetImporter.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace pelorin::tool {

namespace {

constexpr const char* kName = "make-dictionary";

int MakeDictionary(std::span<const std::string> args)
{
    std::string error;
    const auto options = Options::Parse(args, {"wordnet", "out"}, {}, error);
    if (!options)
        return UsageError(kName, error);
    if (!options->Operands().empty())
        return UsageError(kName, "unexpected argument " + options->Operands().front());
    const std::string* wordnet = options->Value("wordnet");
    const std::string* out = options->Value("out");
    if (!wordnet || !out)
        return UsageError(kName, "both --wordnet and --out are needed");

    std::error_code ignored;
    if (!std::filesystem::is_directory(*wordnet, ignored)) {
        std::fprintf(stderr, "pelorin-tool: %s: no WordNet folder at %s (Debian installs it with wordnet-base)\n",
                     kName, wordnet->c_str());
        return 1;
    }

    StderrNotifierScope notifier;
    const auto started = std::chrono::steady_clock::now();
    WordNetImporter importer;
    if (!importer.Import(*wordnet)) {
        std::fprintf(stderr, "pelorin-tool: %s: %s\n", kName, importer.Error().c_str());
        return 1;
    }

    const DictionaryWriter writer(importer.Records());
    const int32_t stamp = writer.ContentStamp();
    std::fprintf(stderr, "Writing %s ...\n", out->c_str());
    if (!writer.Write(*out, stamp)) {
        std::fprintf(stderr, "pelorin-tool: %s: cannot write %s: %s\n", kName, out->c_str(), std::strerror(errno));
        return 1;
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d words (%d headwords, %d inflected forms), %d definitions, stamp %d\n",
                static_cast<int>(importer.Records().size()), importer.HeadwordCount(), importer.InflectedCount(),
                importer.DefinitionCount(), stamp);
    std::fprintf(stderr, "Done in %.1f s\n", seconds);
    return 0;
}

const Command command(kName, "--wordnet DIR --out FILE", MakeDictionary);

} // namespace

} // namespace pelorin::tool
