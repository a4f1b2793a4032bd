#pragma once

#include "foundation/ItemList.h"
#include "foundation/StoredValues.h"
#include "lexicon/Dictionary.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pelorin {

class Cell;
class Game;
class Quotation;
class DictionaryWord;

/// Letters are bytes: 0 empty, 1-26 "A"-"Z" (character = value + 64), 255 block.
constexpr uint8_t kEmpty = 0;
constexpr uint8_t kLastLetter = 26;
constexpr uint8_t kBlock = 255;

constexpr bool IsLetterValue(uint8_t letter)
{
    return letter >= 1 && letter <= kLastLetter;
}

/// The character entry text shows for each letter byte: "A"-"Z" for 1-26, and a
/// blank for anything else (an empty cell; blocks never belong to an entry). A
/// table, as the filler spells every entry several times a pass.
inline constexpr std::array<char, 256> kLetterChars = [] {
    std::array<char, 256> chars{};
    for (size_t letter = 0; letter < chars.size(); ++letter)
        chars[letter] = IsLetterValue(static_cast<uint8_t>(letter)) ? static_cast<char>(letter + 64) : ' ';
    return chars;
}();

/// A letter byte as entry text shows it.
constexpr char LetterChar(uint8_t letter)
{
    return kLetterChars[letter];
}

constexpr int kFaces = 4;
constexpr int kSide = 8;
constexpr int kCellCount = kFaces * kSide * kSide;
constexpr int CellIndex(int face, int column, int row)
{
    return face * 64 + column * 8 + row;
}

enum Direction : int32_t { kAcross = 0, kDown = 1 };

/// Letter sets of a cell view: how its letter tile is drawn.
enum LetterSet : int32_t { kSetNormal = 1, kSetRevealed = 3, kSetCorrected = 4 };

/// The drawn cube of a cell. The scene derives from it; the model only owns and
/// releases it, so a changed cell is rebuilt on the next frame.
class CellMesh {
public:
    virtual ~CellMesh() = default;
};

/// The display record of one physical cell, shared by twins.
struct CellView {
    std::unique_ptr<CellMesh> mesh;
    Cell* holdingCell = nullptr;
    std::array<int32_t, kFaces> faceNumbers{};
    int32_t letterTile = 0; ///< the player letter to draw, 0 none
    int32_t letterSet = kSetNormal;
    int32_t dirty = 0;
    int32_t mark = 0; ///< the selection mark drawn behind the letter (SelectionMark)
    /// The wrong player letter that a check found here; the mark shows while the
    /// cell still holds that letter (PlayState.h). Never stored in a game file.
    uint8_t wrongMark = kEmpty;

    /// Releases the mesh and marks the view for rebuilding.
    void Refresh()
    {
        mesh.reset();
        dirty = 1;
    }
};

/// An entry's copy of a quotation: masked, maybe shortened text; the key and length
/// stay the quotation's.
struct Quote {
    int32_t key = 0;
    StoredText text;
    int32_t length = 0;
    int32_t mask = 0;

    int32_t SortKey() const { return key; }
};

class Entry;

/// One cell of one face. Cells of a game live at CellIndex(face, column, row); a
/// game's cells carry their own position from its construction on.
class Cell {
public:
    Game* owner = nullptr;
    int32_t face = 0;
    int32_t column = 0;
    int32_t row = 0;
    int32_t number = 0;
    int32_t heldAcross = 0;
    int32_t heldDown = 0;
    uint8_t letter = kBlock;
    uint8_t playerLetter = kEmpty;
    Cell* twin = nullptr; ///< the same physical cell on the neighbouring face, or null
    Entry* acrossEntry = nullptr;
    Entry* downEntry = nullptr;
    std::unique_ptr<CellView> view; ///< this cell's own view, if it made one

    /// The cell's own view, else its twin's, else a new one of its own.
    CellView& GetCellView();
    /// The view if this cell or its twin has one, else null.
    CellView* FindView() const;
};

/// An Across or Down entry of the grid.
class Entry {
public:
    Entry();
    // Out of line: the matches list must see the whole Quotation type to be destroyed.
    ~Entry();
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

