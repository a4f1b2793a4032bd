#include "ui/SessionKeeper.h"

#include "app/AppData.h"

namespace pelorin {

SessionKeeper::SessionKeeper(AppData& app, ViewState view, QObject* parent)
    : QObject(parent), app_(app), view_(std::move(view))
{
    timer_.setInterval(kCheckMs);
    connect(&timer_, &QTimer::timeout, this, &SessionKeeper::Look);
}

void SessionKeeper::Start()
{
    started_ = true;
    timer_.start();
}

void SessionKeeper::GameReplaced(int64_t seconds)
{
    keptMs_ = seconds * 1000;
    if (running_.isValid())
        running_.restart();
    replaced_ = true;
}

void SessionKeeper::SetPaused(bool paused)
{
    paused_ = paused;
    if (paused)
        Freeze();
}

void SessionKeeper::SetSolved(bool solved)
{
    solved_ = solved;
    if (solved)
        Freeze();
}

void SessionKeeper::Freeze()
{
    if (!running_.isValid())
        return;
    keptMs_ += running_.elapsed();
    running_.invalidate();
}

int64_t SessionKeeper::Seconds() const
{
    return (keptMs_ + (running_.isValid() ? running_.elapsed() : 0)) / 1000;
}

void SessionKeeper::End(bool dropped)
{
    if (ended_ || !started_)
        return;
    Freeze();
    timer_.stop();
    ended_ = true;
    if (dropped)
        DropSession(app_.SessionFolder());
    else if (app_.gameInPlay && !failed_)
        Write();
}

void SessionKeeper::Look()
{
    // The time runs while a game is in play and the window is not minimised.
    if (!paused_ && !solved_ && app_.gameInPlay && !running_.isValid())
        running_.start();
    Q_EMIT Ticked();
    if (!app_.gameInPlay || failed_)
        return;
    SessionState now = Current();
    const int64_t seconds = now.secondsInPlay;
    now.secondsInPlay = written_.secondsInPlay;
    if (replaced_ || !(now == written_) || seconds - written_.secondsInPlay >= kTimeOnlySeconds ||
        !(CapturePlay(app_.CurrentGame()) == writtenPlay_))
        Write();
}

void SessionKeeper::Write()
{
    const SessionState now = Current();
    // SaveGame says so when the folder cannot be written; once is enough.
    if (!SaveSession(app_.SessionFolder(), now, app_.CurrentGame())) {
        failed_ = true;
        return;
    }
    written_ = now;
    writtenPlay_ = CapturePlay(app_.CurrentGame());
    replaced_ = false;
}

SessionState SessionKeeper::Current() const
{
    SessionState state;
    state.filePath = app_.currentFilePath;
    state.code = app_.currentCode;
    state.modified = app_.modified;
    if (const Entry* entry = app_.selectedEntry) {
        state.direction = entry->direction;
        state.entryIndex = entry->index;
    }
    state.secondsInPlay = Seconds();
    view_(state);
    return state;
}

} // namespace pelorin
