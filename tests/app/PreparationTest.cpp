#include "app/AppData.h"
#include "app/AppTestData.h"
#include "app/WorkerSlot.h"

#include "game/GameFile.h"
#include "lexicon/StyleList.h"
#include "support/RecordingNotifier.h"

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace pelorin {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Generous limits: fills of the ABC words take a few passes, but the tests also run
// under ThreadSanitizer on a busy machine.
constexpr auto kFillLimit = 120s;
// Clearing the flag ends a searching filler within one pass; allow for a slow one.
constexpr auto kStopLimit = 3s;

TEST(CacheFileNameTest, KeepsEveryDotButTheLast)
{
    EXPECT_EQ(CacheFileName("Classic.zas", 2), "Classic_2.zac");
    EXPECT_EQ(CacheFileName("My.Style.zas", 0), "My.Style_0.zac");
    EXPECT_EQ(CacheFileName(".zas", 1), ".zas_1.zac");
    // Names are not cut to a fixed buffer.
    const std::string longName(300, 'n');
    EXPECT_EQ(CacheFileName(longName + ".zas", 1), longName + "_1.zac");
}

// The workers' own tests: a slot, its thread and the file it makes.
class WorkerSlotTest : public ::testing::Test {
protected:
    const Style& LoadStyle(const std::string& fileName, int maxLength = 8)
    {
        root_.AddStyle(fileName, maxLength);
        auto style = std::make_unique<Style>(root_.Lexicon());
        EXPECT_TRUE(style->LoadFile(root_.Styles(), fileName));
        styles_.Add(std::move(style));
        return *styles_.At(styles_.Count() - 1);
    }

    test::RecordingNotifier notifier_;
    test::TempDir scratch_;
    test::TestRoot root_;
    ItemList<Style> styles_{4, ListOrder::Append, true, 4};
    std::atomic<bool> keepRunning_{true};
};

TEST_F(WorkerSlotTest, PrepareGameWritesAFilledGameOnlyWhenTheFileIsMissing)
{
    const Style& style = LoadStyle("Quick.zas");
    const std::string path = root_.CacheFile("Quick_1.zac");
    ASSERT_TRUE(PrepareGame(style, path, 1, keepRunning_));

    Game game;
    ASSERT_TRUE(OpenGame(path, game));
    EXPECT_GT(game.Across().Count(), 0);
    // Written under another name and renamed: nothing else is left in the folder.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root_.Cache()))
        ++files;
    EXPECT_EQ(files, 1);
    EXPECT_TRUE(CachedGameExists("Quick", root_.Cache() + "/", 1));
    EXPECT_FALSE(CachedGameExists("Quick", root_.Cache(), 0));

    const std::string before = test::FileBytes(path);
    EXPECT_FALSE(PrepareGame(style, path, 1, keepRunning_));
    EXPECT_EQ(test::FileBytes(path), before);
    EXPECT_TRUE(notifier_.Messages().empty());
}

TEST_F(WorkerSlotTest, ClearedFlagOrMissingCacheFolderWritesNothing)
{
    const Style& style = LoadStyle("Quick.zas");
    keepRunning_ = false;
    EXPECT_FALSE(PrepareGame(style, root_.CacheFile("Quick_0.zac"), 0, keepRunning_));
    EXPECT_FALSE(fs::exists(root_.CacheFile("Quick_0.zac")));

    keepRunning_ = true;
    fs::remove_all(root_.Cache());
    EXPECT_FALSE(PrepareGame(style, root_.CacheFile("Quick_0.zac"), 0, keepRunning_));
    ASSERT_EQ(notifier_.Messages().size(), 1u);
    EXPECT_EQ(notifier_.Messages()[0].first, "Cannot Open Game File");
    EXPECT_EQ(notifier_.Messages()[0].second, "Error");
}

TEST_F(WorkerSlotTest, ClearingTheFlagStopsASearchingWorkerWithoutAFile)
{
    const Style& style = LoadStyle("Stuck.zas", 4);
    const std::string path = root_.CacheFile("Stuck_0.zac");
    WorkerSlot slot;
    ASSERT_TRUE(slot.Start(style, path, 0, keepRunning_));
    EXPECT_TRUE(slot.Running());
    std::this_thread::sleep_for(50ms); // well into its passes
    ASSERT_TRUE(slot.Running()) << "the fill was expected to search far longer";

    keepRunning_ = false;
    EXPECT_TRUE(slot.WaitFor(kStopLimit));
    EXPECT_FALSE(slot.Running());
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(slot.Start(style, path, 0, keepRunning_)) << "nothing starts once stopped";
}

// A file taken while its worker is still ending must be made again: starting the
// slot then has the running worker look once more instead of being ignored.
TEST_F(WorkerSlotTest, FileTakenWhileItsWorkerEndsIsMadeAgain)
{
    const Style& style = LoadStyle("Quick.zas");
    const std::string path = root_.CacheFile("Quick_2.zac");
    WorkerSlot slot;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(slot.Start(style, path, 2, keepRunning_));
        ASSERT_TRUE(test::WaitUntil([&] { return fs::exists(path); }, kFillLimit)) << "round " << round;
        fs::remove(path); // taken, perhaps before the worker's last act
    }
    ASSERT_TRUE(slot.Start(style, path, 2, keepRunning_));
    EXPECT_TRUE(test::WaitUntil([&] { return fs::exists(path); }, kFillLimit));
    EXPECT_TRUE(slot.WaitFor(kFillLimit));
}

