#include "app/AppData.h"
#include "app/AppTestData.h"
#include "app/WorkerSlot.h"
#include "game/GameFile.h"
#include "support/DictionaryFile.h"
#include "support/RecordingNotifier.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <semaphore>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace pelorin {
namespace {
using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Generous: fills of the ABC words take a few passes, but the tests also run under
// ThreadSanitizer on a busy machine. A cleared flag ends a search within one pass.
constexpr auto kFillLimit = 120s;
constexpr auto kStopLimit = 3s;

// Wherever in the making of a game the flag is cleared (cutting a clue choice short),
// a written game has all its clues.
TEST(PrepareGameTest, WritesOnlyAWholeGame)
{
    test::RecordingNotifier notifier;
    test::TestRoot root;
    // A book of every word, many times over.
    const std::vector<std::string> words = test::AbcWords(2, 8);
    std::string text;
    for (int copy = 0; copy < 4; ++copy)
        for (size_t i = 0; i < words.size(); ++i)
            text += (i % 12 == 0 ? "\nThe " : " ") + words[i] + (i % 12 == 11 ? "." : "");
    const std::string book = root.Root() + "all.txt";
    test::WriteFileBytes(book, text);
    // A fresh style each time: its first clue choice makes its index of sentences,
    // so that choosing the clues takes a good share of the time.
    auto fresh = [&] {
        auto style = std::make_unique<Style>(root.Lexicon());
        style->AddBook(book);
        style->BuildWordList();
        return style;
    };
    const std::string path = root.CacheFile("All_0.zac");
    std::atomic<bool> keepRunning{true};
    auto style = fresh();
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(PrepareGame(*style, path, 0, keepRunning), PrepareResult::Written);
    const auto whole = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(std::distance(fs::directory_iterator(root.Cache()), {}), 2) << "the game and its code, nothing else";
    fs::remove(path);
    constexpr int kSteps = 40;
    for (int step = 0; step < kSteps; ++step) {
        style = fresh();
        std::atomic<bool> running{true};
        std::thread stopper([&] { std::this_thread::sleep_for(whole * step / kSteps); running = false; });
        const bool written = PrepareGame(*style, path, 0, running) == PrepareResult::Written;
        stopper.join();
        ASSERT_EQ(written, fs::exists(path));
        if (!written)
            continue;
        Game game;
        ASSERT_TRUE(OpenGame(path, game));
        for (const auto* list : {&game.Across(), &game.Down()})
            for (const Entry* entry : *list)
                EXPECT_FALSE(entry->definitions.Empty()) << "step " << step << ": " << TextOf(entry->text);
        fs::remove(path);
    }
}

// A Start while the job runs (a file taken while its worker ends) runs it once more,
// however often asked, unless stopped meanwhile; an idle slot starts afresh unless stopped.
TEST(WorkerSlotRestartTest, StartWhileTheJobRunsRunsItOnceMoreUnlessStopped)
{
    for (bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped" : "running");
        // The first run waits on the worker thread until the test lets it go.
        std::atomic<bool> keepRunning{true};
        std::atomic<int> runs{0};
        std::binary_semaphore entered{0}, released{0};
        const auto job = [&] { if (runs++ == 0) { entered.release(); released.acquire(); } };
        WorkerSlot slot;
        ASSERT_TRUE(slot.Start(job, keepRunning));
        entered.acquire();
        ASSERT_TRUE(slot.Running());
        EXPECT_TRUE(slot.Start(job, keepRunning));
        EXPECT_TRUE(slot.Start(job, keepRunning));
        keepRunning = !stop;
        released.release();
        slot.Join();
        EXPECT_EQ(runs, stop ? 1 : 2);
        EXPECT_FALSE(slot.Running());
        EXPECT_EQ(slot.Start(job, keepRunning), !stop);
        slot.Join();
        EXPECT_EQ(runs, stop ? 1 : 3);
    }
}

// The preparation as AppData runs it: start-up, taking games, deleting styles and the ways the program ends.
class PreparationTest : public ::testing::Test {
protected:
    std::unique_ptr<AppData> StartApp(int32_t attempts = kPrepareAttempts)
    {
        auto app = std::make_unique<AppData>(root_.Root());
        app->prepareAttempts = attempts;
        app->LoadAtStartup();
        return app;
    }
    bool AllCacheFiles(const std::string& styleName) const
    {
        for (int32_t pattern = 0; pattern < kPreparedPatterns; ++pattern)
            if (!fs::exists(root_.CacheFile(CacheFileName(styleName, pattern))))
                return false;
        return true;
    }
    static bool Idle(const AppData& app)
    {
        return std::ranges::all_of(app.Styles(), [&](const Style* style) { return app.RunningWorkers(*style) == 0; });
    }
    // A file made old shows any rewrite in its time.
    static void Age(const std::string& path) { fs::last_write_time(path, Now() - 24h * 365); }
    static bool IsOld(const std::string& path) { return fs::last_write_time(path) < Now() - 24h; }
    static fs::file_time_type Now() { return fs::file_time_type::clock::now(); }
    test::RecordingNotifier notifier_;
    test::SettingsDir settingsDir_;
    test::TestRoot root_;
};

struct RecordingHooks final : AppHooks {
    void RefreshSelection() override { calls += "S"; }
    void RefreshCluePages() override { calls += "C"; }
    void UpdateProgress() override { calls += "P"; }
    std::string calls;
};

// Start-up fills the cache and never rewrites a file; an added style is prepared at
// once. A file that does not read is replaced, the game in play untouched; a taken
// game's file, and only it, is made again; a later start finds the cache full.
TEST_F(PreparationTest, TheCacheIsFilledAndEachTakenFileReplaced)
{
    root_.AddStyle("A.zas");
    const std::string damaged = root_.CacheFile("A_1.zac");
    test::WriteFileBytes(damaged, "not a game file");
    auto app = StartApp();
    root_.AddStyle("B.zas");
    auto added = std::make_unique<Style>(app->Lexicon());
    ASSERT_TRUE(added->LoadFile(root_.Styles(), "B.zas"));
    app->AddStyle(std::move(added));
    ASSERT_EQ(app->Styles().Count(), 2);
    ASSERT_TRUE(test::WaitUntil([&] { return AllCacheFiles("A.zas") && AllCacheFiles("B.zas") && Idle(*app); },
                                kFillLimit));
    ASSERT_EQ(test::FileBytes(damaged), "not a game file");
    ASSERT_TRUE(OpenGame(root_.CacheFile("A_0.zac"), app->CurrentGame()));
    Entry* const first = app->CurrentGame().Across().At(0);
    app->selectedEntry = first;
    app->currentFilePath = "/games/old.zag";
    RecordingHooks window;
    app->mainWindow = &window;
    const auto state = [&] {
        return std::tuple(app->selectedEntry, window.calls, app->modified, app->currentFilePath, app->gameInPlay);
    };
    EXPECT_FALSE(app->TakeCachedGame(0, 1));
    EXPECT_EQ(app->CurrentGame().Across().At(0), first);
    EXPECT_EQ(state(), std::tuple(first, "", false, "/games/old.zag", false));
    ASSERT_TRUE(test::WaitUntil([&] { return fs::exists(damaged) && Idle(*app); }, kFillLimit));
    Game made;
    EXPECT_TRUE(OpenGame(damaged, made));
    const std::vector<std::string> names = {"A_0.zac", "A_1.zac", "A_2.zac", "B_0.zac", "B_1.zac", "B_2.zac"};
    for (const std::string& name : names)
        Age(root_.CacheFile(name));
    ASSERT_TRUE(CachedGameExists("B", app->CacheFolder(), 1));
    ASSERT_TRUE(app->TakeCachedGame(1, 1));
    ASSERT_GT(app->CurrentGame().Across().Count(), 0);
    // The new game has no file yet; the New Game dialog marks it in play, not the take.
    EXPECT_EQ(state(), std::tuple(app->CurrentGame().Across().At(0), "SCSP", true, "", false));
    // The worker left the game's code beside it, and the code makes that game again.
    const auto savedBytes = [&] {
        const std::string path = settingsDir_.File("game.zag");
        return SaveGame(path, app->CurrentGame()) ? test::FileBytes(path) : std::string();
    };
    const std::string takenBytes = savedBytes();
    PuzzleCode code;
    std::string reason;
    ASSERT_TRUE(ParseCode(app->currentCode, code, reason)) << app->currentCode;
    ASSERT_TRUE(app->MakePuzzle(code, reason)) << reason;
    EXPECT_EQ(savedBytes(), takenBytes);
    const std::string taken = root_.CacheFile("B_1.zac");
    EXPECT_TRUE(!fs::exists(taken) || !IsOld(taken)) << "the taken file was not deleted";
    ASSERT_TRUE(test::WaitUntil([&] { return fs::exists(taken) && Idle(*app); }, kFillLimit));
    EXPECT_FALSE(IsOld(taken));
    Age(taken);
    app->ShutDown();
    // Start-up removes the temporary files of saves cut short, keeping every other file
    // (one that another running program still writes too).
    const std::string own = Format("A_0.zac.%ld.3.tmp", static_cast<long>(getpid()));
    const std::string dead = "A_1.zac.2147483647.0.tmp"; // beyond any process number
    const std::vector<std::string> kept = {Format("A_2.zac.%ld.0.tmp", static_cast<long>(getppid())), "notes.tmp",
                                           "A.zac.txt"};
    for (const std::string& name : {own, dead, kept[0], kept[1], kept[2]})
        test::WriteFileBytes(root_.CacheFile(name), name);
    app = StartApp();
    ASSERT_TRUE(test::WaitUntil([&] { return Idle(*app); }, kFillLimit));
    EXPECT_FALSE(fs::exists(root_.CacheFile(own)) || fs::exists(root_.CacheFile(dead)));
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(root_.CacheFile(name))) << name;
    for (const std::string& name : names)
        EXPECT_TRUE(IsOld(root_.CacheFile(name))) << name;
    EXPECT_TRUE(notifier_.Messages().empty());
}

