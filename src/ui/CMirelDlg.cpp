#include "ui/CMirelDlg.h"

#include "app/AppData.h"
#include "app/Settings.h"
#include "app/TextConvert.h"
#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
#include "game/ClueText.h"
#include "game/GameFile.h"
#include "scene/MainDisplayType.h"
#include "scene/MenuDisplayType.h"
#include "scene/PuzzlePdf.h"
#include "scene/SceneRenderer.h"
#include "scene/SceneTextures.h"
#include "scene/StripPictures.h"
#include "ui/CAboutDlg.h"
#include "ui/CluesTabCtrl.h"
#include "ui/CommandIds.h"
#include "ui/DialogUnits.h"
#include "ui/FirstDialog.h"
#include "ui/GameDialog.h"
#include "ui/HelpWindow.h"
#include "ui/Pictures.h"
#include "ui/PlayCommands.h"
#include "ui/Prompter.h"
#include "ui/PuzzleCodeDialog.h"
#include "ui/QuotesTabCtrl.h"
#include "ui/SessionKeeper.h"
#include "ui/StyleListDialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QStatusBar>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <tuple>

namespace pelorin {

namespace {

// The client area and its controls.
constexpr QSize kClientSize = DialogSize(558, 418);
constexpr QRect kSceneView(QPoint(4, 28), QPoint(478, 464));
constexpr QRect kStrip(4, 2, kStripWidth, kStripHeight);
constexpr QRect kClueTabs = DialogRect(323, 17, 233, 242);
constexpr QRect kQuoteTabs = DialogRect(2, 288, 554, 105);
// The labels reach to their boxes, so that they fit whatever the font.
constexpr QRect kClueLabel = DialogRect(323, 261, 34, 10);
constexpr QRect kClueText = DialogRect(358, 260, 193, 23);
constexpr QRect kAnswerLabel = DialogRect(323, 285, 34, 10);
constexpr QRect kAnswerBox = DialogRect(358, 285, 68, 12);
constexpr QRect kOkButton = DialogRect(430, 285, 37, 12);
constexpr QRect kClearButton = DialogRect(468, 285, 37, 12);
constexpr QRect kGiveUpButton = DialogRect(506, 285, 37, 12);
constexpr std::array<int, 3> kPaneWidths = {150, 100, 200};

// The strip's buttons, left to right, 80 pixels each.
struct StripCommand {
    uint32_t id;
    bool enabled;
};
constexpr std::array<StripCommand, kStripButtonCount> kStripCommands = {{
    {kCmdNew, true},
    {kCmdOpen, true},
    {kCmdSaveAs, true},
    {kCmdSave, true},
    {kCmdRevealAll, true},
    {kCmdClearAll, false},
    {kCmdStyle, true},
}};
// Buttons 2 to 5 work on the game and are enabled exactly while one is in play.
constexpr int kFirstGameButton = 2;
constexpr int kLastGameButton = 5;

// A long clue is set smaller, down to this size, to fit its box.
constexpr int kSmallestClueFont = 8;

const QString kCaption = QStringLiteral("Pelorin");
// Off is stored as 0; absent (the default) and anything else mean on.
constexpr const char* kTurnSetting = "TurnToSelectedEntry";
const QString kGameFilter = QStringLiteral("zag Files (*.zag);;All Files (*.*)");
const QString kGameSuffix = QStringLiteral("zag");

// Shows a clue in its box, in a smaller font when it would not fit, and whole
// when the pointer rests on it.
void ShowClue(QLabel& box, const QString& clue)
{
    QFont font = QApplication::font();
    const QRect room = box.contentsRect().adjusted(box.margin(), box.margin(), -box.margin(), -box.margin());
    for (int pixels = QFontInfo(font).pixelSize(); pixels >= kSmallestClueFont; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).boundingRect(room, Qt::TextWordWrap, clue).height() <= room.height())
            break;
    }
    box.setFont(font);
    box.setText(clue);
    box.setToolTip(clue);
}

} // namespace

CMirelDlg::CMirelDlg(AppData& app, Prompter& prompter) : app_(app), prompter_(prompter)
{
    setWindowTitle(kCaption);
    // The layout is fixed-size: no Maximise, and the size below keeps the window
    // manager from stretching it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    CreateMenu();
    CreateStatusBar();

    auto* client = new QWidget(this);
    setCentralWidget(client);
    // The status bar lies inside the client area of the layout, below its controls.
    client->setFixedSize(kClientSize.width(), kClientSize.height() - statusBar()->sizeHint().height());
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // The strip posts its commands to its parent, the client area.
    client->installEventFilter(this);
    CreateStrip(client);
    CreateSceneView(client);
    clueTabs_ = new CluesTabCtrl(app_, client);
    clueTabs_->setGeometry(kClueTabs);
    clueTabs_->setObjectName(QStringLiteral("CluesTabCtrl"));
    connect(clueTabs_, &CluesTabCtrl::EntryChosen, this, &CMirelDlg::RefreshSelection);
    quoteTabs_ = new QuotesTabCtrl(client);
    quoteTabs_->setGeometry(kQuoteTabs);
    quoteTabs_->setObjectName(QStringLiteral("QuotesTabCtrl"));
    CreateAnswerControls(client);
    connect(sceneView_, &MainDisplayType::CellClicked, this, &CMirelDlg::OnCellClicked);
    sceneView_->installEventFilter(this);
    SetAccessibleTexts();
    answerBox_->installEventFilter(new HistoryKeys(this));

    CreateSession();

    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &CMirelDlg::Tick);
}

