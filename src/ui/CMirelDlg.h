#pragma once

#include "app/AppHooks.h"
#include "game/BoxCursor.h"
#include "game/PlayState.h"

#include <QMainWindow>
#include <QTimer>
#include <QUndoStack>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QKeyEvent;
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
class SessionKeeper;

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
    /// A run that only shows the window (a picture for scripts) neither brings back
    /// nor replaces the game kept from the player's last run. Called before the
    /// first tick.
    void LeaveKeptGameAlone() { keepsSession_ = false; }

    // What the core asks of the main window.
    void RefreshSelection() override;
    void RefreshCluePages() override;
    void UpdateProgress() override;
    void GameReplaced() override { ResetHistory(false); }
    void ShowStatusText(std::string_view text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
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
    // Puzzles made from a seed: the day's, and a code's.
    void MakeDailyPuzzle();
    void ShowPuzzleCode();
    /// A puzzle (made by `make`) in place of the current game, after the save
    /// question; true when it was made, false with the reason when it was refused,
    /// and true (nothing changed) when the player cancelled the question.
    bool ReplaceWithPuzzle(const std::function<bool(std::string& reason)>& make, std::string& reason);
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

    // Playing on the box.
    void CreateViewAndPlayMenus();
    void SetAccessibleTexts();
    void OnCellClicked(int32_t cell);
    /// A key pressed while the box has the focus; false for keys it leaves alone.
    bool OnBoxKey(const QKeyEvent& key);
    /// Moves the cursor; a new entry becomes the selected entry.
    void MoveCursor(const BoxCursor& cursor);
    /// The answer box for the entry: the player's word when it is full, else empty
    /// with the letters known so far as grey placeholder text.
    void ShowAnswer(const Entry& entry);

    // The player's history (undo and redo of every change to the letters).
    void CreateEditMenu();
    /// Pushes the change made since `before` as one step, unless nothing changed.
    void PushPlay(const QString& text, const PlayState& before, int mergeKey = -1);
    /// A new history for a game just opened (`saved`) or made and not yet saved;
    /// its time in play starts from `seconds`.
    void ResetHistory(bool saved, int64_t seconds = 0);

    // The game kept between runs, and its time in play.
    void CreateSession();
    /// Brings back the game kept by the last run, or sets aside one that does not
    /// read, saying so.
    void RestoreSession();
    void ShowPlayTime();

    // Checks and the end of a game.
    void CheckSelectedEntry();
    void CheckWholePuzzle();
    /// Gives the box's cursor cell its solution letter.
    void RevealCursorLetter();
    /// Shows the check marks in the lists and their count in the status bar.
    void ShowMarks();
    /// Says once when the grid is solved, and when it became full with a wrong letter.
    void AnnounceProgress();

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
    QAction* turnAction_ = nullptr;   ///< "Turn to the Selected Entry"
    /// The entry the box last turned to: a turn starts when the selection moves on.
    const Entry* turnedTo_ = nullptr;
    QTimer timer_;
    bool firstTick_ = true;
    bool keepsSession_ = true;
    bool commandRunning_ = false; ///< while OnCommand runs one
    /// The player's history of the current game; its clean state is the modified flag.
    QUndoStack history_;
    SessionKeeper* session_ = nullptr;
    QLabel* timePane_ = nullptr;
    QLabel* wrongPane_ = nullptr;
    /// The grid's progress when last looked at, so that each end is said once.
    GridProgress progress_ = GridProgress::Open;
    bool solvedSaid_ = false; ///< the end message was shown for this game
    /// The player answered No to the last save question: the game is dropped.
    bool droppedGame_ = false;
    /// The entry typed into on the box, while the cursor stays in it, and the
    /// number of its run of typing: the steps of one run merge into one.
    const Entry* typedEntry_ = nullptr;
    int typingRun_ = 0;
    bool sceneChecked_ = false; ///< InitDevice has run, at the first show
};

} // namespace pelorin
