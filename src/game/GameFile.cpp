#include "game/GameFile.h"

#include "foundation/Notifier.h"
#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "game/Game.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pelorin {

namespace {

// The smallest sizes of the records a file announces by count, so that a count
// is checked against what is left of the file before anything is built for it.
constexpr int64_t kCellRecordBytes = 34;
// index, number, direction, form, reserved, givenUp, text count, cell count,
// quote count, definition count.
constexpr int64_t kEntryRecordMinBytes = 40;
// Two int32 and a text count: a quote (key, length, text) or a definition.
constexpr int64_t kHintMinBytes = 12;
// No entry runs further than one side of a face.
constexpr int32_t kMaxEntryCells = kSide;
// At most four entries of two cells or more fit in a line of eight, and each
// direction has 32 lines: a file announcing more is damaged.
constexpr int32_t kMaxEntries = kFaces * kSide * 4;

/// A cell record as the file holds it.
struct CellRecord {
    int32_t face = 0;
    int32_t column = 0;
    int32_t row = 0;
    int32_t number = 0;
    int32_t heldAcross = 0;
    int32_t heldDown = 0;
    uint8_t letter = kBlock;
    uint8_t playerLetter = kEmpty;
    int32_t acrossIndex = -1;
    int32_t downIndex = -1;

    int Index() const { return CellIndex(face, column, row); }
};

using EntryVector = std::vector<std::unique_ptr<Entry>>;

/// Everything a game file holds, read completely before the game is touched.
struct GameImage {
    int32_t savedMark = 0;
    EntryVector across;
    EntryVector down;
    std::array<CellRecord, kCellCount> cells;
};

// --- Writing ---------------------------------------------------------------

void WriteCell(FileWriter& out, const Cell& cell)
{
    out.WriteInt32(cell.face);
    out.WriteInt32(cell.column);
    out.WriteInt32(cell.row);
    out.WriteInt32(cell.number);
    out.WriteInt32(cell.heldAcross);
    out.WriteInt32(cell.heldDown);
    out.WriteByte(cell.letter);
    out.WriteByte(cell.playerLetter);
    out.WriteInt32(cell.acrossEntry ? cell.acrossEntry->index : -1);
    out.WriteInt32(cell.downEntry ? cell.downEntry->index : -1);
}

void WriteEntry(FileWriter& out, const Entry& entry)
{
    out.WriteInt32(entry.index);
    out.WriteInt32(entry.number);
    out.WriteInt32(entry.direction);
    out.WriteInt32(entry.form);
    out.WriteInt32(entry.reserved);
    out.WriteInt32(entry.givenUp);
    out.WriteText(entry.text);
    out.WriteInt32(entry.cells.Count());
    for (const Cell* cell : entry.cells)
        WriteCell(out, *cell);
    out.WriteInt32(entry.quotes.Count());
    for (const Quote* quote : entry.quotes) {
        out.WriteInt32(quote->key);
        out.WriteInt32(quote->length);
        out.WriteText(quote->text);
    }
    out.WriteInt32(entry.definitions.Count());
    for (const Definition* definition : entry.definitions) {
        out.WriteInt32(definition->rank);
        out.WriteInt32(definition->aux);
        out.WriteText(definition->text);
    }
}

void WriteEntries(FileWriter& out, const ItemList<Entry>& entries)
{
    out.WriteInt32(entries.Count());
    for (const Entry* entry : entries)
        WriteEntry(out, *entry);
}

// --- Reading ---------------------------------------------------------------

bool IsLetterByte(uint8_t letter)
{
    return letter <= kLastLetter;
}

// Reads one cell record and rejects values no game can hold: a position off the
// faces would index past the cells, and a letter outside the letter range would
// index past the scene's letter tiles.
bool ReadCellRecord(FileReader& in, CellRecord& record)
{
    const bool read = in.ReadInt32(record.face) && in.ReadInt32(record.column) && in.ReadInt32(record.row) &&
                      in.ReadInt32(record.number) && in.ReadInt32(record.heldAcross) &&
                      in.ReadInt32(record.heldDown) && in.ReadByte(record.letter) &&
                      in.ReadByte(record.playerLetter) && in.ReadInt32(record.acrossIndex) &&
                      in.ReadInt32(record.downIndex);
    if (!read)
        return false;
    const bool placed = record.face >= 0 && record.face < kFaces && record.column >= 0 && record.column < kSide &&
                        record.row >= 0 && record.row < kSide;
    const bool lettered = (record.letter == kBlock || IsLetterByte(record.letter)) &&
                          IsLetterByte(record.playerLetter);
    return placed && lettered;
}

bool ReadEntryCells(FileReader& in, Entry& entry)
{
    int32_t count = 0;
    if (!in.ReadInt32(count) || count > kMaxEntryCells || !in.CanHold(count, kCellRecordBytes))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        CellRecord record;
        if (!ReadCellRecord(in, record))
            return false;
        // A stand-alone copy: it belongs to no game and only says which game cell
        // the entry runs through.
        auto cell = std::make_unique<Cell>();
        cell->face = record.face;
        cell->column = record.column;
        cell->row = record.row;
        cell->number = record.number;
        cell->heldAcross = record.heldAcross;
        cell->heldDown = record.heldDown;
        cell->letter = record.letter;
        cell->playerLetter = record.playerLetter;
        entry.storedCells.Add(std::move(cell));
    }
    return true;
}

