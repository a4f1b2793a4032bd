#include "app/AppData.h"

#include "foundation/Notifier.h"
#include "foundation/StartupClock.h"
#include "foundation/TextUtil.h"
#include "app/Session.h"
#include "game/GameFile.h"
#include "lexicon/StyleList.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <signal.h>
#include <span>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace pelorin {

namespace {

constexpr int32_t kStyleListCapacity = 10;
constexpr const char* kRootDirSetting = "RootDir";
constexpr const char* kLastBlockSetting = "LastBlockId";
constexpr const char* kLastStyleSetting = "LastStyleId";

std::unique_ptr<AppData>& TheAppData()
{
    static std::unique_ptr<AppData> appData;
    return appData;
}

// Whether the process that wrote a temporary file still runs; `rest` is what
// follows ".zac." in its name, "<pid>.<n>.tmp". A file of this process is never
// in use here, since no worker runs while leftovers are removed.
bool WriterRuns(std::string_view rest)
{
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (error != std::errc() || end == rest.data() || pid <= 0 || pid == getpid())
        return false;
    return kill(pid, 0) == 0 || errno == EPERM;
}

// A save cut short by the end of its process leaves "<cache file>.<pid>.<n>.tmp"
// beside the cache files, and nothing else would ever remove it. A file whose
// writer still runs (another instance on the same data root) is left to it.
void RemoveLeftoverTemporaries(const std::string& cacheFolder)
{
    constexpr std::string_view kMark = ".zac.";
    std::vector<std::filesystem::path> leftovers;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(cacheFolder, error)) {
        const std::string name = item.path().filename().string();
        const size_t mark = name.find(kMark);
        if (mark == std::string::npos || !name.ends_with(".tmp"))
            continue;
        if (!WriterRuns(std::string_view(name).substr(mark + kMark.size())))
            leftovers.push_back(item.path());
    }
    // Removed after the listing, so that the listing does not change under it.
    for (const std::filesystem::path& path : leftovers)
        std::filesystem::remove(path, error);
}

bool SameFolder(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

} // namespace

std::string DataHome()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME would depend on the folder the game was started from;
    // it is ignored, as desktops do.
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return JoinPath(home, ".local/share");
    return {};
}

DataFolders LocateDataFolders(const std::string& rootSetting, const std::string& programFolder,
                              const std::string& dataHome)
{
    if (!rootSetting.empty())
        return {rootSetting, rootSetting};
    if (programFolder.empty() || FileExists(JoinPath(programFolder, Dictionary::kFileName)))
        return {programFolder, programFolder};
    const std::string installed =
        (std::filesystem::path(programFolder) / "../share/pelorin/").lexically_normal().string();
    if (!FileExists(JoinPath(installed, Dictionary::kFileName)) || dataHome.empty())
        return {programFolder, programFolder};
    const std::string player = JoinPath(dataHome, "pelorin/");
    // A home install (prefix ~/.local) puts the tree in the player's own folder.
    if (SameFolder(installed, player))
        return {installed, installed, true};
    return {installed, player, true};
}

std::string ProgramFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return SplitPath(program.string()).first;
}

AppData::AppData()
    : styles_(kStyleListCapacity, ListOrder::Append, true, kStyleListCapacity)
{
    std::string root;
    // An empty RootDir would put the data folders at the top of the file system;
    // it is taken as no setting at all. The fallback is not written back.
    settings_.ReadString(kRootDirSetting, root);
    SetFolders(LocateDataFolders(root, ProgramFolder(), DataHome()));
}

AppData::AppData(std::string rootFolder) : AppData(DataFolders{rootFolder, rootFolder}) {}

AppData::AppData(DataFolders folders)
    : styles_(kStyleListCapacity, ListOrder::Append, true, kStyleListCapacity)
{
    SetFolders(std::move(folders));
}

AppData::~AppData()
{
    // The Exit command destroys the object without ShutDown; the workers still
    // read the styles and the dictionary, so they end before anything goes.
    keepRunning_.store(false);
    StopAllWorkers();
}