CMirelDlg::~CMirelDlg()
{
    timer_.stop();
    if (app_.mainWindow == this)
        app_.mainWindow = nullptr;
}

void CMirelDlg::CreateMenu()
{
    QMenu* game = menuBar()->addMenu(QStringLiteral("&Game"));
    AddCommand(game, QStringLiteral("&New\tCtrl+N"), kCmdNew)->setShortcut(QKeySequence::New);
    AddCommand(game, QStringLiteral("&Open...\tCtrl+O"), kCmdOpen)->setShortcut(QKeySequence::Open);
    AddCommand(game, QStringLiteral("Puzzle of the &Day"), kCmdDailyPuzzle);
    AddCommand(game, QStringLiteral("Puzzle &Code..."), kCmdPuzzleCode);
    game->addSeparator();
    AddCommand(game, QStringLiteral("&Save\tCtrl-S"), kCmdSave)->setShortcut(QKeySequence::Save);
    AddCommand(game, QStringLiteral("Save &As..."), kCmdSaveAs);
    exportAction_ = AddCommand(game, QStringLiteral("Export &PDF..."), kCmdExportPdf);
    exportAction_->setEnabled(false);
    game->addSeparator();
    AddCommand(game, QStringLiteral("E&xit"), kCmdExit);

    CreateEditMenu();
    CreateViewAndPlayMenus();

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    AddCommand(tools, QStringLiteral("Style &Editor"), kCmdStyleEditor);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    AddCommand(help, QStringLiteral("&Contents\tF1"), kCmdHelpContents);
    AddCommand(help, QStringLiteral("&Tutorial"), kCmdTutorial);
    help->addSeparator();
    AddCommand(help, QStringLiteral("&About"), kCmdAbout);

    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this, [this] { OnCommand(kCmdHelpContents); });
}

QAction* CMirelDlg::AddCommand(QMenu* menu, const QString& text, uint32_t id)
{
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    return action;
}

void CMirelDlg::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    std::array<QLabel*, kPaneWidths.size()> panes{};
    for (size_t i = 0; i < panes.size(); ++i) {
        panes[i] = new QLabel(bar);
        panes[i]->setFixedWidth(kPaneWidths[i]);
        panes[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panes[i]);
    }
    // The progress text of a finished game is wider than its pane in many fonts:
    // the pane grows to the longest text it can show, with the frame and the room
    // a framed label leaves before its text.
    const QFontMetrics metrics = panes[0]->fontMetrics();
    const QString longest = ToWide(Format("%ld/%ld (100.00%%) Complete", long{kCellCount}, long{kCellCount}));
    const int needed = metrics.horizontalAdvance(longest) + metrics.averageCharWidth() + 2 * panes[0]->frameWidth();
    panes[0]->setFixedWidth(std::max(kPaneWidths[0], needed));
    progressPane_ = panes[0];
    givenUpPane_ = panes[1];
    statusPane_ = panes[2];
    progressPane_->setObjectName(QStringLiteral("ProgressPane"));
    givenUpPane_->setObjectName(QStringLiteral("GivenUpPane"));
    statusPane_->setObjectName(QStringLiteral("StatusPane"));
}

void CMirelDlg::CreateSceneView(QWidget* parent)
{
    sceneView_ = new MainDisplayType(parent);
    sceneView_->setGeometry(kSceneView);
    // The device is checked when the window first shows, after the start-up load,
    // which the check can run beside.
    renderer_ = std::make_unique<SceneRenderer>();
    renderer_->StartProbe();
    sceneView_->SetRenderer(renderer_.get());
    for (const int32_t picture : kSceneTextures)
        renderer_->LoadResourceTexture(picture);
    renderer_->SetGame(&app_.CurrentGame());
}

void CMirelDlg::CreateStrip(QWidget* parent)
{
    strip_ = new MenuDisplayType(parent);
    strip_->setObjectName(QStringLiteral("Menu"));
    strip_->setGeometry(kStrip);
    strip_->LoadStripBitmaps();
    for (int i = 0; i < kStripButtonCount; ++i) {
        const StripCommand& command = kStripCommands[static_cast<size_t>(i)];
        strip_->AddStripButton(QRect(i * kStripButtonWidth, 0, kStripButtonWidth, kStripHeight), command.id,
                               command.enabled);
    }
}