bool ReadQuotes(FileReader& in, Entry& entry)
{
    int32_t count = 0;
    if (!in.ReadInt32(count) || !in.CanHold(count, kHintMinBytes))
        return false;
    entry.quotes.Reserve(count);
    for (int32_t i = 0; i < count; ++i) {
        auto quote = std::make_unique<Quote>();
        if (!in.ReadInt32(quote->key) || !in.ReadInt32(quote->length) || !in.ReadText(quote->text))
            return false;
        entry.quotes.Add(std::move(quote));
    }
    return true;
}

// Definitions are kept in rank order, in a list sorted by rank as a fresh game's
// is. Among equal ranks the file's order is kept, so that the clue (the first
// definition) of a reopened game is the one that was saved; the list's keyed
// insertion would reverse such ties on every reopening.
bool ReadDefinitions(FileReader& in, Entry& entry)
{
    int32_t count = 0;
    if (!in.ReadInt32(count) || !in.CanHold(count, kHintMinBytes))
        return false;
    std::vector<std::unique_ptr<Definition>> read;
    read.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        auto definition = std::make_unique<Definition>();
        if (!in.ReadInt32(definition->rank) || !in.ReadInt32(definition->aux) || !in.ReadText(definition->text))
            return false;
        read.push_back(std::move(definition));
    }
    std::stable_sort(read.begin(), read.end(),
                     [](const auto& a, const auto& b) { return a->rank < b->rank; });
    DefinitionList ranked = MakeDefinitionList();
    ranked.Reserve(count);
    for (auto& definition : read)
        ranked.Append(std::move(definition));
    entry.definitions.Swap(ranked);
    return true;
}

std::unique_ptr<Entry> ReadEntry(FileReader& in)
{
    auto entry = std::make_unique<Entry>();
    const bool head = in.ReadInt32(entry->index) && in.ReadInt32(entry->number) &&
                      in.ReadInt32(entry->direction) && in.ReadInt32(entry->form) &&
                      in.ReadInt32(entry->reserved) && in.ReadInt32(entry->givenUp) && in.ReadText(entry->text);
    if (!head || !ReadEntryCells(in, *entry) || !ReadQuotes(in, *entry) || !ReadDefinitions(in, *entry))
        return nullptr;
    return entry;
}

bool ReadEntries(FileReader& in, EntryVector& entries)
{
    int32_t count = 0;
    if (!in.ReadInt32(count) || count > kMaxEntries || !in.CanHold(count, kEntryRecordMinBytes))
        return false;
    entries.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<Entry> entry = ReadEntry(in);
        if (!entry)
            return false;
        entries.push_back(std::move(entry));
    }
    return true;
}

