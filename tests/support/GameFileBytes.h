#pragma once

#include "support/DictionaryFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::test {

/// Game files built byte by byte from the file layout, independently of the
/// program's writer, so that tests check the reader and writer against the
/// layout itself. Fields are in the file's order.
struct TestCell {
    int32_t face = 0, column = 0, row = 0, number = 0, heldAcross = 0, heldDown = 0;
    uint8_t letter = 255, playerLetter = 0;
    int32_t acrossIndex = -1, downIndex = -1;
};

struct TestQuote {
    int32_t key = 0, length = 0;
    std::string text{};
};

struct TestEntry {
    int32_t index = 0, number = 0, direction = 0, form = 0, reserved = 0, givenUp = 0;
    std::optional<std::string> text{};
    std::vector<int> cells{}; ///< cell indexes; their records are written from the cell table
    std::vector<TestQuote> quotes{};
    std::vector<TestDefinition> definitions{};
};

struct TestGame {
    int32_t version = 56;
    std::string magic = "ZGAME";
    int32_t savedMark = 1;
    std::vector<TestEntry> across, down;
    std::array<TestCell, 256> cells; ///< by cell index; all blocks at their own positions
    std::string trailing;            ///< bytes after the last field, for damaged files
    TestGame();
};

/// The bytes of a whole game file.
std::string GameBytes(const TestGame& game);
/// A small game on face 0: Across 1 "CAT" at columns 1-3 of row 0 (plural, two
/// definitions, one quote; the player has "CX "), and Down 1 "CO" at column 1,
/// rows 0-1 (given up, no definitions; the player has "CO").
TestGame SampleGame();

} // namespace pelorin::test
