#pragma once

#include "app/AppHooks.h"

#include <QDialog>

class QLabel;

namespace pelorin {

class AppData;

/// The splash: the logo and a status line, shown while the start-up load runs.
/// It runs the load 50 ms after it opens, so that it is on the screen first, and
/// closes itself when the load is done.
class StartDialog final : public QDialog, public AppHooks {
    Q_OBJECT

public:
    explicit StartDialog(AppData& app);
    ~StartDialog() override;

    /// The status line.
    void ShowStatusText(std::string_view text) override;
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Tick();

    AppData& app_;
    QLabel* statusLine_;
    bool loadStarted_ = false;
};

} // namespace pelorin
