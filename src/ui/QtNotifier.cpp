#include "ui/QtNotifier.h"

#include "app/AppData.h"
#include "app/TextConvert.h"
#include "ui/Prompter.h"

#include <QApplication>
#include <QThread>

namespace pelorin {

QtNotifier::QtNotifier(Prompter& prompter) : prompter_(prompter)
{
    previous_ = SetNotifier(this);
}

QtNotifier::~QtNotifier()
{
    SetNotifier(previous_);
}

void QtNotifier::ShowMessage(std::string_view text, std::string_view caption)
{
    const QString wideText = ToWide(text);
    const QString wideCaption = ToWide(caption);
    if (QThread::currentThread() == thread()) {
        Show(wideText, wideCaption);
        return;
    }
    QMetaObject::invokeMethod(this, [this, wideText, wideCaption] { Show(wideText, wideCaption); },
                              Qt::QueuedConnection);
}

void QtNotifier::SetStatusText(std::string_view text)
{
    if (QThread::currentThread() == thread()) {
        ShowStatus(text);
        return;
    }
    QMetaObject::invokeMethod(this, [this, copy = std::string(text)] { ShowStatus(copy); }, Qt::QueuedConnection);
}

void QtNotifier::Show(const QString& text, const QString& caption)
{
    // A message box runs its own event loop, in which the same report may arrive
    // again (from another worker); a copy of a box on the screen tells nothing new.
    const QString key = caption + QLatin1Char('\n') + text;
    if (showing_.contains(key))
        return;
    showing_.insert(key);
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    prompter_.Ask(owner, text, caption, Prompter::Buttons::Ok, Prompter::Icon::None);
    showing_.remove(key);
}

void QtNotifier::ShowStatus(std::string_view text)
{
    if (app_)
        app_->ShowStatusText(text);
}

} // namespace pelorin
