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
        auto definition = std::make_unique<Definition>();
        definition->rank = rank;
        definition->text = std::move(text);
        entry.definitions.Add(std::move(definition));
    }

    Entry entry;
};

TEST_F(ClueTextTest, PluralAnswerGetsItsNoteBeforeTheFirstDefinition)
{
    entry.number = 7;
    entry.form = kFormPlural;
    Define(20, "A spiteful woman");
    Define(3, "Small domesticated feline");
    EXPECT_EQ(ClueLine(entry), "7. \t (plural) Small domesticated feline");
}

TEST_F(ClueTextTest, EntryWithoutDefinitionsShowsAQuestionMark)
{
    entry.number = 12;
    entry.direction = kDown;
    EXPECT_EQ(ClueLine(entry), "12. \t ?");
}

TEST_F(ClueTextTest, EachWordFormHasItsNoteAndOthersNone)
{
    entry.number = 1;
    Define(0, "Walk");
    const std::pair<int32_t, const char*> cases[] = {
        {kFormPlain, "1. \t Walk"},         {kFormPast, "1. \t (past) Walk"},
        {kFormDoing, "1. \t (doing) Walk"}, {1, "1. \t Walk"},
        {2, "1. \t Walk"},                  {-7, "1. \t Walk"},
    };
    for (const auto& [form, line] : cases) {
        entry.form = form;
        EXPECT_EQ(ClueLine(entry), line) << form;
    }
}

TEST_F(ClueTextTest, AbsentDefinitionTextGivesAnEmptyClue)
{
    entry.number = 3;
    Define(0, std::nullopt);
    EXPECT_EQ(ClueLine(entry), "3. \t ");
}

TEST_F(ClueTextTest, LongLineIsCutWithoutSplittingACharacter)
{
    entry.number = 5;
    // "5. \t " is 5 bytes; two-byte characters from there put a character
    // boundary on every odd byte count, so the 4,095-byte limit cuts between.
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "\xc3\xa9";
    Define(0, text);
    const std::string line = ClueLine(entry);
    EXPECT_EQ(line.size(), 4095u);
    EXPECT_EQ(line.substr(0, 5), "5. \t ");
    EXPECT_EQ(line.substr(line.size() - 2), "\xc3\xa9");

    entry.number = 15; // one byte more ahead: the last character no longer fits
    EXPECT_EQ(ClueLine(entry).size(), 4094u);
}

} // namespace
} // namespace pelorin