// Whether an entry is one that numbering the grid gives: a positive number, its
// cells a run of open cells along one face in its direction, and its text the
// solution letters of those cells. Anything else is damage, which a reveal or a
// check of the player's answer would otherwise act on.
bool FitsGrid(const Entry& entry, int32_t direction, const std::array<CellRecord, kCellCount>& cells)
{
    if (entry.direction != direction || entry.number <= 0)
        return false;
    std::string letters;
    const Cell* previous = nullptr;
    for (const Cell* stored : entry.storedCells) {
        const CellRecord& cell = cells[static_cast<size_t>(CellIndex(stored->face, stored->column, stored->row))];
        if (cell.letter == kBlock)
            return false;
        if (previous) {
            const bool across = stored->row == previous->row && stored->column == previous->column + 1;
            const bool down = stored->column == previous->column && stored->row == previous->row + 1;
            if (stored->face != previous->face || !(direction == kAcross ? across : down))
                return false;
        }
        previous = stored;
        letters.push_back(LetterChar(cell.letter));
    }
    return TextOf(entry.text) == letters;
}

// A grid no game can have would leave entries running over blocks, where a reveal
// would hand the block's letter to the player. Twins are one physical cell and
// are open or blocked together in every pattern.
bool IsConsistent(const GameImage& image)
{
    for (int face = 0; face < kFaces; ++face) {
        for (int row = 0; row < kSide; ++row) {
            const CellRecord& right = image.cells[static_cast<size_t>(CellIndex(face, kSide - 1, row))];
            const CellRecord& left = image.cells[static_cast<size_t>(CellIndex((face + 1) % kFaces, 0, row))];
            if ((right.letter == kBlock) != (left.letter == kBlock))
                return false;
        }
    }
    for (const auto& entry : image.across) {
        if (!FitsGrid(*entry, kAcross, image.cells))
            return false;
    }
    for (const auto& entry : image.down) {
        if (!FitsGrid(*entry, kDown, image.cells))
            return false;
    }
    return true;
}

// Whether a cell record may stand at a cell index. A game keeps its cells'
// positions, so a record naming another cell would put its letters and numbers
// in the wrong place. A game that never had a pattern laid out has its cells at
// face 0, column 0, row 0 and writes them so: a block may carry that position.
bool IsRecordOf(const CellRecord& record, int index)
{
    if (record.Index() == index)
        return true;
    return record.letter == kBlock && record.face == 0 && record.column == 0 && record.row == 0;
}

// False for a file of another version or magic and for a damaged one alike: the
// player is told of neither.
bool ReadImage(FileReader& in, GameImage& image)
{
    int32_t version = 0;
    StoredText magic;
    if (!in.ReadInt32(version) || version != Game::kVersion || !in.ReadText(magic))
        return false;
    if (!magic || ToUpperAscii(*magic) != Game::kMagic)
        return false;
    if (!in.ReadInt32(image.savedMark) || !ReadEntries(in, image.across) || !ReadEntries(in, image.down))
        return false;
    for (int i = 0; i < kCellCount; ++i) {
        CellRecord& record = image.cells[static_cast<size_t>(i)];
        if (!ReadCellRecord(in, record) || !IsRecordOf(record, i))
            return false;
    }
    return in.AtEnd() && IsConsistent(image);
}

// The entry whose index field (not its position) is the stored index; the first
// one when a file repeats an index.
class EntryFinder {
public:
    explicit EntryFinder(const ItemList<Entry>& entries)
    {
        for (Entry* entry : entries)
            byIndex_.try_emplace(entry->index, entry);
    }
    Entry* Find(int32_t index) const
    {
        const auto found = byIndex_.find(index);
        return found == byIndex_.end() ? nullptr : found->second;
    }

private:
    std::map<int32_t, Entry*> byIndex_;
};