void AppData::SetFolders(DataFolders folders)
{
    if (folders.Split())
        shippedStylesFolder_ = JoinPath(folders.root, kStylesFolder);
    rootFolder_ = std::move(folders.root);
    gamesFolder_ = JoinPath(folders.player, kGamesFolder);
    stylesFolder_ = JoinPath(folders.player, kStylesFolder);
    cacheFolder_ = JoinPath(folders.player, kCacheFolder);
    sessionFolder_ = JoinPath(folders.player, kSessionFolder);
    if (!folders.installed)
        return;
    // An installed tree brings its dictionary, books and styles; the player's
    // folders are made on first use. One that cannot be made fails later where it
    // is written, with its own message.
    std::error_code error;
    for (const std::string* folder : {&gamesFolder_, &stylesFolder_, &cacheFolder_})
        std::filesystem::create_directories(*folder, error);
}

bool AppData::IsShippedStyle(const Style& style) const
{
    return !shippedStylesFolder_.empty() && style.FullPath() == JoinPath(shippedStylesFolder_, style.FileName());
}

void AppData::AdoptStaleShippedStyles()
{
    // An update stores the style, and a shipped one may not be written where it
    // lies: the player's folder gets a copy, which hides the shipped file from then
    // on, and the update goes there.
    for (Style* style : styles_) {
        if (!IsShippedStyle(*style) || style->Stamp() == dictionary_.Stamp())
            continue;
        const std::string copy = JoinPath(stylesFolder_, style->FileName());
        std::error_code error;
        if (std::filesystem::copy_file(style->FullPath(), copy, error))
            style->LoadFile(stylesFolder_, style->FileName());
    }
}

void AppData::LoadAtStartup()
{
    lastBlockId = settings_.ReadDword(kLastBlockSetting);
    lastStyleId = settings_.ReadDword(kLastStyleSetting);

    SetStatusText(" Loading Dictionary ...");
    dictionaryLoaded_ = dictionary_.Load(rootFolder_);
    startup_clock::Mark("dictionary");
    SetStatusText("");

    SetStatusText(" Loading Styles ...");
    // Loading replaces every style, so no worker may still be reading one; and
    // with none writing, every temporary file of this process is a leftover.
    StopAllWorkers();
    // Every game is prepared into the cache folder, so it is made when it is
    // missing; one that cannot be made is reported once, when the first game
    // cannot be saved there.
    std::error_code error;
    std::filesystem::create_directories(cacheFolder_, error);
    RemoveLeftoverTemporaries(cacheFolder_);
    // The player's own styles hide shipped ones of the same file name.
    const std::string folders[] = {stylesFolder_, shippedStylesFolder_};
    LoadAllStyles(dictionary_, std::span(folders, shippedStylesFolder_.empty() ? 1 : 2), styles_);
    startup_clock::Mark("styles");

    SetStatusText(" Upgrading Styles ...");
    // Without a dictionary every style would look stale and be rebuilt empty and
    // saved, losing its word list; and its word indexes would point nowhere, so
    // its workers must not run either.
    if (dictionaryLoaded_) {
        AdoptStaleShippedStyles();
        // All updates come before any worker starts: an update rewrites the word
        // list that the style's workers read.
        for (Style* style : styles_)
            style->UpdateIfStale();
        for (Style* style : styles_)
            StartPreparation(*style);
    }
    startup_clock::Mark("workers");
    SetStatusText("");
}

void AppData::ShutDown()
{
    keepRunning_.store(false);
    for (auto& [style, workers] : workers_)
        workers->RequestStop();
    settings_.WriteDword(kLastBlockSetting, lastBlockId);
    settings_.WriteDword(kLastStyleSetting, lastStyleId);
    // A worker still running after its wait ends at its next filler pass; the
    // destructor joins it.
    for (const Style* style : styles_) {
        if (StyleWorkers* workers = FindWorkers(*style))
            workers->WaitEach(kShutDownWait);
    }
}

void AppData::StopAllWorkers()
{
    // Ask all first, so that they stop side by side rather than one after another.
    for (auto& [style, workers] : workers_)
        workers->RequestStop();
    workers_.clear();
}

StyleWorkers* AppData::FindWorkers(const Style& style) const
{
    const auto found = workers_.find(&style);
    return found == workers_.end() ? nullptr : found->second.get();
}