    int32_t index = 0;
    ItemList<Cell> cells;       ///< reading order, not owning
    StoredText text;            ///< what the solution letters spell (the answer)
    int32_t form = 0;           ///< WordForm of the answer
    ItemList<Quote> quotes;     ///< append order, owning, step 100
    DefinitionList definitions; ///< rank order, owning
    int32_t complete = 0;
    int32_t reserved = 0;
    int32_t givenUp = 0;
    int32_t number = 0;
    int32_t repairCount = 0;
    int32_t direction = kAcross;
    ItemList<Quotation> matches;  ///< sorted by key, not owning, step 100
    const DictionaryWord* word = nullptr;
    ItemList<Cell> storedCells;   ///< cell copies read from a game file, owning
};

/// Where the game reaches the application: the modified flag of the current game.
class GameHost {
public:
    virtual ~GameHost() = default;
    virtual void SetModified() = 0;
};

/// The crossword: 256 cells on four faces with shared edge columns, and its entries.
class Game {
public:
    static constexpr int32_t kVersion = 56;
    static constexpr const char* kMagic = "ZGAME";

    /// A game of blocks only, without entries. Seeds the calling thread's generator
    /// with the time in seconds.
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Cell& At(int index) { return cells_[index]; }
    const Cell& At(int index) const { return cells_[index]; }
    Cell& At(int face, int column, int row) { return cells_[CellIndex(face, column, row)]; }
    const Cell& At(int face, int column, int row) const { return cells_[CellIndex(face, column, row)]; }

    ItemList<Entry>& Across() { return across_; }
    ItemList<Entry>& Down() { return down_; }
    const ItemList<Entry>& Across() const { return across_; }
    const ItemList<Entry>& Down() const { return down_; }
    ItemList<Entry>& List(int32_t direction) { return direction == kAcross ? across_ : down_; }

    int32_t savedMark = 0;
    int32_t lastNumber = 0;

private:
    std::array<Cell, kCellCount> cells_;
    ItemList<Entry> across_;
    ItemList<Entry> down_;
};

// Reset and layout.
void ResetGame(Game& game);
void BuildEntries(Game& game, int face);

// Solution letters.
void SetLetter(Cell& cell, uint8_t letter, bool mirror);
/// Letter 0, both hold marks 0, view refreshed, and the twin cleared the same way.
void ClearCell(Cell& cell);
/// Rebuilds the entry's text from its cells' solution letters (blank for empty).
void EntryText(Entry& entry);
/// The entry's current solution letters as text, without storing it.
std::string CurrentPattern(const Entry& entry);
/// The same into a caller's buffer, for the filler's many queries: the text is a
/// view of the buffer. An entry never runs further than one side of a face.
inline std::string_view CurrentPattern(const Entry& entry, std::array<char, kSide>& buffer)
{
    assert(entry.cells.Count() <= kSide && "an entry lies within one face");
    size_t length = 0;
    for (const Cell* cell : entry.cells)
        buffer[length++] = kLetterChars[cell->letter];
    return std::string_view(buffer.data(), length);
}

// Player operations.
std::string PlayerText(const Entry& entry);
bool EnterAnswer(Entry& entry, std::string_view text);
/// Whether a cell shows a letter the game revealed (green or red) that is still the
/// solution: typing leaves it alone, as a crossword player expects.
bool IsLockedCell(const Cell& cell);
/// One typed letter (1-26; 0 removes the letter) into one cell, with the rules of
/// EnterAnswer: both twins take it, the view is rebuilt, the letter set stays. A
/// locked cell keeps its letter. True, and the host told the game was modified,
/// when the letter changed.
bool PutPlayerLetter(Cell& cell, uint8_t letter, GameHost* host);
bool IsCorrect(const Entry& entry);
bool IsFilled(const Entry& entry);
void GiveUp(Entry& entry);
void RevealEntry(Entry& entry);
void ClearEntry(Entry& entry);
void EraseEntry(Entry& entry);
void RevealAll(Game& game, GameHost* host);
void ClearAll(Game& game, GameHost* host);
int32_t CountComplete(const Game& game);
int32_t CountGivenUp(const Game& game);

} // namespace pelorin
