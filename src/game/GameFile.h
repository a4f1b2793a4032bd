#pragma once

#include <string>

namespace pelorin {

class Game;

/// Writes the whole game (cells, entries, answers, quotes, definitions and the
/// player's letters) to a game file and sets its savedMark. The file is written
/// beside the target and moved over it only when every write went through, so a
/// failed save leaves the old file whole. A link is saved through to its file; a
/// read-only file is refused. Reports "Cannot Open Game File" and returns false
/// when the file cannot be written.
bool SaveGame(const std::string& path, Game& game);

/// SaveGame without the report: false with `error` set to the system's error
/// number when the file cannot be written (the caller tells the player).
bool WriteGame(const std::string& path, Game& game, int& error);

/// Reads a game file into an existing game. A file that cannot be opened is
/// reported ("Project Open"); a wrong version or magic, or a damaged or truncated
/// file (entries that do not fit the grid, bytes after the last cell), returns
/// false silently. On any failure the game stays as it was.
bool OpenGame(const std::string& path, Game& game);

} // namespace pelorin
