#pragma once

#include "game/Game.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pelorin {

/// Everything the player's operations change in a game, as a plain value: each
/// cell's player letter, hold marks and letter set, and each entry's given-up,
/// complete and repair marks. Solution letters, entries and numbers stay fixed
/// during play, so two states of one game tell every change apart, and restoring
/// one undoes or redoes any player operation. About 1.5 KB.
struct PlayState {
    struct CellMarks {
        uint8_t playerLetter = kEmpty;
        uint8_t letterSet = kSetNormal;
        uint8_t heldAcross = 0;
        uint8_t heldDown = 0;

        bool operator==(const CellMarks&) const = default;
    };
    struct EntryMarks {
        int32_t givenUp = 0;
        int32_t complete = 0;
        int32_t repairCount = 0;

        bool operator==(const EntryMarks&) const = default;
    };

    std::array<CellMarks, kCellCount> cells{};
    std::vector<EntryMarks> entries; ///< Across entries, then Down

    bool operator==(const PlayState&) const = default;
};

/// The player's state of a game now.
PlayState CapturePlay(const Game& game);
/// Puts a captured state back into the game it was captured from (the same
/// entries); the cubes of the cells whose letter or colour changes are rebuilt.
void RestorePlay(Game& game, const PlayState& state);

/// How far the player has come: cells still empty, every cell filled but some
/// letter wrong, or solved. A game without entries is open.
enum class GridProgress { Open, Wrong, Solved };
GridProgress AssessGrid(const Game& game);

/// The time in play as the window shows it: M:SS, or H:MM:SS from an hour on.
std::string PlayTimeText(int64_t seconds);

// Checks mark wrong player letters without telling the right ones. A mark belongs
// to the letter it found: it goes as soon as the cell holds another letter, so
// no operation needs to clear it, and undo brings it back with the letter.

/// Marks every wrong player letter of the entry; returns how many cells it marked.
int32_t CheckEntry(Entry& entry);
/// Marks every wrong player letter of the grid; returns how many cells it marked.
int32_t CheckGrid(Game& game);
/// Whether a check marked the cell's present letter wrong.
bool IsMarkedWrong(const Cell& cell);
/// The marked cells of an entry.
int32_t CountMarkedWrong(const Entry& entry);
/// The marked cells of the grid, each physical cell once.
int32_t CountMarkedWrong(const Game& game);

/// Gives one cell (and its twin) its solution letter, coloured as a given-up
/// letter; false, and nothing changed, for a block or a cell already right.
bool RevealLetter(Cell& cell, GameHost* host);

} // namespace pelorin
