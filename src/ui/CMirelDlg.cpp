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
#include "ui/Prompter.h"
#include "ui/QuotesTabCtrl.h"
#include "ui/StyleListDialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>

#include <array>
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
    game->addSeparator();
    AddCommand(game, QStringLiteral("&Save\tCtrl-S"), kCmdSave)->setShortcut(QKeySequence::Save);
    AddCommand(game, QStringLiteral("Save &As..."), kCmdSaveAs);
    exportAction_ = AddCommand(game, QStringLiteral("Export &PDF..."), kCmdExportPdf);
    exportAction_->setEnabled(false);
    game->addSeparator();
    AddCommand(game, QStringLiteral("E&xit"), kCmdExit);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    AddCommand(tools, QStringLiteral("Style &Editor"), kCmdStyleEditor);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    AddCommand(help, QStringLiteral("Contents"), kCmdHelpContents);
    AddCommand(help, QStringLiteral("Tutorial"), kCmdTutorial);
    help->addSeparator();
    AddCommand(help, QStringLiteral("About"), kCmdAbout);

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
    if (event->type() == StripCommandEvent::Type()) {
        OnCommand(static_cast<StripCommandEvent*>(event)->CommandId());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMirelDlg::OnCommand(uint32_t id)
{
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
    const Entry* entry = app_.selectedEntry;
    quoteTabs_->Fill(entry);
    if (!entry)
        return;
    if (entry->definitions.Count() > 0)
        ShowClue(*clueText_, ToWide(ClueText(*entry)));
    answerBox_->setText(IsFilled(*entry) ? ToWide(PlayerText(*entry)) : QString());
}

void CMirelDlg::RefreshCluePages()
{
    clueTabs_->Fill();
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
    dialog.exec();
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
    app_.modified = false;
    app_.selectedEntry = app_.CurrentGame().Across().At(0);
    RefreshCluePages();
    RefreshSelection();
    UpdateProgress();
}

void CMirelDlg::Save()
{
    // A game without a file is given one by Save As.
    if (!app_.currentFilePath.empty())
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
    if (!app_.modified)
        return true;
    const Prompter::Answer answer =
        prompter_.Ask(this, QStringLiteral("Do you want to save the changes to this game ?"), kCaption,
                      Prompter::Buttons::YesNoCancel, Prompter::Icon::Exclamation);
    switch (answer) {
    case Prompter::Answer::Yes:
        return app_.currentFilePath.empty() ? SaveAs() : SaveTo(app_.currentFilePath);
    case Prompter::Answer::No:
        return true;
    default:
        return false;
    }
}

void CMirelDlg::Exit()
{
    // Ends the run at once, as the window's close does not: no shut-down, so the
    // last choices are not stored. The workers still stop with the application data.
    if (MaybeSave())
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
    app_.ShutDown();
    event->accept();
}

// Answer entry.

void CMirelDlg::CheckAnswer()
{
    Entry* entry = app_.selectedEntry;
    if (!entry)
        return;
    if (EnterAnswer(*entry, ToNarrow(answerBox_->text())))
        app_.modified = true;
    else
        prompter_.Ask(this, ToWide(Format("This word must have %ld characters", static_cast<long>(entry->cells.Count()))),
                      kCaption, Prompter::Buttons::Ok, Prompter::Icon::None);
    UpdateProgress();
}

void CMirelDlg::ClearEntry()
{
    Entry* entry = app_.selectedEntry;
    if (!entry)
        return;
    app_.modified = true;
    EraseEntry(*entry);
    RefreshSelection();
}

void CMirelDlg::GiveUpEntry()
{
    Entry* entry = app_.selectedEntry;
    if (!entry)
        return;
    app_.modified = true;
    GiveUp(*entry);
    UpdateProgress();
    // The answer box shows the solution given.
    RefreshSelection();
}

void CMirelDlg::RevealAllEntries()
{
    if (!Confirm(QStringLiteral("All words will be revealed. Are you sure ?")))
        return;
    RevealAll(app_.CurrentGame(), &app_);
    UpdateProgress();
    RefreshSelection();
}

void CMirelDlg::ClearAllEntries()
{
    if (!Confirm(QStringLiteral("This will clear all user entry leaving all cells blank. Are you sure ?")))
        return;
    ClearAll(app_.CurrentGame(), &app_);
    RefreshSelection();
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

void CMirelDlg::ShowAbout()
{
    CAboutDlg about(this);
    about.exec();
}

} // namespace pelorin
