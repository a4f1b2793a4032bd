#pragma once

#include "app/AppHooks.h"
#include "app/Settings.h"
#include "app/WorkerSlot.h"
#include "foundation/ItemList.h"
#include "game/BoxCursor.h"
#include "game/Game.h"
#include "game/PuzzleCode.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace pelorin {

/// Where the program keeps its data. The root holds the dictionary, the books and
/// the shipped styles; the player's folder holds Games, Cache and the player's own
/// Styles. They are one folder except under an installed program, whose root is
/// read only: nothing is ever written into an installed tree.
struct DataFolders {
    std::string root;
    std::string player;
    /// Found in an installed tree: the player's folders are made on first use.
    bool installed = false;

    bool Split() const { return root != player; }
};

/// The data folders of the program: the RootDir setting when it is not empty; else
/// the program's own folder when the dictionary lies there (a build folder); else
/// the installed tree "../share/pelorin/" beside the program's folder, with the
/// player's folder "pelorin/" under `dataHome`; else the program's folder.
DataFolders LocateDataFolders(const std::string& rootSetting, const std::string& programFolder,
                              const std::string& dataHome);

/// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share; empty when
/// neither is known.
std::string DataHome();

/// Everything that outlives a single window: the dictionary, the one current game,
/// the styles with their preparation workers, the data folders, the last choices
/// of the New Game dialog, the selected entry and a few flags.
///
/// Created, loaded, shut down and destroyed on the user-interface thread. The
/// preparation workers read the dictionary and their own style and write only
/// their own cache files; no worker outlives the object, on any path: ShutDown
/// stops them, and so does destruction without ShutDown (the Exit command).
class AppData final : public GameHost {
public:
    static constexpr const char* kGamesFolder = "Games";
    static constexpr const char* kStylesFolder = "Styles";
    static constexpr const char* kCacheFolder = "Cache";
    /// How long ShutDown waits for each running worker.
    static constexpr std::chrono::milliseconds kShutDownWait{1000};
    /// After this many preparations in a row that gave up, a style counts as unable
    /// to fill a block pattern: each is kPrepareRounds rounds of tries, so bad luck
    /// is ruled out.
    static constexpr int32_t kGiveUpLimit = 3;

    /// The program's AppData, on the folders LocateDataFolders finds.
    AppData();
    /// An AppData on a root folder of the caller's choice (the tool, tests); the
    /// RootDir setting is not read.
    explicit AppData(std::string rootFolder);
    /// An AppData on folders of the caller's choice. The player's folders are
    /// created when the root is an installed tree.
    explicit AppData(DataFolders folders);
    /// Stops every worker and waits for it before anything it reads goes.
    ~AppData() override;
    AppData(const AppData&) = delete;
    AppData& operator=(const AppData&) = delete;

    /// The start-up load: last choices, dictionary, styles, style updates, then
    /// the workers of every style.
    void LoadAtStartup();
    /// Stops the workers, stores the last choices and waits for the workers.
    void ShutDown();

    // Background preparation.

    /// Starts the idle workers of a style of the style list.
    void StartPreparation(const Style& style);
    /// Stops the workers of a style and waits for them, so that the style can be
    /// rebuilt or deleted; a later StartPreparation starts them again.
    void StopPreparation(const Style& style);
    /// Loads the cached game of a style and block pattern into the current game,
    /// deletes the file and starts the preparation again; true when a game was
    /// loaded.
    bool TakeCachedGame(int32_t styleIndex, int32_t patternId);
    /// The puzzle of a code (PuzzleCode.h) becomes the current game, as a game from
    /// the cache would. False, the current game unchanged and the reason for the
    /// player in `reason`, when the code's style is missing or another edition, or
    /// the code fills no game.
    bool MakePuzzle(const PuzzleCode& code, std::string& reason);
    /// The puzzle of a day, from the style kDailyStyle, the same way.
    bool MakeDailyPuzzle(const PuzzleDate& date, std::string& reason);
    /// The style of the list whose file name without extension is `name`, or null.
    const Style* FindStyle(std::string_view name) const;
    /// Appends a style to the style list and starts its preparation (the style
    /// manager's step after the style editor made the style).
    void AddStyle(std::unique_ptr<Style> style);
    /// Puts a style in the place of the style at an index that is saved in the
    /// same file (the style editor saved over it): the old style's workers stop,
    /// its prepared games are removed, and the new style's preparation starts.
    /// False, and the new style dropped, for an index outside the list.
    bool ReplaceStyle(int32_t index, std::unique_ptr<Style> style);
    /// Deletes a style's file and its prepared games and removes the style, after
    /// stopping its workers. False, and no change, for a style shipped in a
    /// read-only root or one whose file cannot be deleted (reported).
    bool DeleteStyle(int32_t index);
    /// Whether a style's file lies in the read-only root rather than the player's
    /// folder.
    bool IsShippedStyle(const Style& style) const;
    /// The number of running workers of a style (0 to 3).
    int32_t RunningWorkers(const Style& style) const;
    /// Whether the worker of a style and block pattern runs.
    bool WorkerRunning(const Style& style, int32_t patternId) const;
    /// The full path of a style's cache file for a block pattern (CacheFilePath).
    std::string CachePath(const Style& style, int32_t patternId) const;
    /// For New Game, waiting for the game of a style and block pattern that is not
    /// in the cache: starts the style's preparation again when that worker is idle,
    /// since an ended worker would never make the file. False, and nothing started,
    /// when the worker has given up kGiveUpLimit times in a row (SaveError tells
    /// whether for want of a writable cache), or without a dictionary: the style
    /// cannot fill that pattern.
    bool KeepPreparing(int32_t styleIndex, int32_t patternId);
    /// How many preparations of a style and block pattern gave up (or could not
    /// save their game) in a row.
    int32_t GiveUps(const Style& style, int32_t patternId) const;
    /// The system's reason why the last preparation of a style and block pattern
    /// could not save its game in the cache folder; 0 when it did not fail so.
    int SaveError(const Style& style, int32_t patternId) const;