// The preparation as AppData runs it: start-up, taking games, deleting styles and
// the ways the program ends.
class PreparationTest : public ::testing::Test {
protected:
    PreparationTest()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(settingsDir_.Folder()));
    }

    std::unique_ptr<AppData> StartApp()
    {
        auto app = std::make_unique<AppData>(root_.Root());
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
        for (const Style* style : app.Styles())
            if (app.RunningWorkers(*style) != 0)
                return false;
        return true;
    }

    // Marks a file as old, so that any rewrite shows in its time.
    static void Age(const std::string& path)
    {
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 365));
    }
    static bool IsOld(const std::string& path)
    {
        return fs::last_write_time(path) < fs::file_time_type::clock::now() - std::chrono::hours(24);
    }

    test::RecordingNotifier notifier_;
    test::TempDir settingsDir_;
    test::TestRoot root_;
};

TEST_F(PreparationTest, StartUpFillsTheCacheAndStartsNoFillWhenItIsFull)
{
    root_.AddStyle("My.Style.zas");
    {
        auto app = StartApp();
        ASSERT_TRUE(test::WaitUntil([&] { return AllCacheFiles("My.Style.zas") && Idle(*app); }, kFillLimit));
        app->ShutDown();
    }
    for (int32_t pattern = 0; pattern < kPreparedPatterns; ++pattern)
        Age(root_.CacheFile(Format("My.Style_%d.zac", pattern)));

    auto app = StartApp();
    ASSERT_TRUE(test::WaitUntil([&] { return Idle(*app); }, kFillLimit));
    for (int32_t pattern = 0; pattern < kPreparedPatterns; ++pattern)
        EXPECT_TRUE(IsOld(root_.CacheFile(Format("My.Style_%d.zac", pattern)))) << pattern;
    EXPECT_TRUE(notifier_.Messages().empty());
}

class RecordingHooks final : public AppHooks {
public:
    void RefreshSelection() override { calls += "S"; }
    void RefreshCluePages() override { calls += "C"; }
    void UpdateProgress() override { calls += "P"; }

    std::string calls;
};

TEST_F(PreparationTest, TakingAGameReplacesExactlyThatFile)
{
    root_.AddStyle("A.zas");
    root_.AddStyle("B.zas");
    auto app = StartApp();
    ASSERT_TRUE(test::WaitUntil([&] { return AllCacheFiles("A.zas") && AllCacheFiles("B.zas") && Idle(*app); },
                                kFillLimit));
    const std::vector<std::string> names = {"A_0.zac", "A_1.zac", "A_2.zac", "B_0.zac", "B_1.zac", "B_2.zac"};
    for (const std::string& name : names)
        Age(root_.CacheFile(name));

    RecordingHooks window;
    app->mainWindow = &window;
    app->currentFilePath = "/games/old.zag";
    ASSERT_TRUE(CachedGameExists("B", app->CacheFolder(), 1));
    ASSERT_TRUE(app->TakeCachedGame(1, 1));
    EXPECT_GT(app->CurrentGame().Across().Count(), 0);
    EXPECT_EQ(app->selectedEntry, app->CurrentGame().Across().At(0));
    EXPECT_EQ(window.calls, "SCSP");
    EXPECT_TRUE(app->modified);
    EXPECT_TRUE(app->currentFilePath.empty()) << "the new game has no file yet";
    EXPECT_FALSE(app->gameInPlay) << "the New Game dialog marks the game in play, not the take";

    const std::string taken = root_.CacheFile("B_1.zac");
    EXPECT_TRUE(!fs::exists(taken) || !IsOld(taken)) << "the taken file was not deleted";
    ASSERT_TRUE(test::WaitUntil([&] { return fs::exists(taken) && Idle(*app); }, kFillLimit));
    EXPECT_FALSE(IsOld(taken));
    for (const std::string& name : names) {
        if (name != "B_1.zac") {
            EXPECT_TRUE(IsOld(root_.CacheFile(name))) << name;
        }
    }
}