// New Game's wait restarts a worker that gave up until it gave up kGiveUpLimit times
// in a row; a run that finds its file starts the count again.
TEST_F(PreparationTest, KeepPreparingRestartsAWorkerUntilItGaveUpTooOften)
{
    root_.AddStyle("Short.zas", 2); // no grid fills with words of 2 letters
    fs::remove_all(root_.Cache()); // start-up makes it again, for the file written below
    auto app = StartApp(1);
    const Style& style = *app->Styles().At(0);
    int32_t restarts = 0;
    // Each time the worker has ended, the wait asks whether to go on waiting.
    const auto ended = [&] { return !app->WorkerRunning(style, 0) && !(app->KeepPreparing(0, 0) && ++restarts); };
    ASSERT_TRUE(test::WaitUntil(ended, kFillLimit));
    EXPECT_EQ(restarts, AppData::kGiveUpLimit - 1);
    EXPECT_EQ(app->GiveUps(style, 0), AppData::kGiveUpLimit);
    EXPECT_FALSE(app->WorkerRunning(style, 0)) << "nothing starts once the style cannot fill";
    EXPECT_FALSE(app->KeepPreparing(1, 0)) << "no such style";
    test::WriteFileBytes(root_.CacheFile("Short_0.zac"), "a game made by another run");
    app->StartPreparation(style);
    ASSERT_TRUE(test::WaitUntil([&] { return !app->WorkerRunning(style, 0); }, kFillLimit));
    EXPECT_EQ(app->GiveUps(style, 0), 0);
}

