#pragma once

#include "app/Session.h"
#include "game/PlayState.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace pelorin {

class AppData;

/// Keeps the game in play in the player's data folder (Session.h): within about a
/// second of every change, and at the end, so that a crash loses at most the last
/// second of play. It also keeps the game's time in play, which runs while a game
/// is in play and the window is not minimised.
class SessionKeeper final : public QObject {
    Q_OBJECT
public:
    /// What the window shows of the game: the selected entry and the view are read
    /// from the application data and from `view` when the state is written.
    using ViewState = std::function<void(SessionState& state)>;
    /// How often the keeper looks for changes.
    static constexpr int kCheckMs = 1000;
    /// The time alone is written this seldom; every other change at once.
    static constexpr int64_t kTimeOnlySeconds = 30;

    SessionKeeper(AppData& app, ViewState view, QObject* parent = nullptr);

    /// Starts looking for changes (after a kept game was brought back, or not).
    void Start();
    /// A new game replaced the one in play: it is written at the next look, and its
    /// time starts from `seconds`.
    void GameReplaced(int64_t seconds = 0);
    /// Pauses the time in play (the window was minimised) or lets it run again.
    void SetPaused(bool paused);
    /// Stops the time in play while the game is solved.
    void SetSolved(bool solved);
    int64_t Seconds() const;
    /// The program ends: the game is kept, or dropped when the player chose not to
    /// save it. Nothing is written afterwards. A keeper never started leaves the kept
    /// game alone: it never brought it back, so the game in play is not its own.
    void End(bool dropped);

Q_SIGNALS:
    /// Every look (about once a second), for the time shown in the status bar.
    void Ticked();

private:
    void Look();
    /// Adds the running time to the kept time and stops it.
    void Freeze();
    void Write();
    SessionState Current() const;

    AppData& app_;
    ViewState view_;
    QTimer timer_;
    QElapsedTimer running_; ///< valid while the time runs
    int64_t keptMs_ = 0;    ///< time in play before running_ started
    bool paused_ = false;
    bool solved_ = false;
    bool started_ = false;
    bool ended_ = false;
    bool failed_ = false;   ///< a write failed once (and said so): no more tries this run
    bool replaced_ = true;  ///< the game was replaced since the last write
    SessionState written_;
    PlayState writtenPlay_;
};

} // namespace pelorin
