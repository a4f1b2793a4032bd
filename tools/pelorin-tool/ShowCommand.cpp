// pelorin-tool show: a game file printed for people: the four faces side by side,
// then the clue lists with their answers.
#include "Command.h"

#include "foundation/StoredValues.h"
#include "game/ClueText.h"
#include "game/Game.h"
#include "game/GameFile.h"

#include <cstdio>
#include <memory>
#include <string>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "show";

// Blocks are '#', open cells show the player's letter or '.' while empty.
char CellChar(const Cell& cell)
{
    if (cell.letter == kBlock)
        return '#';
    if (cell.playerLetter >= 1 && cell.playerLetter <= 26)
        return static_cast<char>(cell.playerLetter + 64);
    return '.';
}

void PrintFaces(const Game& game)
{
    // Each face is 8 characters wide with 2 between faces; "Face n" is 6.
    std::string text;
    for (int face = 0; face < kFaces; ++face)
        text += (face > 0 ? "    " : "") + std::string("Face ") + std::to_string(face);
    text += '\n';
    for (int row = 0; row < kSide; ++row) {
        for (int face = 0; face < kFaces; ++face) {
            if (face > 0)
                text += "  ";
            for (int column = 0; column < kSide; ++column)
                text += CellChar(game.At(face, column, row));
        }
        text += '\n';
    }
    std::fputs(text.c_str(), stdout);
}

void PrintText(const char* prefix, std::string_view text)
{
    std::printf("%s%s\n", prefix, Printable(text).c_str());
}

void PrintEntry(const Entry& entry, bool full)
{
    // Clues, answers and hints are texts of the file.
    const std::string line = Printable(ClueLine(entry));
    const std::string answer = Printable(TextOf(entry.text));
    std::printf("%s  [%s]%s\n", line.c_str(), answer.c_str(), entry.givenUp != 0 ? " given up" : "");
    if (!full)
        return;
    for (const Quote* quote : entry.quotes)
        PrintText("    quote: ", TextOf(quote->text));
    // The first definition is the clue itself.
    for (int32_t i = 1; i < entry.definitions.Count(); ++i)
        PrintText("    definition: ", TextOf(entry.definitions.At(i)->text));
}

void PrintList(const char* title, const ItemList<Entry>& entries, bool full)
{
    std::printf("\n%s\n", title);
    for (const Entry* entry : entries)
        PrintEntry(*entry, full);
}

int Run(std::span<const std::string> args)
{
    std::string error;
    const auto options = Options::Parse(args, {}, {"full"}, error);
    if (!options)
        return UsageError(kName, error);
    if (options->Operands().size() != 1)
        return UsageError(kName, "show needs exactly one game file");
    const std::string& path = options->Operands().front();

    StderrNotifierScope notifier;
    auto game = std::make_unique<Game>();
    if (!OpenGame(path, *game)) {
        // A file that could not be opened has been reported already; this one
        // opened but is no game file of this version, or is damaged.
        std::FILE* probe = std::fopen(path.c_str(), "rb");
        if (probe) {
            std::fclose(probe);
            std::fprintf(stderr, "pelorin-tool: %s is not a readable game file\n", path.c_str());
        }
        return 1;
    }
    PrintFaces(*game);
    const bool full = options->Has("full");
    PrintList("Across", game->Across(), full);
    PrintList("Down", game->Down(), full);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

const Command command(kName, "FILE [--full]", Run);

} // namespace
} // namespace pelorin::tool
