// pelorin-tool show: a game file printed for people: the four faces side by side,
// then the clue lists with their answers.
#include "Command.h"
#include "Files.h"
#include "Report.h"

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

int Run(const Options& options)
{
    if (options.Operands().size() != 1 || options.Operands()[0].empty())
        return UsageError(kName, "show needs exactly one game file");
    const std::string& path = options.Operands().front();

    if (!CheckReadableFile(path))
        return kFailureExit;
    auto game = std::make_unique<Game>();
    if (!OpenGame(path, *game))
        return ReportError(path, FormatFault(path, Game::kVersion, Game::kMagic, "game"));
    PrintFaces(*game);
    const bool full = options.Has("full");
    PrintList("Across", game->Across(), full);
    PrintList("Down", game->Down(), full);
    return FinishOutput();
}

const Command command(kName, "FILE [--full]",
                      "Prints a game: the four faces side by side, then the Across and Down clues with their\n"
                      "answers; --full adds every hint.",
                      {}, {"full"}, Run);

} // namespace
} // namespace pelorin::tool