void CMirelDlg::CreateAnswerControls(QWidget* parent)
{
    auto* clueLabel = new QLabel(QStringLiteral("Clue:"), parent);
    clueLabel->setGeometry(kClueLabel);
    clueText_ = new QLabel(parent);
    clueText_->setObjectName(QStringLiteral("ClueText"));
    clueText_->setGeometry(kClueText);
    clueText_->setFrameStyle(QFrame::Box | QFrame::Plain);
    clueText_->setWordWrap(true);
    clueText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    clueText_->setMargin(2);

    auto* answerLabel = new QLabel(QStringLiteral("Answer:"), parent);
    answerLabel->setGeometry(kAnswerLabel);
    answerBox_ = new QLineEdit(parent);
    answerBox_->setObjectName(QStringLiteral("AnswerBox"));
    answerBox_->setGeometry(kAnswerBox);
    answerBox_->setMaxLength(kAnswerLimit);
    connect(answerBox_, &QLineEdit::returnPressed, this, [this] { OnCommand(kCmdOk); });

    const std::array<std::tuple<QString, QRect, uint32_t, QString>, 3> buttons = {{
        {QStringLiteral("OK"), kOkButton, kCmdOk, QStringLiteral("OkButton")},
        {QStringLiteral("Clear"), kClearButton, kCmdClear, QStringLiteral("ClearButton")},
        {QStringLiteral("Give Up"), kGiveUpButton, kCmdGiveUp, QStringLiteral("GiveUpButton")},
    }};
    for (const auto& [text, rect, id, name] : buttons) {
        auto* button = new QPushButton(text, parent);
        button->setObjectName(name);
        button->setGeometry(rect);
        // Enter presses the button that has the focus, as in any dialog.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, id = id] { OnCommand(id); });
    }
}