void AppData::StartPreparation(const Style& style)
{
    if (!keepRunning_.load() || !dictionaryLoaded_)
        return;
    assert(std::find(styles_.begin(), styles_.end(), &style) != styles_.end() &&
           "workers run only for styles of the style list");
    std::unique_ptr<StyleWorkers>& workers = workers_[&style];
    if (!workers)
        workers = std::make_unique<StyleWorkers>(style, &cacheReport_);
    workers->Start(cacheFolder_, prepareAttempts);
}

void AppData::StopPreparation(const Style& style)
{
    // Destroying the group stops and joins its workers; a later start makes a new
    // group with a fresh stop flag.
    workers_.erase(&style);
}

int32_t AppData::RunningWorkers(const Style& style) const
{
    const StyleWorkers* workers = FindWorkers(style);
    return workers ? workers->RunningCount() : 0;
}

bool AppData::WorkerRunning(const Style& style, int32_t patternId) const
{
    assert(patternId >= 0 && patternId < kPreparedPatterns && "no worker prepares that pattern");
    const StyleWorkers* workers = FindWorkers(style);
    return workers && workers->Running(patternId);
}

std::string AppData::CachePath(const Style& style, int32_t patternId) const
{
    return CacheFilePath(cacheFolder_, style.FileName(), patternId);
}

int32_t AppData::GiveUps(const Style& style, int32_t patternId) const
{
    assert(patternId >= 0 && patternId < kPreparedPatterns && "no worker prepares that pattern");
    const StyleWorkers* workers = FindWorkers(style);
    return workers ? workers->GiveUps(patternId) : 0;
}

int AppData::SaveError(const Style& style, int32_t patternId) const
{
    assert(patternId >= 0 && patternId < kPreparedPatterns && "no worker prepares that pattern");
    const StyleWorkers* workers = FindWorkers(style);
    return workers ? workers->SaveError(patternId) : 0;
}

bool AppData::KeepPreparing(int32_t styleIndex, int32_t patternId)
{
    const Style* style = styles_.At(styleIndex);
    if (!style || patternId < 0 || patternId >= kPreparedPatterns)
        return false;
    // Without a dictionary no worker runs, and with too many give-ups none should.
    if (!dictionaryLoaded_ || GiveUps(*style, patternId) >= kGiveUpLimit)
        return false;
    // Only the awaited worker: the style's others have their files or will make
    // them when New Game takes one.
    if (WorkerRunning(*style, patternId))
        return true;
    if (StyleWorkers* workers = FindWorkers(*style))
        workers->StartPattern(patternId, cacheFolder_, prepareAttempts);
    else
        StartPreparation(*style);
    return true;
}

bool AppData::TakeCachedGame(int32_t styleIndex, int32_t patternId)
{
    const Style* style = styles_.At(styleIndex);
    if (!style)
        return false;
    const std::string path = CachePath(*style, patternId);
    if (!FileExists(path))
        return false;
    std::string code = ReadCacheCode(path);
    std::remove(CacheCodePath(path).c_str());
    // A file that does not read is removed all the same, so that a sound one
    // takes its place instead of failing every time.
    const bool loaded = AdoptGameFile(path, std::move(code));
    for (const Style* each : styles_)
        StartPreparation(*each);
    return loaded;
}

bool AppData::AdoptGameFile(const std::string& path, std::string code)
{
    const bool loaded = OpenGame(path, game_);
    std::remove(path.c_str());
    // A failed read left the current game as it was, with its own file and state.
    if (!loaded)
        return false;
    selectedEntry = game_.Across().At(0);
    RefreshSelection();
    RefreshCluePages();
    RefreshSelection();
    UpdateProgress();
    modified = true;
    currentFilePath.clear();
    currentCode = std::move(code);
    if (mainWindow)
        mainWindow->GameReplaced();
    return true;
}

bool AppData::AdoptPuzzle(Game& made, const PuzzleCode& code)
{
    // The made game reaches the current one as a cached game does, through its
    // file, so that it is exactly what a game file holds.
    const std::string path = JoinPath(cacheFolder_, "Puzzle.zag");
    std::error_code error;
    std::filesystem::create_directories(cacheFolder_, error);
    // SaveGame says why when it cannot write.
    if (!SaveGame(path, made) || !AdoptGameFile(path, FormatCode(code)))
        return false;
    gameInPlay = true;
    return true;
}

