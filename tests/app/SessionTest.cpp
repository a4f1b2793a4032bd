#include "app/Session.h"

#include "foundation/TextUtil.h"
#include "game/BlockPatterns.h"
#include "game/Game.h"
#include "game/GameFile.h"
#include "support/FilledGame.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace pelorin {
namespace {

void MakeGame(Game& game)
{
    LayOutPattern(game, 0);
    test::FillSolution(game);
    Entry& first = *game.Across().At(0);
    EnterAnswer(first, std::string(TextOf(first.text)));
}

// A game kept by a process that is then killed (kill -9, no chance to tidy up)
// comes back whole with its state at the next start.
TEST(SessionTest, AKilledProcessesGameComesBack)
{
    test::TempDir dir;
    const std::string folder = dir.File("Session");
    const SessionState kept{"/games/Week 1.zag", "Quotations-3F0A-2-1K9ZQ", true, 1, 2, 0.5f, 20.0f, 754};
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Game game;
        MakeGame(game);
        const char done = SaveSession(folder, kept, game) ? 'y' : 'n';
        (void)!write(ready[1], &done, 1);
        for (;;)
            pause();
    }
    char done = 0;
    ASSERT_EQ(read(ready[0], &done, 1), 1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(done, 'y');
    ASSERT_TRUE(WIFSIGNALED(status));

    Game expected;
    MakeGame(expected);
    Game game;
    SessionState state;
    ASSERT_EQ(LoadSession(folder, state, game), SessionLoad::Restored);
    EXPECT_EQ(state, kept);
    EXPECT_EQ(PlayerText(*game.Across().At(0)), PlayerText(*expected.Across().At(0)));
}

// A state paired with another game (a crash between the two writes) brings the
// game back without its file, so it is never saved over another game's file; a
// state that does not read is Unreadable and is set aside; none is None.
TEST(SessionTest, AStateOnlyComesBackWithItsOwnGame)
{
    test::TempDir dir;
    const std::string folder = dir.File("Session");
    Game game;
    SessionState state;
    EXPECT_EQ(LoadSession(folder, state, game), SessionLoad::None);
    MakeGame(game);
    ASSERT_TRUE(SaveSession(folder, {"/games/a.zag", "", false, 0, 0, 0.25f, 15.0f, 3}, game));
    GiveUp(*game.Down().At(0));
    ASSERT_TRUE(SaveGame(JoinPath(folder, "game.zag"), game));
    ASSERT_EQ(LoadSession(folder, state, game), SessionLoad::Restored);
    EXPECT_EQ(state.filePath, "");
    EXPECT_TRUE(state.modified);

    ASSERT_TRUE(test::WriteFileBytes(JoinPath(folder, "state.txt"), "pelorin-session 1\nentry x y\n"));
    EXPECT_EQ(LoadSession(folder, state, game), SessionLoad::Unreadable);
    const std::string aside = SetSessionAside(folder);
    EXPECT_TRUE(std::filesystem::exists(JoinPath(aside, "state.txt")));
    EXPECT_EQ(LoadSession(folder, state, game), SessionLoad::None);
}

} // namespace
} // namespace pelorin
