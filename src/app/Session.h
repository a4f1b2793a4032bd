#pragma once

#include <cstdint>
#include <string>

namespace pelorin {

class Game;

/// The game in play and what the window shows of it, kept in the player's data
/// folder so that the game survives a crash and comes back at the next start.
struct SessionState {
    std::string filePath;      ///< the game's own file; empty when it has none
    std::string code;          ///< the game's puzzle code; empty when unknown
    bool modified = false;
    int32_t direction = -1;    ///< of the selected entry; -1 when none is selected
    int32_t entryIndex = -1;
    float yaw = 0.25f;         ///< the view of the box
    float distance = 15.0f;
    int64_t secondsInPlay = 0; ///< the time the game has been played

    bool operator==(const SessionState&) const = default;
};

/// The session's folder under the player's data folder.
constexpr const char* kSessionFolder = "Session";

/// Writes the game (through the game file's temporary-file save) and then the
/// state into the folder, which is made when missing. The state names the game
/// file's size and checksum, so that a state is never paired with another game.
bool SaveSession(const std::string& folder, const SessionState& state, Game& game);

enum class SessionLoad {
    None,       ///< no session was kept (first run, or the player dropped the game)
    Restored,   ///< the game and state were read
    Unreadable, ///< a session is there but does not read; the game is unchanged
};

/// Reads a kept session. A game file that does not match its state (a crash
/// between the two writes) comes back without its file name and as modified, so
/// that it can never be saved over another game's file.
SessionLoad LoadSession(const std::string& folder, SessionState& state, Game& game);

/// Moves an unreadable session aside under a new name beside it, and returns that
/// name; empty when it could not be moved (it is then removed).
std::string SetSessionAside(const std::string& folder);

/// Removes a kept session: the player chose to drop the game.
void DropSession(const std::string& folder);

} // namespace pelorin
