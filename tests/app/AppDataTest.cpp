#include "app/AppData.h"
#include "app/AppTestData.h"

#include "support/RecordingNotifier.h"

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>

namespace pelorin {
namespace {

namespace fs = std::filesystem;

class AppDataTest : public ::testing::Test {
protected:
    AppDataTest()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(settingsDir_.Folder()));
    }

    test::RecordingNotifier notifier_;
    test::TempDir settingsDir_;
    Settings settings_;
};

TEST_F(AppDataTest, FoldersFollowRootDirAndRootDirIsNeverWritten)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::exists(folder + "app_tests")) << folder;
    const std::pair<const char*, std::string> cases[] = {
        {nullptr, folder}, // first run: the program folder
        {"", folder},      // an empty RootDir counts as none
        {"/data/pelorin", "/data/pelorin/"},
        {"/data/pelorin/", "/data/pelorin/"},
    };
    for (const auto& [rootDir, root] : cases) {
        if (rootDir)
            settings_.WriteString("RootDir", rootDir);
        const AppData app;
        EXPECT_EQ(app.StylesFolder(), root + "Styles") << root;
        EXPECT_EQ(app.CacheFolder(), root + "Cache") << root;
        EXPECT_EQ(app.GamesFolder(), root + "Games") << root;
        if (!rootDir) {
            std::string written;
            EXPECT_FALSE(settings_.ReadString("RootDir", written));
        }
    }
}

// Each step shows in the status line; stale styles are rebuilt before any worker
// reads them.
TEST_F(AppDataTest, StartUpShowsEachStepAndUpdatesStaleStyles)
{
    const std::vector<std::string> plain = {" Loading Dictionary ...", "", " Loading Styles ...",
                                            " Upgrading Styles ...", ""};
    std::vector<std::string> updating = plain;
    updating.insert(updating.end() - 1, {" Updating Style ...", ""});
    for (bool stale : {false, true}) {
        test::RecordingNotifier notifier;
        test::TestRoot root;
        if (stale)
            root.AddStaleStyle("Old.zas");
        const std::string before = test::FileBytes(root.StyleFile("Old.zas"));
        AppData app(root.Root());
        app.LoadAtStartup();
        EXPECT_TRUE(app.DictionaryLoaded());
        EXPECT_EQ(notifier.StatusTexts(), stale ? updating : plain);
        EXPECT_TRUE(notifier.Messages().empty());
        ASSERT_EQ(app.Styles().Count(), stale ? 1 : 0);
        if (stale) {
            EXPECT_EQ(app.Styles().At(0)->Stamp(), test::TestRoot::kStamp);
            EXPECT_NE(test::FileBytes(root.StyleFile("Old.zas")), before);
        }
    }
}

// Without the dictionary every style looks stale; rebuilding one against nothing
// would save it without its words.
TEST_F(AppDataTest, MissingDictionaryLeavesEveryStyleFileUnchanged)
{
    test::TestRoot root;
    root.AddStaleStyle("Old.zas");
    root.AddStyle("Current.zas");
    const std::string oldBytes = test::FileBytes(root.StyleFile("Old.zas"));
    const std::string currentBytes = test::FileBytes(root.StyleFile("Current.zas"));
    root.RemoveDictionary();

    AppData app(root.Root());
    app.LoadAtStartup();
    EXPECT_FALSE(app.DictionaryLoaded());
    EXPECT_EQ(notifier_.Messages().size(), 1u);
    ASSERT_EQ(app.Styles().Count(), 2);
    for (const Style* style : app.Styles())
        EXPECT_EQ(app.RunningWorkers(*style), 0) << "word indexes without a dictionary point nowhere";
    EXPECT_FALSE(app.KeepPreparing(0, 0)) << "New Game must not wait for a game no worker makes";
    app.ShutDown();
    EXPECT_EQ(test::FileBytes(root.StyleFile("Old.zas")), oldBytes);
    EXPECT_EQ(test::FileBytes(root.StyleFile("Current.zas")), currentBytes);
    EXPECT_TRUE(fs::is_empty(root.Cache()));
}

// ShutDown stores both last choices even when unchanged; the Exit command destroys
// AppData without ShutDown and stores nothing.
TEST_F(AppDataTest, LastChoicesAreReadAtStartUpAndStoredOnlyAtShutDown)
{
    test::TempDir emptyRoot;
    for (bool shutDown : {true, false}) {
        settings_.WriteDword("LastBlockId", 2);
        settings_.WriteDword("LastStyleId", 5);
        {
            AppData app(emptyRoot.Folder());
            app.LoadAtStartup();
            EXPECT_EQ(app.lastBlockId, 2);
            EXPECT_EQ(app.lastStyleId, 5);
            fs::remove(settingsDir_.File("Tarnwick/Zanth.ini"));
            if (shutDown)
                app.ShutDown();
        }
        EXPECT_EQ(settings_.ReadDword("LastBlockId"), shutDown ? 2 : 0);
        EXPECT_EQ(settings_.ReadDword("LastStyleId"), shutDown ? 5 : 0);
    }
}

// A pattern stored by hand as the string "1" reads as 49 and is kept, but the New
// Game dialog must not take it for a pattern it offers.
TEST_F(AppDataTest, OnlyAnOfferedPatternCountsAsTheLastChosen)
{
    test::TempDir emptyRoot;
    AppData app(emptyRoot.Folder());
    for (const auto& [id, offered] : {std::pair{0, true}, {2, true}, {3, false}, {-1, false}, {49, false}}) {
        app.lastBlockId = id;
        EXPECT_EQ(app.LastBlockOffered(), offered) << id;
    }
}

} // namespace
} // namespace pelorin
