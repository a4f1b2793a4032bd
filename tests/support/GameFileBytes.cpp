#include "support/GameFileBytes.h"

namespace pelorin::test {

namespace {

int Index(int face, int column, int row)
{
    return face * 64 + column * 8 + row;
}

void WriteCell(ByteImage& image, const TestCell& cell)
{
    image.Int32s({cell.face, cell.column, cell.row, cell.number, cell.heldAcross, cell.heldDown});
    image.Byte(cell.letter).Byte(cell.playerLetter).Int32s({cell.acrossIndex, cell.downIndex});
}

void WriteEntries(ByteImage& image, const std::vector<TestEntry>& entries, const TestGame& game)
{
    image.Int32(static_cast<int32_t>(entries.size()));
    for (const TestEntry& entry : entries) {
        image.Int32s({entry.index, entry.number, entry.direction, entry.form, entry.reserved, entry.givenUp});
        image.MaybeText(entry.text).Int32(static_cast<int32_t>(entry.cells.size()));
        for (int index : entry.cells)
            WriteCell(image, game.cells[static_cast<size_t>(index)]);
        image.Int32(static_cast<int32_t>(entry.quotes.size()));
        for (const TestQuote& quote : entry.quotes)
            image.Int32s({quote.key, quote.length}).Text(quote.text);
        image.Int32(static_cast<int32_t>(entry.definitions.size()));
        for (const TestDefinition& definition : entry.definitions)
            image.Int32s({definition.rank, definition.aux}).Text(definition.text);
    }
}

// An open cell of face 0 that the entries hold: across and down give their entry's
// index, or -1 for none.
void Open(TestGame& game, int column, int row, char letter, char playerLetter, int32_t across, int32_t down)
{
    TestCell& cell = game.cells[static_cast<size_t>(Index(0, column, row))];
    cell.letter = static_cast<uint8_t>(letter - 64);
    cell.playerLetter = playerLetter == ' ' ? 0 : static_cast<uint8_t>(playerLetter - 64);
    cell.heldAcross = across >= 0;
    cell.heldDown = down >= 0;
    cell.acrossIndex = across;
    cell.downIndex = down;
}

} // namespace

TestGame::TestGame()
{
    for (int i = 0; i < 256; ++i) // index = face * 64 + column * 8 + row
        cells[static_cast<size_t>(i)] = {.face = i / 64, .column = i / 8 % 8, .row = i % 8};
}

std::string GameBytes(const TestGame& game)
{
    ByteImage image;
    image.Int32(game.version).Text(game.magic).Int32(game.savedMark);
    WriteEntries(image, game.across, game);
    WriteEntries(image, game.down, game);
    for (const TestCell& cell : game.cells)
        WriteCell(image, cell);
    return image.Bytes() + game.trailing;
}

TestGame SampleGame()
{
    TestGame game;
    Open(game, 1, 0, 'C', 'C', 0, 0);
    game.cells[static_cast<size_t>(Index(0, 1, 0))].number = 1;
    Open(game, 2, 0, 'A', 'X', 0, -1);
    Open(game, 3, 0, 'T', ' ', 0, -1);
    Open(game, 1, 1, 'O', 'O', -1, 0);
    game.across.push_back({.number = 1, .direction = 0, .form = 3, .text = "CAT",
                           .cells = {Index(0, 1, 0), Index(0, 2, 0), Index(0, 3, 0)},
                           .quotes = {{5, 75, "The ___ sat on the mat and would not move for anyone at all."}},
                           .definitions = {{1, 7, "Small domesticated feline"}, {12, 0, "A spiteful woman"}}});
    game.down.push_back(
        {.number = 1, .direction = 1, .givenUp = 1, .text = "CO", .cells = {Index(0, 1, 0), Index(0, 1, 1)}});
    return game;
}

} // namespace pelorin::test