bool CMirelDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Before the view's own handling, which would take Tab to the next control.
    if (watched == sceneView_ && event->type() == QEvent::KeyPress)
        return OnBoxKey(*static_cast<QKeyEvent*>(event)) || QMainWindow::eventFilter(watched, event);
    if (event->type() == StripCommandEvent::Type()) {
        OnCommand(static_cast<StripCommandEvent*>(event)->CommandId());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMirelDlg::OnCommand(uint32_t id)
{
    // A command's dialog runs its own event loop, in which a second press of the
    // strip, posted before the first was handled, would open a second copy: one
    // command at a time.
    if (commandRunning_)
        return;
    const QScopedValueRollback running(commandRunning_, true);
    switch (id) {
    case kCmdNew:
        return NewGame();
    case kCmdOpen:
        return Open();
    case kCmdSave:
        return Save();
    case kCmdSaveAs:
        SaveAs();
        return;
    case kCmdExportPdf:
        return ExportToPdf();
    case kCmdDailyPuzzle:
        return MakeDailyPuzzle();
    case kCmdPuzzleCode:
        return ShowPuzzleCode();
    case kCmdCheckEntry:
        return CheckSelectedEntry();
    case kCmdCheckPuzzle:
        return CheckWholePuzzle();
    case kCmdRevealLetter:
        return RevealCursorLetter();
    case kCmdExit:
        return Exit();
    case kCmdHelpContents:
        OpenHelp(kHelpFile);
        return;
    case kCmdTutorial:
        OpenHelp(kTutorialTopic);
        return;
    case kCmdAbout:
        return ShowAbout();
    case kCmdStyleEditor:
    case kCmdStyle:
        return ShowStyles();
    case kCmdOk:
        return CheckAnswer();
    case kCmdClear:
        return ClearEntry();
    case kCmdGiveUp:
        return GiveUpEntry();
    case kCmdRevealAll:
        return RevealAllEntries();
    case kCmdClearAll:
        return ClearAllEntries();
    default:
        return;
    }
}

// Ticks.

void CMirelDlg::Tick()
{
    if (firstTick_)
        FirstTick();
    if (renderer_)
        TurnTick(renderer_->camera);
    RenderFrame();
    for (int i = kFirstGameButton; i <= kLastGameButton; ++i)
        strip_->SetButtonEnabled(i, app_.gameInPlay);
    exportAction_->setEnabled(app_.gameInPlay);
}

void CMirelDlg::FirstTick()
{
    firstTick_ = false;
    if (CheckFirstRun()) {
        FirstDialog first(this);
        first.exec();
    }
    app_.mainWindow = this;
    app_.selectedEntry = app_.CurrentGame().Across().At(0);
    RefreshCluePages();
    RefreshSelection();
    UpdateProgress();
    if (!keepsSession_)
        return;
    RestoreSession();
    session_->Start();
}

void CMirelDlg::RenderFrame()
{
    // One frame of the scene per tick shows every change the game model made to
    // the cells since the last one; the scene gets no other notice of changes. The
    // view draws it (SceneRenderer::RenderFrame) when it paints next.
    sceneView_->Redraw();
}

// What the core asks of the window.

void CMirelDlg::RefreshSelection()
{
    // The box follows the selection however it was made: the cursor moves into the
    // entry, the marks follow, and the box turns to the entry's face.
    Entry* entry = app_.selectedEntry;
    if (CursorEntry(app_.cursor) != entry)
        app_.cursor = CursorAt(entry);
    MarkSelection(app_.CurrentGame(), app_.cursor);
    if (entry != turnedTo_) {
        turnedTo_ = entry;
        if (entry && entry->cells.Count() > 0 && renderer_ && turnAction_->isChecked())
            StartTurn(renderer_->camera, entry->cells.At(0)->face);
    }
    clueTabs_->ShowEntry(entry);

    quoteTabs_->Fill(entry);
    // The clue box never shows another entry's clue.
    ShowClue(*clueText_, entry && entry->definitions.Count() > 0 ? ToWide(ClueText(*entry)) : QString());
    if (!entry) {
        answerBox_->setPlaceholderText(QString());
        return;
    }
    ShowAnswer(*entry);
}

void CMirelDlg::RefreshCluePages()
{
    // A game became current: the last game's cursor cell is a cell of this game too
    // and may even lie in its selected entry, but the cursor starts afresh, on the
    // selected entry's first empty cell (RefreshSelection).
    app_.cursor = BoxCursor{};
    typedEntry_ = nullptr;
    clueTabs_->Fill();
    clueTabs_->ShowMarks();
}

void CMirelDlg::UpdateProgress()
{
    const Game& game = app_.CurrentGame();
    const int32_t total = game.Across().Count() + game.Down().Count();
    const int32_t complete = CountComplete(game);
    // The share is kept in single precision, as the text has always shown it.
    const float percent = total == 0 ? 0.0f : static_cast<float>(complete * 100.0 / total);
    progressPane_->setText(ToWide(Format("%ld/%ld (%0.2f%%) Complete", static_cast<long>(complete),
                                         static_cast<long>(total), static_cast<double>(percent))));
    givenUpPane_->setText(ToWide(Format("%ld Given Up", static_cast<long>(CountGivenUp(game)))));
}

void CMirelDlg::ShowStatusText(std::string_view text)
{
    statusPane_->setText(ToWide(text));
}

// Game files.

void CMirelDlg::NewGame()
{
    if (!MaybeSave())
        return;
    GameDialog dialog(app_, this);
    // A new game has no file yet: its title is the program's, as at the start.
    if (dialog.exec() == QDialog::Accepted)
        setWindowTitle(kCaption);
}

void CMirelDlg::Open()
{
    if (!MaybeSave())
        return;
    const QString chosen = prompter_.OpenFileName(this, ToWide(app_.GamesFolder()), kGameFilter);
    if (chosen.isEmpty())
        return;
    const std::string path = ToNarrow(chosen);
    // A file that cannot be opened at all is reported by OpenGame itself, with its
    // path and the reason; one that opens but is no game is reported here.
    const bool readable = QFileInfo(chosen).isReadable();
    if (!OpenGame(path, app_.CurrentGame())) {
        if (readable)
            prompter_.Ask(this, QStringLiteral("Cannot open this game file."), kCaption, Prompter::Buttons::Ok,
                          Prompter::Icon::None);
        return;
    }
    setWindowTitle(ToWide(SplitPath(path).second));
    app_.gameInPlay = true;
    app_.currentFilePath = path;
    app_.currentCode.clear();
    app_.modified = false;
    ResetHistory(true);
    app_.selectedEntry = app_.CurrentGame().Across().At(0);
    RefreshCluePages();
    RefreshSelection();
    UpdateProgress();
}

// Puzzles made from a seed ------------------------------------------------------

bool CMirelDlg::ReplaceWithPuzzle(const std::function<bool(std::string& reason)>& make, std::string& reason)
{
    if (!MaybeSave())
        return true;
    if (!make(reason))
        return false;
    // A new game has no file yet, as after New Game.
    setWindowTitle(kCaption);
    ShowStatusText("Puzzle code " + app_.currentCode);
    return true;
}

void CMirelDlg::MakeDailyPuzzle()
{
    std::string reason;
    const PuzzleDate today = Today();
    if (!ReplaceWithPuzzle([&](std::string& why) { return app_.MakeDailyPuzzle(today, why); }, reason))
        prompter_.Ask(this, ToWide(reason), kCaption, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
}

void CMirelDlg::ShowPuzzleCode()
{
    PuzzleCodeDialog dialog(
        app_.currentCode,
        [this](const std::string& typed, std::string& reason) {
            PuzzleCode code;
            return ParseCode(typed, code, reason) &&
                   ReplaceWithPuzzle([&](std::string& why) { return app_.MakePuzzle(code, why); }, reason);
        },
        this);
    dialog.exec();
}

void CMirelDlg::Save()
{
    // A game without a file is given one by Save As.
    if (app_.currentFilePath.empty())
        SaveAs();
    else
        SaveTo(app_.currentFilePath);
}

bool CMirelDlg::SaveAs()
{
    const QString chosen = prompter_.SaveFileName(this, ToWide(app_.GamesFolder()), kGameFilter, kGameSuffix,
                                                   true);
    if (chosen.isEmpty())
        return false;
    const std::string path = ToNarrow(chosen);
    if (!SaveTo(path))
        return false;
    setWindowTitle(ToWide(SplitPath(path).second));
    app_.currentFilePath = path;
    return true;
}

bool CMirelDlg::SaveTo(const std::string& path)
{
    // SaveGame tells the player when it fails; the game then stays unsaved.
    if (!SaveGame(path, app_.CurrentGame()))
        return false;
    app_.modified = false;
    history_.setClean();
    return true;
}

void CMirelDlg::ExportToPdf()
{
    if (!app_.gameInPlay)
        return;
    bool solution = false;
    const QString chosen = prompter_.ExportFileName(this, ToWide(app_.GamesFolder()), solution);
    if (chosen.isEmpty())
        return;
    const QString title = app_.currentFilePath.empty()
                              ? kCaption
                              : ToWide(StripExtension(SplitPath(app_.currentFilePath).second));
    std::string error;
    if (!ExportPdf(app_.CurrentGame(), ToNarrow(chosen), PdfOptions{title, solution}, error))
        prompter_.Ask(this, QStringLiteral("Cannot write %1: %2").arg(chosen, ToWide(error)), kCaption,
                      Prompter::Buttons::Ok, Prompter::Icon::None);
}

bool CMirelDlg::MaybeSave()
{
    droppedGame_ = false;
    if (!app_.modified)
        return true;
    const Prompter::Answer answer =
        prompter_.Ask(this, QStringLiteral("Do you want to save the changes to this game ?"), kCaption,
                      Prompter::Buttons::YesNoCancel, Prompter::Icon::Exclamation);
    switch (answer) {
    case Prompter::Answer::Yes:
        return app_.currentFilePath.empty() ? SaveAs() : SaveTo(app_.currentFilePath);
    case Prompter::Answer::No:
        droppedGame_ = true;
        return true;
    default:
        return false;
    }
}

void CMirelDlg::Exit()
{
    // Ends the run at once, as the window's close does not: no shut-down, so the
    // last choices are not stored. The workers still stop with the application data.
    if (!MaybeSave())
        return;
    session_->End(droppedGame_);
    QCoreApplication::exit(0);
}

void CMirelDlg::showEvent(QShowEvent* event)
{
    // The window is made before the start-up load and runs once it is done.
    if (!timer_.isActive())
        timer_.start();
    // Without OpenGL the player is told once, and the game goes on without the box.
    if (!sceneChecked_) {
        sceneChecked_ = true;
        if (!renderer_->InitDevice(*sceneView_))
            prompter_.Ask(this, renderer_->InitFailureMessage(), kCaption, Prompter::Buttons::Ok,
                          Prompter::Icon::None);
    }
    QMainWindow::showEvent(event);
}

void CMirelDlg::closeEvent(QCloseEvent* event)
{
    if (!MaybeSave()) {
        event->ignore();
        return;
    }
    session_->End(droppedGame_);
    app_.ShutDown();
    event->accept();
}

void CMirelDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange)
        session_->SetPaused(isMinimized());
    QMainWindow::changeEvent(event);
}