void ApplyCells(Game& game, const std::array<CellRecord, kCellCount>& records)
{
    // The old game's views are set back first: a view is shared by twins, and
    // resetting it while its other cell is applied would wipe that cell's number.
    // A block cell keeps no view at all (twins are blocks together), so the scene
    // draws nothing where the new game has blocks; an open cell's view is marked
    // for rebuilding below.
    for (int i = 0; i < kCellCount; ++i) {
        Cell& cell = game.At(i);
        if (records[static_cast<size_t>(i)].letter == kBlock) {
            cell.view.reset();
        } else if (CellView* view = cell.view.get()) {
            view->letterSet = kSetNormal;
            view->faceNumbers.fill(0);
            view->letterTile = 0;
            view->mesh.reset();
        }
    }
    const EntryFinder across(game.Across());
    const EntryFinder down(game.Down());
    for (int i = 0; i < kCellCount; ++i) {
        const CellRecord& record = records[static_cast<size_t>(i)];
        Cell& cell = game.At(i);
        cell.number = record.number;
        cell.heldAcross = record.heldAcross;
        cell.heldDown = record.heldDown;
        cell.letter = record.letter;
        cell.playerLetter = record.playerLetter;
        cell.acrossEntry = across.Find(record.acrossIndex);
        cell.downEntry = down.Find(record.downIndex);
        if (record.letter == kBlock)
            continue;
        CellView& view = cell.GetCellView();
        view.faceNumbers[static_cast<size_t>(cell.face)] = record.number;
        // Twins are applied one after the other; the later one sets the common
        // letters last.
        SetLetter(cell, record.letter, true);
        view.letterTile = record.playerLetter;
        view.dirty = 1;
        if (cell.twin)
            cell.twin->playerLetter = record.playerLetter;
    }
}

void TakeEntries(ItemList<Entry>& list, EntryVector& entries)
{
    list.Clear();
    for (auto& entry : entries)
        list.Add(std::move(entry));
}

void LinkStoredCells(Game& game, ItemList<Entry>& entries)
{
    for (Entry* entry : entries) {
        for (const Cell* stored : entry->storedCells)
            entry->cells.Add(&game.At(stored->face, stored->column, stored->row));
    }
}

} // namespace

bool WriteGame(const std::string& path, Game& game, int& error)
{
    ReplacingFile file;
    if (!file.Open(path)) {
        error = errno;
        return false;
    }
    game.savedMark = 1;
    FileWriter out(file.Get());
    out.WriteInt32(Game::kVersion);
    out.WriteText(std::string_view(Game::kMagic));
    out.WriteInt32(game.savedMark);
    WriteEntries(out, game.Across());
    WriteEntries(out, game.Down());
    for (int i = 0; i < kCellCount; ++i)
        WriteCell(out, game.At(i));
    // The old file stays as it was when the new one did not reach the disk.
    if (!file.Commit(out.Ok())) {
        // A write that failed without the system saying why is an input/output error.
        error = errno != 0 ? errno : EIO;
        return false;
    }
    error = 0;
    return true;
}

bool SaveGame(const std::string& path, Game& game)
{
    // A save that did not reach the disk is a failure the player must hear of.
    int error = 0;
    if (WriteGame(path, game, error))
        return true;
    ShowFileError(path, error, "Cannot Open Game File", "Error");
    return false;
}

bool OpenGame(const std::string& path, Game& game)
{
    FilePtr file = OpenForReading(path, "Cannot open Game file (%s), error code (%d)", "Project Open");
    if (!file)
        return false;
    FileReader in(file.get());
    auto image = std::make_unique<GameImage>();
    if (!ReadImage(in, *image))
        return false;
    file.reset();

    game.savedMark = image->savedMark;
    TakeEntries(game.Across(), image->across);
    TakeEntries(game.Down(), image->down);
    ApplyCells(game, image->cells);
    LinkStoredCells(game, game.Across());
    LinkStoredCells(game, game.Down());
    return true;
}

} // namespace pelorin
