#include "game/Game.h"

#include "game/Random.h"
#include "lexicon/Style.h"
#include "foundation/TextUtil.h"

#include <cassert>
#include <ctime>

namespace pelorin {

namespace {

uint8_t LetterValue(char c)
{
    return static_cast<uint8_t>(ToUpperAscii(c) - 64);
}

// A player letter belongs to the physical cell, so the twin on the neighbouring
// face shows it too; the shared view is rebuilt with the new tile.
void SetPlayerLetter(Cell& cell, uint8_t letter)
{
    cell.playerLetter = letter;
    if (cell.twin)
        cell.twin->playerLetter = letter;
    CellView& view = cell.GetCellView();
    view.letterTile = letter;
    view.Refresh();
}

void SetLetterSet(Cell& cell, int32_t letterSet)
{
    CellView& view = cell.GetCellView();
    view.letterSet = letterSet;
    view.Refresh();
}

bool IsOpen(const Cell& cell)
{
    return cell.letter != kBlock;
}

// Steps 3 and 5 of numbering: the start cell carries the number on this face.
void NumberStart(Cell& start, Entry& entry, int face, int32_t number)
{
    start.number = number;
    start.GetCellView().faceNumbers[static_cast<size_t>(face)] = number;
    entry.number = number;
}

} // namespace

CellView& Cell::GetCellView()
{
    if (CellView* found = FindView())
        return *found;
    view = std::make_unique<CellView>();
    view->holdingCell = this;
    return *view;
}

CellView* Cell::FindView() const
{
    if (view)
        return view.get();
    if (twin && twin->view)
        return twin->view.get();
    return nullptr;
}

Entry::Entry()
    : cells(10, ListOrder::Append, false, 10), quotes(100, ListOrder::Append, true, 100),
      definitions(MakeDefinitionList()), matches(100, ListOrder::Sorted, false, 100),
      storedCells(10, ListOrder::Append, true, 10)
{
}

Entry::~Entry() = default;

Game::Game() : across_(10, ListOrder::Append, true, 10), down_(10, ListOrder::Append, true, 10)
{
    SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
    // A cell's position never changes, so it is set once here: whoever holds only
    // the cell (an entry's list of cells) can tell where it is, and reading a game
    // file need not trust the file's positions.
    for (int face = 0; face < kFaces; ++face) {
        for (int column = 0; column < kSide; ++column) {
            for (int row = 0; row < kSide; ++row) {
                Cell& cell = At(face, column, row);
                cell.owner = this;
                cell.face = face;
                cell.column = column;
                cell.row = row;
            }
        }
    }
    // Column 7 of a face and column 0 of the next face are one physical cell on
    // the box's vertical edge.
    for (int face = 0; face < kFaces; ++face) {
        for (int row = 0; row < kSide; ++row) {
            Cell& right = At(face, kSide - 1, row);
            Cell& left = At((face + 1) % kFaces, 0, row);
            right.twin = &left;
            left.twin = &right;
        }
    }
}

Game::~Game() = default;

void ResetGame(Game& game)
{
    game.lastNumber = 0;
    game.Across().Clear();
    game.Down().Clear();
    for (int i = 0; i < kCellCount; ++i) {
        Cell& cell = game.At(i);
        cell.letter = kBlock;
        cell.number = 0;
        cell.playerLetter = kEmpty;
        cell.heldAcross = 0;
        cell.heldDown = 0;
        cell.acrossEntry = nullptr;
        cell.downEntry = nullptr;
        cell.view.reset();
    }
}

void BuildEntries(Game& game, int face)
{
    assert(face >= 0 && face < kFaces && "no such face");
    for (int row = 0; row < kSide; ++row) {
        for (int column = 0; column < kSide; ++column) {
            Cell& cell = game.At(face, column, row);
            if (!IsOpen(cell))
                continue;
            // A run reaching column 7 ends there: the twin on the next face starts
            // an entry of its own, so every face reads as a crossword by itself.
            const bool startsAcross = column < kSide - 1 && IsOpen(game.At(face, column + 1, row)) &&
                                      (column == 0 || !IsOpen(game.At(face, column - 1, row)));
            if (startsAcross) {
                auto entry = std::make_unique<Entry>();
                entry->direction = kAcross;
                entry->index = game.Across().Count();
                for (int c = column; c < kSide && IsOpen(game.At(face, c, row)); ++c) {
                    Cell& member = game.At(face, c, row);
                    entry->cells.Add(&member);
                    member.acrossEntry = entry.get();
                }
                NumberStart(cell, *entry, face, ++game.lastNumber);
                game.Across().Add(std::move(entry));
            }
            const bool startsDown = row < kSide - 1 && IsOpen(game.At(face, column, row + 1)) &&
                                    (row == 0 || !IsOpen(game.At(face, column, row - 1)));
            if (startsDown) {
                auto entry = std::make_unique<Entry>();
                entry->direction = kDown;
                entry->index = game.Down().Count();
                for (int r = row; r < kSide && IsOpen(game.At(face, column, r)); ++r) {
                    Cell& member = game.At(face, column, r);
                    entry->cells.Add(&member);
                    member.downEntry = entry.get();
                }
                // An Across and a Down entry starting at one cell share its number.
                if (!startsAcross)
                    ++game.lastNumber;
                NumberStart(cell, *entry, face, game.lastNumber);
                game.Down().Add(std::move(entry));
            }
        }
    }
}

void SetLetter(Cell& cell, uint8_t letter, bool mirror)
{
    cell.letter = letter;
    if (letter == kEmpty) {
        cell.heldAcross = 0;
        cell.heldDown = 0;
    }
    if (!mirror)
        return;
    if (letter != kBlock) {
        CellView& view = cell.GetCellView();
        view.letterTile = 0;
        view.Refresh();
    }
    if (cell.twin)
        SetLetter(*cell.twin, letter, false);
}

void ClearCell(Cell& cell)
{
    SetLetter(cell, kEmpty, true);
}

std::string CurrentPattern(const Entry& entry)
{
    std::array<char, kSide> buffer;
    return std::string(CurrentPattern(entry, buffer));
}

void EntryText(Entry& entry)
{
    entry.text = CurrentPattern(entry);
}

std::string PlayerText(const Entry& entry)
{
    std::string text;
    text.reserve(kSide);
    for (const Cell* cell : entry.cells)
        text.push_back(LetterChar(cell->playerLetter));
    return text;
}

bool EnterAnswer(Entry& entry, std::string_view text)
{
    if (static_cast<int64_t>(text.size()) != entry.cells.Count())
        return false;
    for (char c : text) {
        if (!IsAsciiLetter(c))
            return false;
    }
    int32_t position = 0;
    for (Cell* cell : entry.cells)
        SetPlayerLetter(*cell, LetterValue(text[static_cast<size_t>(position++)]));
    return true;
}

bool IsLockedCell(const Cell& cell)
{
    const CellView* view = cell.FindView();
    return view && view->letterSet != kSetNormal && cell.playerLetter != kEmpty && cell.playerLetter == cell.letter;
}

bool PutPlayerLetter(Cell& cell, uint8_t letter, GameHost* host)
{
    assert((letter == kEmpty || IsLetterValue(letter)) && "a player letter is 0 or 1-26");
    if (cell.letter == kBlock || cell.playerLetter == letter || IsLockedCell(cell))
        return false;
    SetPlayerLetter(cell, letter);
    if (host)
        host->SetModified();
    return true;
}

bool IsCorrect(const Entry& entry)
{
    for (const Cell* cell : entry.cells) {
        if (cell->playerLetter != cell->letter)
            return false;
    }
    return true;
}

bool IsFilled(const Entry& entry)
{
    for (const Cell* cell : entry.cells) {
        if (cell->playerLetter == kEmpty)
            return false;
    }
    return true;
}

void GiveUp(Entry& entry)
{
    EnterAnswer(entry, TextOf(entry.text));
    entry.givenUp = 1;
    for (Cell* cell : entry.cells)
        SetLetterSet(*cell, kSetRevealed);
}

void RevealEntry(Entry& entry)
{
    if (IsCorrect(entry))
        return;
    entry.givenUp = 1;
    for (Cell* cell : entry.cells) {
        if (cell->playerLetter == cell->letter)
            continue;
        // Only letters are shown: a cell the filler left empty reveals as empty.
        const uint8_t shown = IsLetterValue(cell->letter) ? cell->letter : kEmpty;
        const int32_t letterSet = cell->playerLetter == kEmpty ? kSetRevealed : kSetCorrected;
        SetPlayerLetter(*cell, shown);
        SetLetterSet(*cell, letterSet);
    }
}

void ClearEntry(Entry& entry)
{
    entry.complete = 0;
    entry.repairCount = 0;
    for (Cell* cell : entry.cells) {
        SetPlayerLetter(*cell, kEmpty);
        SetLetterSet(*cell, kSetNormal);
    }
}

void EraseEntry(Entry& entry)
{
    entry.complete = 0;
    const bool across = entry.direction == kAcross;
    for (Cell* cell : entry.cells) {
        // A crossing letter stays only when the crossing entry placed a word over
        // the cell and the player has filled that entry completely.
        int32_t crossingHeld = 0;
        const Entry* crossing = nullptr;
        if (across) {
            cell->heldAcross = 0;
            crossingHeld = cell->heldDown;
            crossing = cell->downEntry;
        } else {
            cell->heldDown = 0;
            crossingHeld = cell->heldAcross;
            crossing = cell->acrossEntry;
        }
        if (crossingHeld != 0 && crossing && IsFilled(*crossing))
            continue;
        SetPlayerLetter(*cell, kEmpty);
    }
}

void RevealAll(Game& game, GameHost* host)
{
    for (Entry* entry : game.Across())
        RevealEntry(*entry);
    for (Entry* entry : game.Down())
        RevealEntry(*entry);
    if (host)
        host->SetModified();
}

void ClearAll(Game& game, GameHost* host)
{
    for (Entry* entry : game.Across())
        ClearEntry(*entry);
    for (Entry* entry : game.Down())
        ClearEntry(*entry);
    if (host)
        host->SetModified();
}

int32_t CountComplete(const Game& game)
{
    int32_t count = 0;
    for (const Entry* entry : game.Across())
        count += IsFilled(*entry) ? 1 : 0;
    for (const Entry* entry : game.Down())
        count += IsFilled(*entry) ? 1 : 0;
    return count;
}

int32_t CountGivenUp(const Game& game)
{
    int32_t count = 0;
    for (const Entry* entry : game.Across())
        count += entry->givenUp != 0 ? 1 : 0;
    for (const Entry* entry : game.Down())
        count += entry->givenUp != 0 ? 1 : 0;
    return count;
}

} // namespace pelorin