const Style* AppData::FindStyle(std::string_view name) const
{
    for (const Style* style : styles_)
        if (StripExtension(style->FileName()) == name)
            return style;
    return nullptr;
}

bool AppData::MakePuzzle(const PuzzleCode& code, std::string& reason)
{
    const Style* style = FindStyle(code.style);
    if (!style) {
        reason = Format("The puzzle code %s was made with the style %s, which this computer does not have.",
                        FormatCode(code).c_str(), code.style.c_str());
        return false;
    }
    if (!CodeFitsStyle(code, *style, reason))
        return false;
    const auto made = std::make_unique<Game>();
    if (!FillFromSeed(*made, *style, code.pattern, code.seed, keepRunning_)) {
        reason = Format("The puzzle code %s makes no puzzle: its block pattern does not fill from its seed.",
                        FormatCode(code).c_str());
        return false;
    }
    return AdoptPuzzle(*made, code);
}

bool AppData::MakeDailyPuzzle(const PuzzleDate& date, std::string& reason)
{
    const Style* style = FindStyle(kDailyStyle);
    if (!style) {
        reason = Format("The puzzle of the day comes from the style %s, which this computer does not have.",
                        kDailyStyle);
        return false;
    }
    const auto made = std::make_unique<Game>();
    PuzzleCode code;
    if (!FillDaily(*made, *style, date, code, keepRunning_)) {
        reason = Format("The style %s made no puzzle of the day for %04d-%02d-%02d.", kDailyStyle, date.year,
                        date.month, date.day);
        return false;
    }
    return AdoptPuzzle(*made, code);
}

void AppData::AddStyle(std::unique_ptr<Style> style)
{
    assert(style && "no style to add");
    const Style& added = *style;
    styles_.Add(std::move(style));
    StartPreparation(added);
}

bool AppData::ReplaceStyle(int32_t index, std::unique_ptr<Style> style)
{
    assert(style && "no style to put in place");
    const Style* old = styles_.At(index);
    if (!old)
        return false;
    StopPreparation(*old);
    RemoveCachedGames(old->FileName());
    const Style& added = *style;
    styles_.ReplaceAt(index, std::move(style));
    StartPreparation(added);
    return true;
}

bool AppData::DeleteStyle(int32_t index)
{
    const Style* style = styles_.At(index);
    if (!style || IsShippedStyle(*style))
        return false;
    StopPreparation(*style);
    const std::string fileName = style->FileName();
    // A style whose file stays is kept, and prepared as before.
    if (!pelorin::DeleteStyle(styles_, index)) {
        StartPreparation(*style);
        return false;
    }
    RemoveCachedGames(fileName);
    return true;
}

void AppData::RemoveCachedGames(const std::string& styleFileName) const
{
    // A style without a file has no cache files of its own.
    if (styleFileName.empty())
        return;
    for (int32_t patternId = 0; patternId < kPreparedPatterns; ++patternId) {
        const std::string path = CacheFilePath(cacheFolder_, styleFileName, patternId);
        std::remove(path.c_str());
        std::remove(CacheCodePath(path).c_str());
    }
}

void AppData::RefreshSelection()
{
    if (mainWindow)
        mainWindow->RefreshSelection();
}

void AppData::RefreshCluePages()
{
    if (mainWindow)
        mainWindow->RefreshCluePages();
}

void AppData::UpdateProgress()
{
    if (mainWindow)
        mainWindow->UpdateProgress();
}

void AppData::ShowStatusText(std::string_view text)
{
    if (splash)
        splash->ShowStatusText(text);
    else if (mainWindow)
        mainWindow->ShowStatusText(text);
}

AppData& GetAppData()
{
    std::unique_ptr<AppData>& appData = TheAppData();
    if (!appData)
        appData = std::make_unique<AppData>();
    return *appData;
}

void DestroyAppData()
{
    TheAppData().reset();
}

} // namespace pelorin
