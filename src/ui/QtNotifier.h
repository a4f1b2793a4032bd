#pragma once

#include "foundation/Notifier.h"

#include <QObject>
#include <QSet>
#include <QString>

namespace pelorin {

class AppData;
class Prompter;

/// The window program's notifier: what the core reports shows in message boxes,
/// status texts on the splash or in the main window's status bar, always on the
/// user-interface thread. A worker's report is queued there and the worker goes on
/// at once: the user-interface thread may be waiting for that very worker.
///
/// Installs itself for its lifetime; make it before any worker starts and destroy
/// it after all have ended.
class QtNotifier final : public QObject, public Notifier {
    Q_OBJECT

public:
    explicit QtNotifier(Prompter& prompter);
    ~QtNotifier() override;

    /// Where status texts go (null for nowhere): set once the application data
    /// exists, cleared before it goes.
    void SetStatusTarget(AppData* app) { app_ = app; }

    void ShowMessage(std::string_view text, std::string_view caption) override;
    void SetStatusText(std::string_view text) override;

private:
    void Show(const QString& text, const QString& caption);
    void ShowStatus(std::string_view text);

    Prompter& prompter_;
    AppData* app_ = nullptr; ///< only touched on the user-interface thread
    Notifier* previous_ = nullptr;
    /// Caption and text of the messages on the screen; only touched on the
    /// user-interface thread.
    QSet<QString> showing_;
};

} // namespace pelorin
