#pragma once

#include <QDialog>
#include <QTimer>

#include <cstdint>

class QListWidget;

namespace pelorin {

class AppData;
class Prompter;

/// Styles: one line per style of AppData with its description, books, words and
/// the state of its game preparation; New ... makes a style in the style editor,
/// Delete deletes the selected one with its file. While open it looks once a
/// second whether any preparation worker started or ended, and then shows the
/// lines again with the selection kept.
class StyleListDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTickMs = 1000;

    StyleListDialog(AppData& app, Prompter& prompter, QWidget* parent);

    /// The running workers of every style, as the list last showed them.
    int32_t LastBusyTotal() const { return lastBusyTotal_; }

Q_SIGNALS:
    /// The lines were made again.
    void Refreshed();

private:
    void Refresh();
    void Tick();
    void NewStyle();
    void DeleteStyle();
    int32_t BusyTotal() const;

    AppData& app_;
    Prompter& prompter_;
    QListWidget* list_;
    int32_t lastBusyTotal_ = 0;
    QTimer timer_;
};

} // namespace pelorin
