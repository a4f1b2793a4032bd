#include "ui/PlayCommands.h"

namespace pelorin {

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
