#pragma once

#include "game/PlayState.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <QUndoCommand>

#include <functional>

namespace pelorin {

/// One step of the player's history: a change to the letters of the current game,
/// kept as the player's state before and after it. The change has been made when
/// the step is pushed, so the first redo does nothing; later undos and redos put
/// a state back and let the window show it.
///
/// Steps with the same merge key (for example the letters typed into one entry
/// without leaving it) join into one while they follow each other; -1 never joins.
class PlayCommand final : public QUndoCommand {
public:
    /// Shows the game after a state was put back.
    using Shown = std::function<void()>;

    PlayCommand(const QString& text, Game& game, PlayState before, PlayState after, Shown shown,
                int mergeKey = -1);

    void undo() override;
    void redo() override;
    int id() const override { return mergeKey_; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    Game& game_;
    PlayState before_;
    PlayState after_;
    Shown shown_;
    int mergeKey_;
    bool done_ = true; ///< the change was made before the step was pushed
};

/// The keys of the player's history: Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo.
QList<QKeySequence> UndoKeys();
QList<QKeySequence> RedoKeys();

/// Lets the history's keys reach the window's Undo and Redo from a text box that
/// would otherwise take them for its own text: in the one-word answer box a
/// player means the game's last change.
class HistoryKeys final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace pelorin
