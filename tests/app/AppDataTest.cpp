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

TEST_F(AppDataTest, FirstRunTakesTheProgramFolderAndWritesNoRootDir)
{
    AppData app;
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::exists(folder + "app_tests")) << folder;
    EXPECT_EQ(app.RootFolder(), folder);
    EXPECT_EQ(app.CacheFolder(), folder + "Cache");
    std::string root;
    EXPECT_FALSE(settings_.ReadString("RootDir", root));
    EXPECT_EQ(app.lastBlockId, 0);
    EXPECT_EQ(app.lastStyleId, 0);
    EXPECT_TRUE(app.KeepRunning());
}

TEST_F(AppDataTest, FoldersJoinTheRootDirWithOneSlash)
{
    settings_.WriteString("RootDir", "/data/pelorin");
    const AppData plain;
    EXPECT_EQ(plain.RootFolder(), "/data/pelorin");
    EXPECT_EQ(plain.GamesFolder(), "/data/pelorin/Games");
    EXPECT_EQ(plain.StylesFolder(), "/data/pelorin/Styles");
    EXPECT_EQ(plain.CacheFolder(), "/data/pelorin/Cache");

    settings_.WriteString("RootDir", "/data/pelorin/");
    const AppData slashed;
    EXPECT_EQ(slashed.StylesFolder(), "/data/pelorin/Styles");

    settings_.WriteString("RootDir", "");
    const AppData empty;
    EXPECT_EQ(empty.RootFolder(), ProgramFolder()) << "an empty RootDir counts as none";
}

TEST_F(AppDataTest, StartUpWithoutStylesShowsEachStepAndStartsNothing)
{
    test::TestRoot root;
    AppData app(root.Root());
    app.LoadAtStartup();
    EXPECT_TRUE(app.DictionaryLoaded());
    EXPECT_EQ(app.Lexicon().Count(), 9837);
    EXPECT_EQ(app.Styles().Count(), 0);
    const std::vector<std::string> expected = {" Loading Dictionary ...", "", " Loading Styles ...",
                                               " Upgrading Styles ...", ""};
    EXPECT_EQ(notifier_.StatusTexts(), expected);
    EXPECT_TRUE(notifier_.Messages().empty());
}

TEST_F(AppDataTest, StaleStylesAreUpdatedBeforeTheirWorkersStart)
{
    test::TestRoot root;
    root.AddStaleStyle("Old.zas");
    const std::string before = test::FileBytes(root.StyleFile("Old.zas"));
    AppData app(root.Root());
    app.LoadAtStartup();
    const std::vector<std::string> expected = {" Loading Dictionary ...", "", " Loading Styles ...",
                                               " Upgrading Styles ...", " Updating Style ...", "", ""};
    EXPECT_EQ(notifier_.StatusTexts(), expected);
    ASSERT_EQ(app.Styles().Count(), 1);
    EXPECT_EQ(app.Styles().At(0)->Stamp(), test::TestRoot::kStamp);
    EXPECT_NE(test::FileBytes(root.StyleFile("Old.zas")), before);
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
    ASSERT_EQ(notifier_.Messages().size(), 1u);
    EXPECT_EQ(notifier_.Messages()[0].second, "Opening Dictionary");
    ASSERT_EQ(app.Styles().Count(), 2);
    for (const Style* style : app.Styles())
        EXPECT_EQ(app.RunningWorkers(*style), 0) << "word indexes without a dictionary point nowhere";
    app.ShutDown();
    EXPECT_EQ(test::FileBytes(root.StyleFile("Old.zas")), oldBytes);
    EXPECT_EQ(test::FileBytes(root.StyleFile("Current.zas")), currentBytes);
    EXPECT_TRUE(fs::is_empty(root.Cache()));
}

TEST_F(AppDataTest, LastChoicesAreReadAtStartUpAndStoredAtShutDown)
{
    settings_.WriteDword("LastBlockId", 2);
    settings_.WriteDword("LastStyleId", 1);
    test::TempDir emptyRoot;
    {
        AppData app(emptyRoot.Folder());
        app.LoadAtStartup();
        EXPECT_EQ(app.lastBlockId, 2);
        EXPECT_EQ(app.lastStyleId, 1);
        fs::remove(settingsDir_.File("Tarnwick/Zanth.ini"));
        app.ShutDown(); // stores them even though they never changed
    }
    EXPECT_EQ(settings_.ReadDword("LastBlockId"), 2);
    EXPECT_EQ(settings_.ReadDword("LastStyleId"), 1);

    {
        AppData app(emptyRoot.Folder());
        app.LoadAtStartup();
        app.lastBlockId = 0;
        // The Exit command: destroyed without ShutDown, nothing stored.
    }
    EXPECT_EQ(settings_.ReadDword("LastBlockId"), 2);
}

} // namespace
} // namespace pelorin