// ShutDown, Exit (no ShutDown), and deleting or replacing a style end searching
// workers promptly without a file; a style's end stops and removes only its own.
TEST_F(PreparationTest, SearchingWorkersEndPromptlyWithoutFiles)
{
    root_.AddStyle("Stuck1.zas", 4);
    root_.AddStyle("Stuck2.zas", 4);
    const std::string ownGame = root_.CacheFile("Stuck1_1.zac");
    const std::string otherGame = root_.CacheFile("Stuck2_1.zac");
    for (const std::string_view way : {"ShutDown", "Exit", "DeleteStyle", "ReplaceStyle"}) {
        SCOPED_TRACE(way);
        auto app = StartApp();
        ASSERT_EQ(app->RunningWorkers(*app->Styles().At(0)), 3);
        ASSERT_EQ(app->RunningWorkers(*app->Styles().At(1)), 3);
        const auto started = std::chrono::steady_clock::now();
        if (way == "ShutDown") {
            app->ShutDown();
            EXPECT_TRUE(Idle(*app));
            app->StartPreparation(*app->Styles().At(0));
            EXPECT_TRUE(Idle(*app)) << "nothing starts after shut-down";
        } else if (way == "Exit") {
            app.reset();
        } else {
            // Games another run prepared, written while the workers search.
            test::WriteFileBytes(ownGame, "game");
            test::WriteFileBytes(otherGame, "game");
            if (way == "DeleteStyle") {
                ASSERT_TRUE(app->DeleteStyle(0));
                EXPECT_FALSE(fs::exists(root_.StyleFile("Stuck1.zas")));
                ASSERT_EQ(app->Styles().Count(), 1);
                EXPECT_FALSE(app->DeleteStyle(1));
                root_.AddStyle("Stuck1.zas", 4);
            } else {
                auto replacement = std::make_unique<Style>(app->Lexicon());
                ASSERT_TRUE(replacement->LoadFile(root_.Styles(), "Stuck1.zas"));
                const Style* added = replacement.get();
                ASSERT_TRUE(app->ReplaceStyle(0, std::move(replacement)));
                ASSERT_EQ(app->Styles().Count(), 2);
                EXPECT_EQ(app->Styles().At(0), added);
                EXPECT_EQ(app->RunningWorkers(*added), 3) << "the new style is prepared at once";
                EXPECT_FALSE(app->ReplaceStyle(2, std::make_unique<Style>(app->Lexicon())));
            }
            EXPECT_FALSE(fs::exists(ownGame));
            ASSERT_TRUE(fs::remove(otherGame)) << "another style's game is kept";
            const Style& other = *app->Styles().At(app->Styles().Count() - 1);
            EXPECT_EQ(other.FileName(), "Stuck2.zas");
            // Its worker of pattern 1 may have seen the game written for it, and ended.
            EXPECT_GE(app->RunningWorkers(other), 2) << "the other style's workers go on";
            app.reset();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - started, kStopLimit);
        EXPECT_TRUE(fs::is_empty(root_.Cache()));
    }
}
} // namespace
} // namespace pelorin