    // Window hooks; nothing happens while there is no window.

    void SetModified() override { modified = true; }
    void RefreshSelection();
    void RefreshCluePages();
    void UpdateProgress();
    /// Shows a status text on the splash while it is open, else in the main window.
    /// The core sends its status texts to the notifier (SetStatusText); the window
    /// program's notifier hands them here on the user-interface thread.
    void ShowStatusText(std::string_view text);

    // Owned parts.

    Dictionary& Lexicon() { return dictionary_; }
    const Dictionary& Lexicon() const { return dictionary_; }
    bool DictionaryLoaded() const { return dictionaryLoaded_; }
    Game& CurrentGame() { return game_; }
    const Game& CurrentGame() const { return game_; }
    /// The style list: append order, owning. It changes only through AddStyle and
    /// DeleteStyle (and the start-up load), which keep each style's workers in step:
    /// a style removed or replaced behind their back would be read after it went.
    const ItemList<Style>& Styles() const { return styles_; }
    const Settings& Store() const { return settings_; }

    const std::string& RootFolder() const { return rootFolder_; }
    const std::string& GamesFolder() const { return gamesFolder_; }
    const std::string& StylesFolder() const { return stylesFolder_; }
    const std::string& CacheFolder() const { return cacheFolder_; }
    /// Where the game in play is kept between runs (Session.h).
    const std::string& SessionFolder() const { return sessionFolder_; }

    /// Whether lastBlockId names a pattern the New Game dialog offers (0 to 2). The
    /// setting is kept as stored, but a hand-edited value may hold anything (a "1"
    /// written as a string reads as 49), and the dialog then shows no pattern chosen.
    bool LastBlockOffered() const { return lastBlockId >= 0 && lastBlockId < kOfferedPatterns; }

    // Plain state of the windows.

    AppHooks* mainWindow = nullptr; ///< not owned; set by the main window's first tick
    AppHooks* splash = nullptr;     ///< not owned; set while the splash is open
    bool modified = false;          ///< the current game changed since it was saved or opened
    int32_t lastBlockId = 0;        ///< LastBlockId: pattern last chosen for a new game
    int32_t lastStyleId = 0;        ///< LastStyleId: index of the style last chosen
    std::string currentFilePath;    ///< the current game's file; empty when it has none
    std::string currentCode;        ///< the current game's puzzle code; empty when unknown
    bool gameInPlay = false;        ///< a game was opened or started this run
    Entry* selectedEntry = nullptr; ///< not owned; an entry of the current game, or null
    /// Where letters typed on the box go; the main window keeps it on the selected
    /// entry.
    BoxCursor cursor;
    /// The fills a worker tries before it gives up; tests lower it to see a style
    /// give up quickly.
    int32_t prepareAttempts = kPrepareAttempts;

private:
    void SetFolders(DataFolders folders);
    void AdoptStaleShippedStyles();
    void StopAllWorkers();
    /// Removes the cache files of a style whose workers have stopped: a later
    /// style of the same file name must not be served its games.
    void RemoveCachedGames(const std::string& styleFileName) const;
    StyleWorkers* FindWorkers(const Style& style) const;
    /// Reads a game file into the current game as a new game with that code, and
    /// removes the file; false, the current game unchanged, when it does not read.
    bool AdoptGameFile(const std::string& path, std::string code);
    bool AdoptPuzzle(Game& made, const PuzzleCode& code);

    Settings settings_;
    Dictionary dictionary_;
    bool dictionaryLoaded_ = false;
    Game game_;
    ItemList<Style> styles_;
    std::string rootFolder_;
    std::string gamesFolder_;
    std::string stylesFolder_;
    std::string cacheFolder_;
    std::string sessionFolder_;
    std::string shippedStylesFolder_; ///< empty unless the root is not the player's folder
    std::atomic<bool> keepRunning_{true};
    CacheFaultReport cacheReport_;
    // Declared after everything the workers read, so that they go first even if a
    // destructor forgot to stop them.
    std::map<const Style*, std::unique_ptr<StyleWorkers>> workers_;
};

/// The program's one AppData, created on the first call (on the user-interface
/// thread, so never concurrently).
AppData& GetAppData();
/// Destroys the program's AppData (stopping its workers); a later GetAppData makes
/// a new one.
void DestroyAppData();

/// The folder of the program file, with its trailing "/"; empty when unknown.
std::string ProgramFolder();

} // namespace pelorin
