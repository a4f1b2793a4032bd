#include "app/AppData.h"
#include "app/AppTestData.h"

#include "support/RecordingNotifier.h"

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

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

// A build folder holds its data beside the program; an installed program finds its
// tree under ../share/pelorin and keeps the player's folders in the player's home.
TEST_F(AppDataTest, DataFoldersAreFoundBesideTheProgramOrInItsInstalledTree)
{
    test::TempDir dir;
    const std::string base = dir.Folder();
    for (const char* folder : {"build", "prefix/bin", "prefix/share/pelorin", "empty"})
        fs::create_directories(dir.File(folder));
    for (const char* dictionary : {"build/Zanth.dct", "prefix/share/pelorin/Zanth.dct"})
        test::WriteFileBytes(dir.File(dictionary), "");
    const std::string installed = base + "prefix/share/pelorin/";
    const std::string home = base + "home/.local/share";
    struct Case {
        std::string setting, program, dataHome;
        DataFolders expected;
    };
    const Case cases[] = {
        {"/data/pelorin", base + "prefix/bin/", home, {"/data/pelorin", "/data/pelorin"}},
        {"", base + "build/", home, {base + "build/", base + "build/"}},
        {"", base + "prefix/bin/", home, {installed, home + "/pelorin/", true}},
        // A home install: the tree is the player's own folder.
        {"", base + "prefix/bin/", base + "prefix/share", {installed, installed, true}},
        {"", base + "prefix/bin/", "", {base + "prefix/bin/", base + "prefix/bin/"}},
        {"", base + "empty/", home, {base + "empty/", base + "empty/"}},
    };
    for (const Case& each : cases) {
        const DataFolders found = LocateDataFolders(each.setting, each.program, each.dataHome);
        EXPECT_EQ(found.root, each.expected.root) << each.program << " " << each.dataHome;
        EXPECT_EQ(found.player, each.expected.player) << each.program << " " << each.dataHome;
        EXPECT_EQ(found.installed, each.expected.installed) << each.program << " " << each.dataHome;
    }
}

// The tree of an installed program is read only: the player's folders take the
// games, the cache, the player's styles and the update of a stale shipped style,
// while the shipped styles stay listed.
TEST_F(AppDataTest, InstalledTreeIsNeverWrittenAndItsStylesStayListed)
{
    test::TestRoot installed;
    installed.AddStyle("Shipped.zas");
    installed.AddStyle("Hidden.zas");
    installed.AddStaleStyle("Stale.zas");
    test::TempDir player;
    fs::create_directories(player.File("Styles"));
    fs::copy_file(installed.StyleFile("Shipped.zas"), player.File("Styles/Hidden.zas"));
    const auto tree = [&] {
        std::map<std::string, std::string> files;
        for (const auto& item : fs::recursive_directory_iterator(installed.Root()))
            files[item.path().string()] = item.is_regular_file() ? test::FileBytes(item.path().string()) : "";
        return files;
    };
    const auto before = tree();

    AppData app(DataFolders{installed.Root(), player.Folder(), true});
    EXPECT_EQ(app.CacheFolder(), player.File("Cache"));
    EXPECT_TRUE(fs::is_directory(player.File("Games")));
    app.LoadAtStartup();
    ASSERT_EQ(app.Styles().Count(), 3);
    const std::pair<const char*, std::string> listed[] = {
        {"Hidden.zas", player.File("Styles/Hidden.zas")},
        {"Shipped.zas", installed.StyleFile("Shipped.zas")},
        {"Stale.zas", player.File("Styles/Stale.zas")},
    };
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(app.Styles().At(i)->FileName(), listed[i].first);
        EXPECT_EQ(app.Styles().At(i)->FullPath(), listed[i].second);
        EXPECT_EQ(app.Styles().At(i)->Stamp(), test::TestRoot::kStamp);
    }
    EXPECT_FALSE(app.DeleteStyle(1)) << "a shipped style cannot be deleted";
    EXPECT_EQ(app.Styles().Count(), 3);
    EXPECT_TRUE(test::WaitUntil([&] { return fs::exists(app.CachePath(*app.Styles().At(1), 2)); },
                                std::chrono::seconds(20)));
    app.ShutDown();
    EXPECT_TRUE(tree() == before);
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
