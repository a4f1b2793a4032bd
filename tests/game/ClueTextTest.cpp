#include "game/ClueText.h"

#include "game/Game.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pelorin {
namespace {

class ClueTextTest : public ::testing::Test {
protected:
    void Define(int32_t rank, StoredText text)
    {
        entry.definitions.Add(std::make_unique<Definition>(Definition{rank, std::move(text)}));
    }

    Entry entry;
};

// The note of the word form goes before the lowest-ranked definition; an absent
// text shows nothing. (The tool's show command prints the other cases.)
TEST_F(ClueTextTest, WordFormNoteGoesBeforeTheFirstDefinition)
{
    entry.number = 7;
    entry.form = kFormPast;
    Define(20, "A spiteful woman");
    Define(3, "Walk");
    EXPECT_EQ(ClueLine(entry), "7. \t (past) Walk");
    entry.definitions.Clear();
    Define(0, std::nullopt);
    EXPECT_EQ(ClueLine(entry), "7. \t (past) ");
}

TEST_F(ClueTextTest, LongLineIsCutWithoutSplittingACharacter)
{
    entry.number = 5;
    // "5. \t " is 5 bytes; two-byte characters from there put a character
    // boundary on every odd byte count, so the 4,095-byte limit cuts between.
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "\xc3\xa9";
    Define(0, std::move(text));
    const std::string line = ClueLine(entry);
    EXPECT_EQ(line.size(), 4095u);
    EXPECT_EQ(line.substr(0, 5), "5. \t ");
    EXPECT_EQ(line.substr(line.size() - 2), "\xc3\xa9");

    entry.number = 15; // one byte more ahead: the last character no longer fits
    EXPECT_EQ(ClueLine(entry).size(), 4094u);
}

} // namespace
} // namespace pelorin
