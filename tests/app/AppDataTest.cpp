#include "app/AppData.h"
#include "app/AppTestData.h"
#include "support/RecordingNotifier.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <map>
#include <tuple>

namespace pelorin {
namespace {
namespace fs = std::filesystem;

class AppDataTest : public ::testing::Test {
protected:
    test::RecordingNotifier notifier_;
    test::SettingsDir settingsDir_;
    Settings settings_;
};

TEST_F(AppDataTest, FoldersFollowRootDirAndRootDirIsNeverWritten)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::exists(folder + "app_tests")) << folder;
    // No RootDir (the first run) and an empty one mean the program folder.
    const std::pair<const char*, std::string> cases[] = {
        {nullptr, folder}, {"", folder}, {"/data/pelorin", "/data/pelorin/"}, {"/data/pelorin/", "/data/pelorin/"}};
    for (const auto& [rootDir, root] : cases) {
        if (rootDir)
            settings_.WriteString("RootDir", rootDir);
        const AppData app;
        EXPECT_EQ(std::tuple(app.StylesFolder(), app.CacheFolder(), app.GamesFolder()),
                  std::tuple(root + "Styles", root + "Cache", root + "Games"));
        std::string written;
        EXPECT_EQ(settings_.ReadString("RootDir", written), rootDir != nullptr) << root;
    }
}

// A build folder holds its data beside the program; an installed program finds its
// tree under ../share/pelorin and keeps the player's folders in the player's home.
TEST_F(AppDataTest, DataFoldersAreFoundBesideTheProgramOrInItsInstalledTree)
{
    test::TempDir dir;
    const std::string base = dir.Folder(), bin = base + "prefix/bin/", build = base + "build/";
    for (const char* folder : {"build", "prefix/bin", "prefix/share/pelorin", "empty"})
        fs::create_directories(dir.File(folder));
    for (const char* dictionary : {"build/Zanth.dct", "prefix/share/pelorin/Zanth.dct"})
        test::WriteFileBytes(dir.File(dictionary), "");
    const std::string installed = base + "prefix/share/pelorin/", home = base + "home/.local/share";
    const std::tuple<std::string, std::string, std::string, DataFolders> cases[] = {
        {"/data/pelorin", bin, home, {"/data/pelorin", "/data/pelorin"}},
        {"", build, home, {build, build}},
        {"", bin, home, {installed, home + "/pelorin/", true}},
        {"", bin, base + "prefix/share", {installed, installed, true}}, // a home install: the player's own tree
        {"", bin, "", {bin, bin}},
        {"", base + "empty/", home, {base + "empty/", base + "empty/"}},
    };
    const auto fields = [](const DataFolders& f) { return std::tuple(f.root, f.player, f.installed); };
    for (const auto& [setting, program, dataHome, expected] : cases)
        EXPECT_EQ(fields(LocateDataFolders(setting, program, dataHome)), fields(expected)) << program << dataHome;
}

// An installed tree is read only: the player's folders take the games, the cache,
// the player's styles and a stale shipped style's update; shipped styles stay listed.
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
    app.LoadAtStartup();
    ASSERT_EQ(app.Styles().Count(), 3);
    const std::pair<const char*, std::string> listed[] = {{"Hidden.zas", player.File("Styles/Hidden.zas")},
                                                          {"Shipped.zas", installed.StyleFile("Shipped.zas")},
                                                          {"Stale.zas", player.File("Styles/Stale.zas")}};
    for (int32_t i = 0; i < 3; ++i) {
        const Style& style = *app.Styles().At(i);
        EXPECT_EQ(std::tuple(style.FileName(), style.FullPath(), style.Stamp()),
                  std::tuple(listed[i].first, listed[i].second, test::TestRoot::kStamp));
    }
    EXPECT_FALSE(app.DeleteStyle(1)) << "a shipped style cannot be deleted";
    EXPECT_EQ(app.Styles().Count(), 3);
    EXPECT_TRUE(test::WaitUntil([&] { return fs::exists(app.CachePath(*app.Styles().At(1), 2)); },
                                std::chrono::seconds(20)));
    app.ShutDown();
    EXPECT_TRUE(tree() == before);
}

// Each step shows in the status line; a stale style is rebuilt before any worker reads it.
TEST_F(AppDataTest, StartUpShowsEachStepAndUpdatesStaleStyles)
{
    test::TestRoot root;
    root.AddStaleStyle("Old.zas");
    AppData app(root.Root());
    app.LoadAtStartup();
    const std::vector<std::string> steps = {" Loading Dictionary ...", "", " Loading Styles ...",
                                            " Upgrading Styles ...", " Updating Style ...", "", ""};
    EXPECT_EQ(notifier_.StatusTexts(), steps);
}

// Without the dictionary every style looks stale; rebuilding one against nothing would save it without its words.
TEST_F(AppDataTest, MissingDictionaryLeavesEveryStyleFileUnchanged)
{
    test::TestRoot root;
    root.AddStaleStyle("Old.zas");
    root.AddStyle("Current.zas");
    const std::string oldBytes = test::FileBytes(root.StyleFile("Old.zas"));
    const std::string currentBytes = test::FileBytes(root.StyleFile("Current.zas"));
    fs::remove(root.Root() + Dictionary::kFileName);
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

// The last choices are read at start-up and stored by ShutDown, not by Exit (no
// ShutDown). A pattern stored by hand as "1" reads as 49: no pattern on offer.
TEST_F(AppDataTest, LastChoicesAreReadAtStartUpAndStoredOnlyAtShutDown)
{
    test::TempDir emptyRoot;
    for (bool shutDown : {true, false}) {
        settings_.WriteDword("LastBlockId", 2);
        settings_.WriteDword("LastStyleId", 5);
        {
            AppData app(emptyRoot.Folder());
            app.LoadAtStartup();
            EXPECT_EQ(std::pair(app.lastBlockId, app.lastStyleId), std::pair(2, 5));
            fs::remove(settingsDir_.File("Tarnwick/Zanth.ini"));
            if (shutDown)
                app.ShutDown();
        }
        EXPECT_EQ(settings_.ReadDword("LastBlockId"), shutDown ? 2 : 0);
        EXPECT_EQ(settings_.ReadDword("LastStyleId"), shutDown ? 5 : 0);
    }
    AppData app(emptyRoot.Folder());
    for (const auto& [id, offered] : {std::pair{0, true}, {2, true}, {3, false}, {-1, false}, {49, false}}) {
        app.lastBlockId = id;
        EXPECT_EQ(app.LastBlockOffered(), offered) << id;
    }
}
} // namespace
} // namespace pelorin