// Answer entry.

void CMirelDlg::CheckAnswer()
{
    Entry* entry = app_.selectedEntry;
    if (!entry)
        return;
    const PlayState before = CapturePlay(app_.CurrentGame());
    if (EnterAnswer(*entry, ToNarrow(answerBox_->text()))) {
        app_.modified = true;
        PushPlay(QStringLiteral("Answer"), before);
        ShowAnswer(*entry);
    } else {
        prompter_.Ask(this, ToWide(Format("This word must have %ld characters", static_cast<long>(entry->cells.Count()))),
                      kCaption, Prompter::Buttons::Ok, Prompter::Icon::None);
    }
    UpdateProgress();
}

void CMirelDlg::ClearEntry()
{
    Entry* entry = app_.selectedEntry;
    if (!entry)
        return;
    const PlayState before = CapturePlay(app_.CurrentGame());
    app_.modified = true;
    EraseEntry(*entry);
    PushPlay(QStringLiteral("Clear"), before);
    RefreshSelection();
}

void CMirelDlg::GiveUpEntry()
{
    Entry* entry = app_.selectedEntry;
    if (!entry)
        return;
    const PlayState before = CapturePlay(app_.CurrentGame());
    app_.modified = true;
    GiveUp(*entry);
    PushPlay(QStringLiteral("Give Up"), before);
    UpdateProgress();
    // The answer box shows the solution given.
    RefreshSelection();
}

void CMirelDlg::RevealAllEntries()
{
    if (!Confirm(QStringLiteral("All words will be revealed. Are you sure ?")))
        return;
    const PlayState before = CapturePlay(app_.CurrentGame());
    RevealAll(app_.CurrentGame(), &app_);
    PushPlay(QStringLiteral("Finish"), before);
    UpdateProgress();
    RefreshSelection();
}

void CMirelDlg::ClearAllEntries()
{
    if (!Confirm(QStringLiteral("This will clear all user entry leaving all cells blank. Are you sure ?")))
        return;
    const PlayState before = CapturePlay(app_.CurrentGame());
    ClearAll(app_.CurrentGame(), &app_);
    PushPlay(QStringLiteral("Reset"), before);
    RefreshSelection();
}

