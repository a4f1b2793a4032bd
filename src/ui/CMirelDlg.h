#pragma once

#include "app/AppHooks.h"

#include <QMainWindow>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QMenu;

namespace pelorin {

class AppData;
class CluesTabCtrl;
class MainDisplayType;
class MenuDisplayType;
class Prompter;
class QuotesTabCtrl;
class SceneRenderer;

/// The game's main window: the scene view of the box, the strip of image buttons,
/// the clue lists, the hint pages, the clue and answer boxes and the status bar,
/// and every command of the program. Every command works on the one current game
/// of AppData; the window only turns the player's actions into calls on the core
/// and shows their results.
///
/// From its first show, a 30 ms timer keeps the scene drawn and the strip's buttons enabled while a
/// game is in play; its first tick finishes the start-up (the first-run window,
/// then the current game's clues and progress).
class CMirelDlg final : public QMainWindow, public AppHooks {
    Q_OBJECT

public:
    static constexpr int kTickMs = 30;
    /// The answer box takes at most this many characters.
    static constexpr int kAnswerLimit = 255;

    CMirelDlg(AppData& app, Prompter& prompter);
    ~CMirelDlg() override;

    /// Runs a command of the menu, the strip or the buttons by its id.
    void OnCommand(uint32_t id);

    // What the core asks of the main window.
    void RefreshSelection() override;
    void RefreshCluePages() override;
    void UpdateProgress() override;
    void ShowStatusText(std::string_view text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenu();
    QAction* AddCommand(QMenu* menu, const QString& text, uint32_t id);
    void CreateStatusBar();
    void CreateSceneView(QWidget* parent);
    void CreateStrip(QWidget* parent);
    void CreateAnswerControls(QWidget* parent);

    void Tick();
    void FirstTick();
    void RenderFrame();

    // Game files.
    void NewGame();
    void Open();
    void Save();
    bool SaveAs();
    void ExportToPdf();
    void Exit();
    /// Asks whether to save a modified game; true when the caller may go on (the
    /// game was saved, or the player chose not to), false on Cancel or when the
    /// save did not happen.
    bool MaybeSave();
    bool SaveTo(const std::string& path);

    // Answer entry.
    void CheckAnswer();
    void ClearEntry();
    void GiveUpEntry();
    void RevealAllEntries();
    void ClearAllEntries();

    void ShowAbout();
    void ShowStyles();
    bool Confirm(const QString& question);

    AppData& app_;
    Prompter& prompter_;
    MainDisplayType* sceneView_ = nullptr;
    /// Made with the scene view and destroyed before it, which releases its GL
    /// objects while the view's context can still be made current.
    std::unique_ptr<SceneRenderer> renderer_;
    MenuDisplayType* strip_ = nullptr;
    CluesTabCtrl* clueTabs_ = nullptr;
    QuotesTabCtrl* quoteTabs_ = nullptr;
    QLabel* clueText_ = nullptr;
    QLineEdit* answerBox_ = nullptr;
    QLabel* progressPane_ = nullptr;
    QLabel* givenUpPane_ = nullptr;
    QLabel* statusPane_ = nullptr;
    QAction* exportAction_ = nullptr; ///< enabled while a game is in play
    QTimer timer_;
    bool firstTick_ = true;
    bool sceneChecked_ = false; ///< InitDevice has run, at the first show
};

} // namespace pelorin
