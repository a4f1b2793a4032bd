#include "game/ClueText.h"

#include "game/Game.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pelorin {
namespace {

void Define(Entry& entry, int32_t rank, StoredText text)
{
    entry.definitions.Add(std::make_unique<Definition>(Definition{rank, std::move(text)}));
}

// The note of the word form goes before the lowest-ranked definition; an absent
// text shows nothing. (The tool's show command prints the other cases.)
TEST(ClueTextTest, WordFormNoteGoesBeforeTheFirstDefinition)
{
    Entry entry;
    entry.number = 7;
    entry.form = kFormPast;
    Define(entry, 20, "A spiteful woman");
    Define(entry, 3, "Walk");
    EXPECT_EQ(ClueLine(entry), "7. \t (past) Walk");
    entry.definitions.Clear();
    Define(entry, 0, std::nullopt);
    EXPECT_EQ(ClueLine(entry), "7. \t (past) ");
}

// "5. \t " is 5 bytes; two-byte characters from there put a character boundary on
// every odd byte count, so the 4,095-byte limit cuts between; one byte more ahead
// and the last character no longer fits.
TEST(ClueTextTest, LongLineIsCutWithoutSplittingACharacter)
{
    Entry entry;
    entry.number = 5;
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "\xc3\xa9";
    Define(entry, 0, std::move(text));
    const std::string line = ClueLine(entry);
    EXPECT_EQ(line.size(), 4095u);
    EXPECT_EQ(line.substr(0, 5), "5. \t ");
    EXPECT_EQ(line.substr(line.size() - 2), "\xc3\xa9");
    entry.number = 15;
    EXPECT_EQ(ClueLine(entry).size(), 4094u);
}

} // namespace
} // namespace pelorin
