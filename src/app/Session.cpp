#include "app/Session.h"

#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
#include "game/Game.h"
#include "game/GameFile.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace pelorin {

namespace {

constexpr const char* kGameName = "game.zag";
constexpr const char* kStateName = "state.txt";
constexpr const char* kHeader = "pelorin-session 1";

struct GameStamp {
    uint64_t size = 0;
    uint32_t sum = 0;

    bool operator==(const GameStamp&) const = default;
};

// FNV-1a of the file's bytes; a zero size when it cannot be read.
GameStamp StampOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    GameStamp stamp;
    stamp.sum = 2166136261u;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            stamp.sum ^= static_cast<uint8_t>(buffer[i]);
            stamp.sum *= 16777619u;
        }
        stamp.size += static_cast<uint64_t>(in.gcount());
    }
    return stamp;
}

// A text file written beside its place and moved over it, as a game file is.
bool WriteWhole(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

// Lines of "key value"; the value runs to the end of the line, so file names may
// hold blanks (a name with a line break cannot be kept and is dropped).
std::string StateText(const SessionState& state, const GameStamp& stamp)
{
    const auto clean = [](const std::string& text) {
        return text.find_first_of("\r\n") == std::string::npos ? text : std::string();
    };
    std::ostringstream text;
    text << kHeader << '\n'
         << "game " << stamp.size << ' ' << stamp.sum << '\n'
         << "modified " << (state.modified ? 1 : 0) << '\n'
         << "entry " << state.direction << ' ' << state.entryIndex << '\n'
         << "view " << state.yaw << ' ' << state.distance << '\n'
         << "seconds " << state.secondsInPlay << '\n'
         << "code " << clean(state.code) << '\n'
         << "file " << clean(state.filePath) << '\n';
    return text.str();
}

bool ReadState(const std::string& path, SessionState& state, GameStamp& stamp)
{
    std::ifstream in(path);
    std::string line;
    if (!std::getline(in, line) || line != kHeader)
        return false;
    int seen = 0;
    while (std::getline(in, line)) {
        const size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        std::istringstream fields(value);
        if (key == "game")
            fields >> stamp.size >> stamp.sum;
        else if (key == "modified")
            fields >> state.modified;
        else if (key == "entry")
            fields >> state.direction >> state.entryIndex;
        else if (key == "view")
            fields >> state.yaw >> state.distance;
        else if (key == "seconds")
            fields >> state.secondsInPlay;
        else if (key == "code")
            state.code = value;
        else if (key == "file")
            state.filePath = value;
        else
            continue;
        if (fields.fail() && key != "code" && key != "file")
            return false;
        ++seen;
    }
    return seen == 7;
}

} // namespace

bool SaveSession(const std::string& folder, const SessionState& state, Game& game)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string gamePath = JoinPath(folder, kGameName);
    return SaveGame(gamePath, game) && WriteWhole(JoinPath(folder, kStateName), StateText(state, StampOf(gamePath)));
}

SessionLoad LoadSession(const std::string& folder, SessionState& state, Game& game)
{
    const std::string gamePath = JoinPath(folder, kGameName);
    const std::string statePath = JoinPath(folder, kStateName);
    // A folder without either file is a session never written.
    if (!FileExists(gamePath) && !FileExists(statePath))
        return SessionLoad::None;
    SessionState read;
    GameStamp stamp;
    if (!ReadState(statePath, read, stamp) || !FileExists(gamePath) || !OpenGame(gamePath, game))
        return SessionLoad::Unreadable;
    if (!(StampOf(gamePath) == stamp)) {
        read.filePath.clear();
        read.modified = true;
    }
    state = std::move(read);
    return SessionLoad::Restored;
}

std::string SetSessionAside(const std::string& folder)
{
    std::string target = folder;
    while (!target.empty() && target.back() == '/')
        target.pop_back();
    target += Format("-unreadable-%lld", static_cast<long long>(std::time(nullptr)));
    std::error_code error;
    std::filesystem::rename(folder, target, error);
    if (!error)
        return target;
    DropSession(folder);
    return {};
}

void DropSession(const std::string& folder)
{
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

} // namespace pelorin