// The player's history ----------------------------------------------------------

void CMirelDlg::CreateEditMenu()
{
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction* undo = history_.createUndoAction(this, QStringLiteral("&Undo"));
    undo->setShortcuts(UndoKeys());
    edit->addAction(undo);
    QAction* redo = history_.createRedoAction(this, QStringLiteral("&Redo"));
    redo->setShortcuts(RedoKeys());
    edit->addAction(redo);
    edit->addSeparator();
    AddCommand(edit, QStringLiteral("Check &Entry"), kCmdCheckEntry)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    AddCommand(edit, QStringLiteral("Check &Puzzle"), kCmdCheckPuzzle)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    AddCommand(edit, QStringLiteral("Reveal &Letter"), kCmdRevealLetter)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    // The flag follows the history: undoing back to the saved game makes it
    // unmodified again, and a step away from it modified.
    connect(&history_, &QUndoStack::cleanChanged, this, [this](bool clean) { app_.modified = !clean; });
}

void CMirelDlg::PushPlay(const QString& text, const PlayState& before, int mergeKey)
{
    PlayState after = CapturePlay(app_.CurrentGame());
    if (after == before)
        return;
    history_.push(new PlayCommand(text, app_.CurrentGame(), before, std::move(after),
                                  [this] {
                                      UpdateProgress();
                                      RefreshSelection();
                                      ShowMarks();
                                      AnnounceProgress();
                                  },
                                  mergeKey));
    ShowMarks();
    AnnounceProgress();
}

void CMirelDlg::ResetHistory(bool saved, int64_t seconds)
{
    history_.clear();
    // A game that no file holds yet has no clean state to return to.
    if (!saved)
        history_.resetClean();
    app_.modified = !saved;
    session_->GameReplaced(seconds);
    // A game that comes back solved was announced when it was solved.
    progress_ = AssessGrid(app_.CurrentGame());
    solvedSaid_ = progress_ == GridProgress::Solved;
    session_->SetSolved(solvedSaid_);
    ShowPlayTime();
    ShowMarks();
}

// The game kept between runs -------------------------------------------------------

void CMirelDlg::CreateSession()
{
    session_ = new SessionKeeper(
        app_,
        [this](SessionState& state) {
            state.yaw = renderer_->camera.yaw;
            state.distance = renderer_->camera.distance;
        },
        this);
    connect(session_, &SessionKeeper::Ticked, this, &CMirelDlg::ShowPlayTime);
    wrongPane_ = new QLabel(this);
    wrongPane_->setObjectName(QStringLiteral("WrongPane"));
    statusBar()->addPermanentWidget(wrongPane_);
    timePane_ = new QLabel(this);
    timePane_->setObjectName(QStringLiteral("TimePane"));
    statusBar()->addPermanentWidget(timePane_);
}

