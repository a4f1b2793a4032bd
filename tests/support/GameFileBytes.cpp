#include "support/GameFileBytes.h"

namespace pelorin::test {

namespace {

int Index(int face, int column, int row)
{
    return face * 64 + column * 8 + row;
}

void WriteCell(ByteImage& image, const TestCell& cell)
{
    image.Int32(cell.face);
    image.Int32(cell.column);
    image.Int32(cell.row);
    image.Int32(cell.number);
    image.Int32(cell.heldAcross);
    image.Int32(cell.heldDown);
    image.Byte(cell.letter);
    image.Byte(cell.playerLetter);
    image.Int32(cell.acrossIndex);
    image.Int32(cell.downIndex);
}

void WriteEntry(ByteImage& image, const TestEntry& entry, const TestGame& game)
{
    image.Int32(entry.index);
    image.Int32(entry.number);
    image.Int32(entry.direction);
    image.Int32(entry.form);
    image.Int32(entry.reserved);
    image.Int32(entry.givenUp);
    if (entry.text)
        image.Text(*entry.text);
    else
        image.AbsentText();
    image.Int32(static_cast<int32_t>(entry.cells.size()));
    for (int index : entry.cells)
        WriteCell(image, game.cells[static_cast<size_t>(index)]);
    image.Int32(static_cast<int32_t>(entry.quotes.size()));
    for (const TestQuote& quote : entry.quotes) {
        image.Int32(quote.key);
        image.Int32(quote.length);
        image.Text(quote.text);
    }
    image.Int32(static_cast<int32_t>(entry.definitions.size()));
    for (const TestDefinition& definition : entry.definitions) {
        image.Int32(definition.rank);
        image.Int32(definition.aux);
        image.Text(definition.text);
    }
}

TestCell& Open(TestGame& game, int face, int column, int row, char letter, char playerLetter)
{
    TestCell& cell = game.cells[static_cast<size_t>(Index(face, column, row))];
    cell.letter = static_cast<uint8_t>(letter - 64);
    cell.playerLetter = playerLetter == ' ' ? 0 : static_cast<uint8_t>(playerLetter - 64);
    return cell;
}

} // namespace

TestGame::TestGame()
{
    for (int face = 0; face < 4; ++face) {
        for (int column = 0; column < 8; ++column) {
            for (int row = 0; row < 8; ++row) {
                TestCell& cell = cells[static_cast<size_t>(Index(face, column, row))];
                cell.face = face;
                cell.column = column;
                cell.row = row;
            }
        }
    }
}

std::string GameBytes(const TestGame& game)
{
    ByteImage image;
    image.Int32(game.version);
    image.Text(game.magic);
    image.Int32(game.savedMark);
    image.Int32(static_cast<int32_t>(game.across.size()));
    for (const TestEntry& entry : game.across)
        WriteEntry(image, entry, game);
    image.Int32(static_cast<int32_t>(game.down.size()));
    for (const TestEntry& entry : game.down)
        WriteEntry(image, entry, game);
    for (const TestCell& cell : game.cells)
        WriteCell(image, cell);
    return image.Bytes() + game.trailing;
}

TestGame SampleGame()
{
    TestGame game;
    TestCell& c = Open(game, 0, 1, 0, 'C', 'C');
    c.number = 1;
    c.heldAcross = 1;
    c.heldDown = 1;
    c.acrossIndex = 0;
    c.downIndex = 0;
    TestCell& a = Open(game, 0, 2, 0, 'A', 'X');
    a.heldAcross = 1;
    a.acrossIndex = 0;
    TestCell& t = Open(game, 0, 3, 0, 'T', ' ');
    t.heldAcross = 1;
    t.acrossIndex = 0;
    TestCell& o = Open(game, 0, 1, 1, 'O', 'O');
    o.heldDown = 1;
    o.downIndex = 0;

    TestEntry cat;
    cat.number = 1;
    cat.direction = 0;
    cat.form = 3;
    cat.text = "CAT";
    cat.cells = {Index(0, 1, 0), Index(0, 2, 0), Index(0, 3, 0)};
    cat.quotes = {{5, 75, "The ___ sat on the mat and would not move for anyone at all."}};
    cat.definitions = {{1, 7, "Small domesticated feline"}, {12, 0, "A spiteful woman"}};
    game.across.push_back(cat);

    TestEntry co;
    co.number = 1;
    co.direction = 1;
    co.givenUp = 1;
    co.text = "CO";
    co.cells = {Index(0, 1, 0), Index(0, 1, 1)};
    game.down.push_back(co);
    return game;
}

} // namespace pelorin::test
