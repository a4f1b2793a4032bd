#include "game/PlayState.h"

#include "foundation/Notifier.h"

#include <cassert>

namespace pelorin {

namespace {

template <typename Visit>
void ForEachEntry(const Game& game, Visit&& visit)
{
    for (const Entry* entry : game.Across())
        visit(*entry);
    for (const Entry* entry : game.Down())
        visit(*entry);
}

} // namespace

PlayState CapturePlay(const Game& game)
{
    PlayState state;
    for (int i = 0; i < kCellCount; ++i) {
        const Cell& cell = game.At(i);
        const CellView* view = cell.FindView();
        state.cells[static_cast<size_t>(i)] = {cell.playerLetter,
                                               static_cast<uint8_t>(view ? view->letterSet : kSetNormal),
                                               static_cast<uint8_t>(cell.heldAcross),
                                               static_cast<uint8_t>(cell.heldDown)};
    }
    state.entries.reserve(static_cast<size_t>(game.Across().Count() + game.Down().Count()));
    ForEachEntry(game, [&](const Entry& entry) {
        state.entries.push_back({entry.givenUp, entry.complete, entry.repairCount});
    });
    return state;
}

void RestorePlay(Game& game, const PlayState& state)
{
    assert(state.entries.size() == static_cast<size_t>(game.Across().Count() + game.Down().Count()) &&
           "a state goes back into the game it was captured from");
    for (int i = 0; i < kCellCount; ++i) {
        Cell& cell = game.At(i);
        const PlayState::CellMarks& marks = state.cells[static_cast<size_t>(i)];
        cell.playerLetter = marks.playerLetter;
        cell.heldAcross = marks.heldAcross;
        cell.heldDown = marks.heldDown;
        if (cell.letter == kBlock)
            continue;
        CellView& view = cell.GetCellView();
        if (view.letterTile == marks.playerLetter && view.letterSet == marks.letterSet)
            continue;
        view.letterTile = marks.playerLetter;
        view.letterSet = marks.letterSet;
        view.Refresh();
    }
    size_t at = 0;
    for (ItemList<Entry>* list : {&game.Across(), &game.Down()})
        for (Entry* entry : *list) {
            const PlayState::EntryMarks& marks = state.entries[at++];
            entry->givenUp = marks.givenUp;
            entry->complete = marks.complete;
            entry->repairCount = marks.repairCount;
        }
}

GridProgress AssessGrid(const Game& game)
{
    bool wrong = false;
    bool any = false;
    for (const ItemList<Entry>* list : {&game.Across(), &game.Down()})
        for (const Entry* entry : *list) {
            if (!IsFilled(*entry))
                return GridProgress::Open;
            wrong = wrong || !IsCorrect(*entry);
            any = true;
        }
    if (!any)
        return GridProgress::Open;
    return wrong ? GridProgress::Wrong : GridProgress::Solved;
}

std::string PlayTimeText(int64_t seconds)
{
    const auto value = [](int64_t part) { return static_cast<long long>(part); };
    if (seconds >= 3600)
        return Format("%lld:%02lld:%02lld", value(seconds / 3600), value(seconds / 60 % 60), value(seconds % 60));
    return Format("%lld:%02lld", value(seconds / 60), value(seconds % 60));
}

int32_t CheckEntry(Entry& entry)
{
    int32_t marked = 0;
    for (Cell* cell : entry.cells) {
        if (cell->playerLetter == kEmpty || cell->playerLetter == cell->letter)
            continue;
        CellView& view = cell->GetCellView();
        if (view.wrongMark != cell->playerLetter) {
            view.wrongMark = cell->playerLetter;
            view.Refresh();
        }
        ++marked;
    }
    return marked;
}

int32_t CheckGrid(Game& game)
{
    for (ItemList<Entry>* list : {&game.Across(), &game.Down()})
        for (Entry* entry : *list)
            CheckEntry(*entry);
    return CountMarkedWrong(game);
}

bool IsMarkedWrong(const Cell& cell)
{
    const CellView* view = cell.FindView();
    return view && cell.playerLetter != kEmpty && view->wrongMark == cell.playerLetter;
}

int32_t CountMarkedWrong(const Entry& entry)
{
    int32_t marked = 0;
    for (const Cell* cell : entry.cells)
        marked += IsMarkedWrong(*cell) ? 1 : 0;
    return marked;
}

int32_t CountMarkedWrong(const Game& game)
{
    int32_t marked = 0;
    for (int i = 0; i < kCellCount; ++i) {
        const Cell& cell = game.At(i);
        // Twins share one view: the cell that holds it counts for both.
        if (cell.letter != kBlock && IsMarkedWrong(cell) && cell.FindView()->holdingCell == &cell)
            ++marked;
    }
    return marked;
}

bool RevealLetter(Cell& cell, GameHost* host)
{
    if (cell.letter == kBlock || cell.playerLetter == cell.letter)
        return false;
    PutPlayerLetter(cell, cell.letter, host);
    CellView& view = cell.GetCellView();
    view.letterSet = kSetRevealed;
    view.Refresh();
    return true;
}

} // namespace pelorin