void CMirelDlg::RestoreSession()
{
    SessionState state;
    const SessionLoad loaded = LoadSession(app_.SessionFolder(), state, app_.CurrentGame());
    if (loaded == SessionLoad::Unreadable) {
        const std::string aside = SetSessionAside(app_.SessionFolder());
        const std::string text =
            aside.empty() ? "The game in play when Pelorin last ended could not be read and was removed."
                          : Format("The game in play when Pelorin last ended could not be read. It was set aside "
                                   "as %s.",
                                   aside.c_str());
        prompter_.Ask(this, ToWide(text), kCaption, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
    }
    if (loaded != SessionLoad::Restored)
        return;
    app_.gameInPlay = true;
    app_.currentFilePath = state.filePath;
    app_.currentCode = state.code;
    ResetHistory(!state.modified, state.secondsInPlay);
    if (!state.filePath.empty())
        setWindowTitle(ToWide(SplitPath(state.filePath).second));
    OrbitCamera& camera = renderer_->camera;
    camera.yaw = camera.baseYaw = std::clamp(state.yaw, 0.0f, 1.0f);
    camera.distance = std::clamp(state.distance, OrbitCamera::kNearest, OrbitCamera::kFarthest);
    UpdateEye(camera);
    RefreshCluePages();
    app_.selectedEntry = state.direction >= 0 ? app_.CurrentGame().List(state.direction).At(state.entryIndex)
                                               : nullptr;
    if (app_.selectedEntry)
        clueTabs_->ShowEntry(app_.selectedEntry);
    RefreshSelection();
    UpdateProgress();
}

void CMirelDlg::ShowPlayTime()
{
    // Before any game there is no time to show.
    if (app_.CurrentGame().Across().Count() > 0)
        timePane_->setText(ToWide("Time " + PlayTimeText(session_->Seconds())));
}

// Checks and the end of a game --------------------------------------------------

void CMirelDlg::CheckSelectedEntry()
{
    Entry* entry = app_.selectedEntry;
    if (!entry)
        return;
    const int32_t wrong = CheckEntry(*entry);
    ShowMarks();
    ShowStatusText(wrong == 0 ? std::string("No wrong letters in this entry")
                              : Format("%ld wrong letters in this entry", static_cast<long>(wrong)));
}

void CMirelDlg::CheckWholePuzzle()
{
    if (!app_.gameInPlay)
        return;
    const int32_t wrong = CheckGrid(app_.CurrentGame());
    ShowMarks();
    ShowStatusText(wrong == 0 ? std::string("No wrong letters in the puzzle")
                              : Format("%ld wrong letters in the puzzle", static_cast<long>(wrong)));
}

void CMirelDlg::RevealCursorLetter()
{
    Cell* cell = app_.cursor.cell;
    if (!cell || !app_.gameInPlay)
        return;
    const PlayState before = CapturePlay(app_.CurrentGame());
    if (!RevealLetter(*cell, &app_))
        return;
    PushPlay(QStringLiteral("Reveal Letter"), before);
    UpdateProgress();
    RefreshSelection();
}

void CMirelDlg::ShowMarks()
{
    clueTabs_->ShowMarks();
    const int32_t wrong = CountMarkedWrong(app_.CurrentGame());
    wrongPane_->setText(wrong > 0 ? ToWide(Format("%ld Wrong", static_cast<long>(wrong))) : QString());
}

void CMirelDlg::AnnounceProgress()
{
    const GridProgress was = progress_;
    progress_ = AssessGrid(app_.CurrentGame());
    session_->SetSolved(progress_ == GridProgress::Solved);
    if (progress_ == was || progress_ == GridProgress::Open || (progress_ == GridProgress::Solved && solvedSaid_))
        return;
    std::string text;
    if (progress_ == GridProgress::Solved) {
        solvedSaid_ = true;
        ShowPlayTime();
        text = Format("Solved! Time taken: %s. Entries given up: %ld.", PlayTimeText(session_->Seconds()).c_str(),
                      static_cast<long>(CountGivenUp(app_.CurrentGame())));
    } else {
        text = "Every cell is filled, but some letters are wrong.";
    }
    ShowStatusText(text);
    prompter_.Ask(this, ToWide(text), kCaption, Prompter::Buttons::Ok, Prompter::Icon::None);
}

void CMirelDlg::ShowStyles()
{
    StyleListDialog styles(app_, prompter_, this);
    styles.exec();
}

bool CMirelDlg::Confirm(const QString& question)
{
    return prompter_.Ask(this, question, kCaption, Prompter::Buttons::YesNo, Prompter::Icon::None) ==
           Prompter::Answer::Yes;
}

// Playing on the box.

void CMirelDlg::CreateViewAndPlayMenus()
{
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    turnAction_ = view->addAction(QStringLiteral("&Turn to the Selected Entry"));
    turnAction_->setCheckable(true);
    std::string stored;
    turnAction_->setChecked(!app_.Store().ReadString(kTurnSetting, stored) || app_.Store().ReadDword(kTurnSetting) != 0);
    connect(turnAction_, &QAction::toggled, this, [this](bool on) {
        app_.Store().WriteDword(kTurnSetting, on ? 1 : 0);
        if (!on && renderer_)
            renderer_->camera.turnStep = 0;
    });
    view->addSeparator();
    // Keyboard reach: each part of the window at a keystroke.
    auto addFocus = [this, view](const QString& text, int key, auto target) {
        QAction* action = view->addAction(text);
        action->setShortcut(QKeySequence(Qt::CTRL | key));
        connect(action, &QAction::triggered, this, [target] { target()->setFocus(Qt::ShortcutFocusReason); });
    };
    addFocus(QStringLiteral("&Box"), Qt::Key_1, [this]() -> QWidget* { return sceneView_; });
    addFocus(QStringLiteral("&Clue List"), Qt::Key_2, [this]() -> QWidget* {
        return clueTabs_->Page(clueTabs_->currentIndex() == 0 ? kAcross : kDown).List();
    });
    addFocus(QStringLiteral("&Answer"), Qt::Key_3, [this]() -> QWidget* { return answerBox_; });

    // The commands of the answer buttons and the strip, for the keyboard.
    QMenu* play = menuBar()->addMenu(QStringLiteral("&Play"));
    AddCommand(play, QStringLiteral("&Clear Entry"), kCmdClear);
    AddCommand(play, QStringLiteral("&Give Up"), kCmdGiveUp);
    play->addSeparator();
    AddCommand(play, QStringLiteral("&Finish"), kCmdRevealAll);
    AddCommand(play, QStringLiteral("&Reset"), kCmdClearAll);
}

void CMirelDlg::SetAccessibleTexts()
{
    sceneView_->setAccessibleName(QStringLiteral("Box"));
    sceneView_->setAccessibleDescription(
        QStringLiteral("The crossword on the four sides of a box. Arrow keys move between cells, letters fill "
                       "them, Space switches between Across and Down, Tab goes to the next entry."));
    for (const Direction direction : {kAcross, kDown}) {
        QListWidget* list = clueTabs_->Page(direction).List();
        list->setAccessibleName(direction == kAcross ? QStringLiteral("Across clues") : QStringLiteral("Down clues"));
        list->setAccessibleDescription(QStringLiteral("Choose a clue to select its entry on the box."));
    }
    clueText_->setAccessibleName(QStringLiteral("Clue"));
    clueText_->setAccessibleDescription(QStringLiteral("The clue of the selected entry."));
    answerBox_->setAccessibleName(QStringLiteral("Answer"));
    answerBox_->setAccessibleDescription(
        QStringLiteral("Type the whole word and press Enter; the letters known so far show when it is empty."));
    // Round the window in reading order: the box, the clues, the answer and its
    // buttons, then the hint pages.
    QWidget* previous = sceneView_;
    for (QWidget* next : std::initializer_list<QWidget*>{
             clueTabs_, answerBox_, findChild<QPushButton*>(QStringLiteral("OkButton")),
             findChild<QPushButton*>(QStringLiteral("ClearButton")),
             findChild<QPushButton*>(QStringLiteral("GiveUpButton")), quoteTabs_}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void CMirelDlg::OnCellClicked(int32_t cell)
{
    if (!app_.gameInPlay)
        return;
    MoveCursor(ChooseCell(app_.cursor, app_.CurrentGame().At(cell)));
}

bool CMirelDlg::OnBoxKey(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    // Ctrl+Tab leaves the box, where Tab goes from entry to entry.
    if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) {
        const bool backwards = key.key() == Qt::Key_Backtab || key.modifiers().testFlag(Qt::ShiftModifier);
        if (modifiers == Qt::ControlModifier)
            return focusNextPrevChild(!backwards);
        // Without a game Tab goes on to the next control, as everywhere.
        if (modifiers != Qt::NoModifier || !app_.gameInPlay)
            return false;
        MoveCursor(NextEntry(app_.CurrentGame(), app_.cursor, backwards));
        return true;
    }
    if (modifiers != Qt::NoModifier || !app_.gameInPlay || !app_.cursor.cell)
        return false;
    constexpr std::array<std::pair<int, Arrow>, 4> kArrows = {{
        {Qt::Key_Left, Arrow::kLeft},
        {Qt::Key_Right, Arrow::kRight},
        {Qt::Key_Up, Arrow::kUp},
        {Qt::Key_Down, Arrow::kDown},
    }};
    BoxCursor cursor = app_.cursor;
    bool changed = false;
    const PlayState before = CapturePlay(app_.CurrentGame());
    const auto arrow =
        std::find_if(kArrows.begin(), kArrows.end(), [&key](const auto& pair) { return pair.first == key.key(); });
    if (arrow != kArrows.end()) {
        cursor = MoveArrow(cursor, arrow->second);
    } else if (key.key() == Qt::Key_Space) {
        cursor = SwitchDirection(cursor);
    } else if (key.key() == Qt::Key_Backspace) {
        changed = EraseBackward(cursor, &app_);
    } else if (key.key() == Qt::Key_Delete) {
        changed = EraseAtCursor(cursor, &app_);
    } else {
        const QString text = key.text();
        const char16_t typed = text.size() == 1 ? text.at(0).unicode() : u'\0';
        if (typed > 0x7F || !IsAsciiLetter(static_cast<char>(typed)))
            return false;
        changed = TypeLetter(cursor, static_cast<uint8_t>(ToUpperAscii(static_cast<char>(typed)) - 64), &app_);
    }
    if (changed) {
        // The letters typed into one entry without leaving it are one step.
        if (typedEntry_ != CursorEntry(app_.cursor)) {
            typedEntry_ = CursorEntry(app_.cursor);
            ++typingRun_;
        }
        PushPlay(QStringLiteral("Typing"), before, typingRun_);
    }
    MoveCursor(cursor);
    if (changed) {
        UpdateProgress();
        if (const Entry* entry = CursorEntry(app_.cursor))
            ShowAnswer(*entry);
    }
    return true;
}

void CMirelDlg::MoveCursor(const BoxCursor& cursor)
{
    app_.cursor = cursor;
    Entry* entry = CursorEntry(cursor);
    if (entry != typedEntry_)
        typedEntry_ = nullptr;
    if (entry != app_.selectedEntry) {
        app_.selectedEntry = entry;
        RefreshSelection();
        return;
    }
    MarkSelection(app_.CurrentGame(), app_.cursor);
}

void CMirelDlg::ShowAnswer(const Entry& entry)
{
    const std::string letters = PlayerText(entry);
    QString known;
    for (const char letter : letters) {
        if (!known.isEmpty())
            known += QLatin1Char(' ');
        known += letter == ' ' ? QLatin1Char('_') : QLatin1Char(letter);
    }
    answerBox_->setPlaceholderText(known);
    answerBox_->setText(IsFilled(entry) ? ToWide(letters) : QString());
}

void CMirelDlg::ShowAbout()
{
    CAboutDlg about(this);
    about.exec();
}

} // namespace pelorin
