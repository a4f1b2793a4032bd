#include "ui/PlayCommands.h"

#include <QKeyEvent>

namespace pelorin {

QList<QKeySequence> UndoKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::Key_Z)};
}

QList<QKeySequence> RedoKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};
}

bool HistoryKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    if (!UndoKeys().contains(pressed) && !RedoKeys().contains(pressed))
        return false;
    // Not taken by the box: the window's shortcut runs.
    event->ignore();
    return true;
}

PlayCommand::PlayCommand(const QString& text, Game& game, PlayState before, PlayState after, Shown shown,
                         int mergeKey)
    : QUndoCommand(text), game_(game), before_(std::move(before)), after_(std::move(after)),
      shown_(std::move(shown)), mergeKey_(mergeKey)
{
}

void PlayCommand::undo()
{
    RestorePlay(game_, before_);
    shown_();
}

void PlayCommand::redo()
{
    if (done_) {
        done_ = false;
        return;
    }
    RestorePlay(game_, after_);
    shown_();
}

bool PlayCommand::mergeWith(const QUndoCommand* other)
{
    // Qt asks only for steps of the same id, and -1 never.
    after_ = static_cast<const PlayCommand*>(other)->after_;
    setObsolete(after_ == before_);
    return true;
}

} // namespace pelorin
