#pragma once

#include "game/BlockPatterns.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <cstdint>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace pelorin {

class AppData;

/// New Game: the player picks a block pattern by its picture and a style, and OK
/// waits for the game of that choice from the cache, checking once a second. The
/// dialog never fills a grid itself; while it waits it keeps the preparation of
/// the chosen game going, and says so when the style cannot fill the pattern.
class GameDialog final : public QDialog {
    Q_OBJECT

public:
    /// Checks for the chosen game this often while waiting.
    static constexpr int kCheckIntervalMs = 1000;

    GameDialog(AppData& app, QWidget* parent);

    /// The pattern whose picture was clicked last, or the remembered one.
    int32_t ChosenPattern() const { return chosenPattern_; }
    bool Waiting() const { return timer_.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ChoosePattern(int32_t patternId);
    void ShowFrame();
    void StartWaiting();
    void Tick();

    AppData& app_;
    QComboBox* styles_;
    QLabel* waitText_;
    QPushButton* ok_;
    std::array<QLabel*, kOfferedPatterns> pictures_{};
    std::array<QFrame*, kOfferedPatterns> frames_{};
    int32_t chosenPattern_ = 0;
    QTimer timer_;
};

} // namespace pelorin
