#pragma once

#include <string_view>

namespace pelorin {

/// What the application core asks of the windows: the main window's refresh
/// routines and the status line of the splash or the main window.
///
/// The core runs without windows too (the command-line tool, the tests), so every
/// hook does nothing unless a window overrides it; the splash overrides only the
/// status line. Hooks are called on the user-interface thread only.
class AppHooks {
public:
    virtual ~AppHooks() = default;

    /// Shows the selected entry: its clue, its answer box and its quote pages.
    virtual void RefreshSelection() {}
    /// Refills the Across and Down clue lists from the current game.
    virtual void RefreshCluePages() {}
    /// Writes the progress texts of the current game into the status bar.
    virtual void UpdateProgress() {}
    /// A new game (from the cache or a puzzle code) took the current game's place:
    /// what the window kept of the old one (its history, its time) goes.
    virtual void GameReplaced() {}
    /// Shows a status text (the splash's status line, the main window's pane 2).
    virtual void ShowStatusText(std::string_view /*text*/) {}
};

} // namespace pelorin