TEST_F(PreparationTest, ShutDownStopsSearchingWorkersWithoutFiles)
{
    root_.AddStyle("Stuck.zas", 4);
    auto app = StartApp();
    const Style& style = *app->Styles().At(0);
    EXPECT_EQ(app->RunningWorkers(style), 3);

    const auto started = std::chrono::steady_clock::now();
    app->ShutDown();
    EXPECT_LT(std::chrono::steady_clock::now() - started, kStopLimit);
    EXPECT_EQ(app->RunningWorkers(style), 0);
    EXPECT_FALSE(app->KeepRunning());
    app->StartPreparation(style);
    EXPECT_EQ(app->RunningWorkers(style), 0) << "nothing starts after shut-down";
    EXPECT_TRUE(fs::is_empty(root_.Cache()));
}

// The Exit command destroys AppData without ShutDown while workers search.
TEST_F(PreparationTest, DestructionWithoutShutDownEndsEveryWorker)
{
    root_.AddStyle("Stuck1.zas", 4);
    root_.AddStyle("Stuck2.zas", 4);
    auto app = StartApp();
    ASSERT_EQ(app->RunningWorkers(*app->Styles().At(1)), 3);

    const auto started = std::chrono::steady_clock::now();
    app.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, kStopLimit);
    EXPECT_TRUE(fs::is_empty(root_.Cache()));
}

TEST_F(PreparationTest, DeletingAStyleStopsOnlyItsWorkersFirst)
{
    root_.AddStyle("Doomed.zas", 4);
    root_.AddStyle("Other.zas", 4);
    auto app = StartApp();
    ASSERT_EQ(app->Styles().Count(), 2);

    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(app->DeleteStyle(0));
    EXPECT_LT(std::chrono::steady_clock::now() - started, kStopLimit);
    EXPECT_FALSE(fs::exists(root_.StyleFile("Doomed.zas")));
    ASSERT_EQ(app->Styles().Count(), 1);
    EXPECT_EQ(app->Styles().At(0)->FileName(), "Other.zas");
    EXPECT_EQ(app->RunningWorkers(*app->Styles().At(0)), 3) << "the other style's workers go on";
    EXPECT_FALSE(app->DeleteStyle(1));
}

TEST_F(PreparationTest, MissingOrDamagedCacheFileLeavesTheCurrentGame)
{
    root_.AddStyle("Quick.zas");
    auto app = StartApp();
    ASSERT_TRUE(test::WaitUntil([&] { return AllCacheFiles("Quick.zas") && Idle(*app); }, kFillLimit));
    app->ShutDown(); // no worker remakes what the test removes
    app->currentFilePath = "/games/kept.zag";

    fs::remove(root_.CacheFile("Quick_0.zac"));
    EXPECT_FALSE(app->TakeCachedGame(0, 0));
    EXPECT_FALSE(app->TakeCachedGame(5, 1)) << "no such style";

    std::ofstream(root_.CacheFile("Quick_1.zac"), std::ios::binary | std::ios::trunc) << "damaged";
    EXPECT_FALSE(app->TakeCachedGame(0, 1));
    EXPECT_FALSE(fs::exists(root_.CacheFile("Quick_1.zac"))) << "a damaged file is cleared away";

    EXPECT_EQ(app->CurrentGame().Across().Count(), 0);
    EXPECT_FALSE(app->modified);
    EXPECT_EQ(app->currentFilePath, "/games/kept.zag");
}

} // namespace
} // namespace pelorin
