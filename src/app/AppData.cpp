#include "app/AppData.h"

#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
#include "game/GameFile.h"
#include "lexicon/StyleList.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <filesystem>
#include <system_error>

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

} // namespace

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
    if (!settings_.ReadString(kRootDirSetting, root) || root.empty())
        root = ProgramFolder();
    SetFolders(std::move(root));
}

AppData::AppData(std::string rootFolder)
    : styles_(kStyleListCapacity, ListOrder::Append, true, kStyleListCapacity)
{
    SetFolders(std::move(rootFolder));
}

AppData::~AppData()
{
    // The Exit command destroys the object without ShutDown; the workers still
    // read the styles and the dictionary, so they end before anything goes.
    keepRunning_.store(false);
    StopAllWorkers();
}

void AppData::SetFolders(std::string rootFolder)
{
    rootFolder_ = std::move(rootFolder);
    gamesFolder_ = JoinPath(rootFolder_, kGamesFolder);
    stylesFolder_ = JoinPath(rootFolder_, kStylesFolder);
    cacheFolder_ = JoinPath(rootFolder_, kCacheFolder);
}

void AppData::LoadAtStartup()
{
    lastBlockId = settings_.ReadDword(kLastBlockSetting);
    lastStyleId = settings_.ReadDword(kLastStyleSetting);

    SetStatusText(" Loading Dictionary ...");
    dictionaryLoaded_ = dictionary_.Load(rootFolder_);
    SetStatusText("");

    SetStatusText(" Loading Styles ...");
    // Loading replaces every style, so no worker may still be reading one.
    StopAllWorkers();
    LoadAllStyles(dictionary_, stylesFolder_, styles_);

    SetStatusText(" Upgrading Styles ...");
    // Without a dictionary every style would look stale and be rebuilt empty and
    // saved, losing its word list; and its word indexes would point nowhere, so
    // its workers must not run either.
    if (dictionaryLoaded_) {
        // All updates come before any worker starts: an update rewrites the word
        // list that the style's workers read.
        for (Style* style : styles_)
            style->UpdateIfStale();
        for (Style* style : styles_)
            StartPreparation(*style);
    }
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
        workers = std::make_unique<StyleWorkers>(style);
    workers->Start(cacheFolder_);
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
    return JoinPath(cacheFolder_, CacheFileName(style.FileName(), patternId));
}

bool AppData::TakeCachedGame(int32_t styleIndex, int32_t patternId)
{
    const Style* style = styles_.At(styleIndex);
    if (!style)
        return false;
    const std::string path = CachePath(*style, patternId);
    if (!FileExists(path))
        return false;
    const bool loaded = OpenGame(path, game_);
    if (loaded) {
        selectedEntry = game_.Across().At(0);
        RefreshSelection();
    }
    // A file that does not read is removed all the same, so that a sound one
    // takes its place instead of failing every time.
    std::remove(path.c_str());
    for (const Style* each : styles_)
        StartPreparation(*each);
    // A failed read left the current game as it was, with its own file and state.
    if (!loaded)
        return false;
    RefreshCluePages();
    RefreshSelection();
    UpdateProgress();
    modified = true;
    currentFilePath.clear();
    return true;
}

bool AppData::DeleteStyle(int32_t index)
{
    const Style* style = styles_.At(index);
    if (!style)
        return false;
    StopPreparation(*style);
    return pelorin::DeleteStyle(styles_, index);
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
