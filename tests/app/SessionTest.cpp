#include "app/Session.h"

#include "foundation/TextUtil.h"
#include "game/GameFile.h"
#include "support/SolvedGame.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <filesystem>

namespace pelorin {
namespace {
// The kept state comes back whole (the game's letters: the main window's restart
// test); a state paired with another game (a crash between the two writes) comes back
// without its file, never to be saved over it.
using SessionTest = test::SolvedGameTest;

TEST_F(SessionTest, AStateOnlyComesBackWithItsOwnGame)
{
    test::TempDir dir;
    const std::string folder = dir.File("Session");
    Game back;
    SessionState state;
    const SessionState kept{"/games/Week 1.zag", "Quotations-3F0A-2-1K9ZQ", true, 1, 2, 0.5f, 20.0f, 754};
    ASSERT_TRUE(SaveSession(folder, kept, *game));
    ASSERT_EQ(LoadSession(folder, state, back), SessionLoad::Restored);
    EXPECT_EQ(state, kept);
    ASSERT_TRUE(SaveSession(folder, {"/games/a.zag", "", false, 0, 0, 0.25f, 15.0f, 3}, *game));
    GiveUp(*game->Down().At(0));
    ASSERT_TRUE(SaveGame(JoinPath(folder, "game.zag"), *game));
    ASSERT_EQ(LoadSession(folder, state, *game), SessionLoad::Restored);
    EXPECT_EQ(std::pair(state.filePath, state.modified), std::pair(std::string(), true));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(folder, "state.txt"), "pelorin-session 1\nentry x y\n"));
    EXPECT_EQ(LoadSession(folder, state, *game), SessionLoad::Unreadable);
    EXPECT_TRUE(std::filesystem::exists(JoinPath(SetSessionAside(folder), "state.txt")));
    EXPECT_EQ(LoadSession(folder, state, *game), SessionLoad::None);
}
} // namespace
} // namespace pelorin
