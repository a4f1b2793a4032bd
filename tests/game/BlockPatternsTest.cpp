#include "game/BlockPatterns.h"

#include "game/Game.h"
#include "support/PatternGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>

namespace pelorin {
namespace {

// Entry lengths and how many entries have each.
std::map<int32_t, int> Lengths(const ItemList<Entry>& entries)
{
    std::map<int32_t, int> lengths;
    for (const Entry* entry : entries)
        ++lengths[entry->cells.Count()];
    return lengths;
}

class BlockPatternsTest : public ::testing::Test {
protected:
    void LayOut(int32_t id) { test::LayOutPattern(*game, id); }

    int32_t Highest() const
    {
        int32_t highest = 0;
        for (const auto* list : {&game->Across(), &game->Down()})
            for (const Entry* entry : *list)
                highest = std::max(highest, entry->number);
        return highest;
    }

    std::unique_ptr<Game> game = std::make_unique<Game>();
};

TEST_F(BlockPatternsTest, RowStringsAgreeAtEverySharedEdge)
{
    for (int32_t id = 0; id < kPatternCount; ++id) {
        for (int face = 0; face < kFaces; ++face) {
            for (int row = 0; row < kSide; ++row) {
                const std::string_view text = PatternRow(id, face, row);
                ASSERT_EQ(text.size(), 8u);
                EXPECT_EQ(text, PatternRow(id, (face + 2) % kFaces, row));
                const std::string_view next = PatternRow(id, (face + 1) % kFaces, row);
                EXPECT_EQ(text[7] == ' ', next[0] == ' ') << id << " " << face << " " << row;
                if (face % 2 == 1 && id < 3) {
                    const std::string reversed(PatternRow(id, 0, row).rbegin(), PatternRow(id, 0, row).rend());
                    EXPECT_EQ(text, reversed);
                }
            }
        }
    }
    EXPECT_EQ(PatternRow(0, 0, 0), "XXXXXX X");
    EXPECT_EQ(PatternRow(3, 1, 4), " XXXXX  ");
    EXPECT_TRUE(PatternRow(4, 0, 0).empty());
    EXPECT_TRUE(PatternRow(0, 4, 0).empty());
}

TEST_F(BlockPatternsTest, PatternZeroHasTwentyEightAcrossAndTwentyFourDown)
{
    LayOut(0);
    EXPECT_EQ(game->Across().Count(), 28);
    EXPECT_EQ(game->Down().Count(), 24);
    EXPECT_EQ(Highest(), 46);
    EXPECT_EQ(game->lastNumber, 46);
    EXPECT_EQ(Lengths(game->Across()), (std::map<int32_t, int>{{4, 12}, {5, 8}, {6, 8}}));
    EXPECT_EQ(Lengths(game->Down()), (std::map<int32_t, int>{{4, 8}, {5, 8}, {6, 4}, {7, 4}}));

    const Entry& across = *game->Across().At(0);
    const Entry& down = *game->Down().At(0);
    EXPECT_EQ(across.number, 1);
    EXPECT_EQ(down.number, 1);
    EXPECT_EQ(across.cells.Count(), 6);
    EXPECT_EQ(down.cells.Count(), 6);
    EXPECT_EQ(across.cells.At(0), &game->At(0, 0, 0));
    EXPECT_EQ(down.cells.At(0), &game->At(0, 0, 0));
    EXPECT_EQ(game->At(0, 0, 0).GetCellView().faceNumbers[0], 1);
}

TEST_F(BlockPatternsTest, PatternOneStartsItsFirstDownEntryAtNumberTwo)
{
    LayOut(1);
    EXPECT_EQ(game->Across().Count(), 20);
    EXPECT_EQ(game->Down().Count(), 16);
    EXPECT_EQ(Highest(), 32);
    const Entry& down = *game->Down().At(0);
    EXPECT_EQ(down.number, 2);
    EXPECT_EQ(down.cells.At(0), &game->At(0, 1, 0));
}

TEST_F(BlockPatternsTest, PatternTwoHasFourFullHeightDownEntries)
{
    LayOut(2);
    EXPECT_EQ(game->Across().Count(), 20);
    EXPECT_EQ(game->Down().Count(), 12);
    EXPECT_EQ(Highest(), 32);
    EXPECT_EQ(Lengths(game->Down())[8], 4);
}

TEST_F(BlockPatternsTest, PatternThreeIsFullRowsAndColumns)
{
    LayOut(3);
    EXPECT_EQ(game->Across().Count(), 12);
    EXPECT_EQ(game->Down().Count(), 8);
    EXPECT_EQ(Highest(), 20);
    EXPECT_EQ(Lengths(game->Across()), (std::map<int32_t, int>{{5, 4}, {8, 8}}));
    EXPECT_EQ(Lengths(game->Down()), (std::map<int32_t, int>{{8, 8}}));
}

TEST_F(BlockPatternsTest, FullRowEndsOnTheEdgeWhereTheNextFacesEntryStarts)
{
    LayOut(3);
    const Entry& row0 = *game->At(1, 0, 0).acrossEntry;
    ASSERT_EQ(row0.cells.Count(), 8);
    const Cell* last = row0.cells.At(7);
    EXPECT_EQ(last, &game->At(1, 7, 0));
    ASSERT_EQ(last->twin, &game->At(2, 0, 0));
    const Entry* next = last->twin->acrossEntry;
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, &row0);
    EXPECT_EQ(next->cells.At(0), last->twin);
}

TEST_F(BlockPatternsTest, NumbersRunUpwardsFaceByFace)
{
    for (int32_t id = 0; id < kPatternCount; ++id) {
        LayOut(id);
        for (const auto* list : {&game->Across(), &game->Down()}) {
            int32_t previousNumber = 0;
            int previousFace = 0;
            for (int32_t i = 0; i < list->Count(); ++i) {
                const Entry& entry = *list->At(i);
                EXPECT_EQ(entry.index, i);
                EXPECT_GT(entry.number, previousNumber);
                EXPECT_GE(entry.cells.At(0)->face, previousFace);
                EXPECT_EQ(entry.cells.At(0)->number, entry.number);
                EXPECT_GE(entry.cells.Count(), 2);
                EXPECT_LE(entry.cells.Count(), 8);
                previousNumber = entry.number;
                previousFace = entry.cells.At(0)->face;
            }
        }
    }
}

TEST_F(BlockPatternsTest, UnknownPatternLeavesEveryCellABlock)
{
    LayOut(4);
    EXPECT_EQ(game->Across().Count(), 0);
    EXPECT_EQ(game->Down().Count(), 0);
    for (int i = 0; i < kCellCount; ++i)
        EXPECT_EQ(game->At(i).letter, kBlock);
    LayOut(-1);
    EXPECT_EQ(game->Across().Count(), 0);
}

TEST_F(BlockPatternsTest, PatternRowPlacesCellsAndReachesTwins)
{
    ResetGame(*game);
    SetPatternRow(*game, 3, 5, "X      X");
    const Cell& first = game->At(3, 0, 5);
    EXPECT_EQ(first.letter, kEmpty);
    EXPECT_EQ(first.face, 3);
    EXPECT_EQ(first.row, 5);
    EXPECT_EQ(game->At(3, 6, 5).column, 6);
    EXPECT_EQ(game->At(3, 6, 5).letter, kBlock);
    // Column 7 of face 3 is column 0 of face 0; column 0 is column 7 of face 2.
    EXPECT_EQ(game->At(0, 0, 5).letter, kEmpty);
    EXPECT_EQ(game->At(2, 7, 5).letter, kEmpty);

    SetPatternRow(*game, 3, 5, "        ");
    EXPECT_EQ(game->At(0, 0, 5).letter, kBlock);
    EXPECT_EQ(game->At(2, 7, 5).letter, kBlock);

    // A longer text stops at the face's edge instead of running into other cells.
    SetPatternRow(*game, 3, 5, "XXXXXXXXXXXX");
    EXPECT_EQ(game->At(3, 7, 5).letter, kEmpty);
    EXPECT_EQ(game->At(3, 0, 6).letter, kBlock);
}

} // namespace
} // namespace pelorin
