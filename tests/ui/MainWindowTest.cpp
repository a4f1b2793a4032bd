#include "ui/kit/WindowKit.h"

#include "app/Session.h"
#include "app/Settings.h"
#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
#include "game/GameFile.h"
#include "game/PuzzleCode.h"
#include "scene/MenuDisplayType.h"
#include "scene/StripPictures.h"
#include "ui/CommandIds.h"
#include "ui/GameDialog.h"
#include "ui/PuzzleCodeDialog.h"
#include "ui/StyleListDialog.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>

#include <filesystem>
#include <thread>

namespace pelorin {

using test::KnownGame;
using test::Lines;
using Answer = Prompter::Answer;
namespace fs = std::filesystem;

const QString kSaveQuestion = QStringLiteral("Do you want to save the changes to this game ?");

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSettings> settings_;
    std::unique_ptr<test::WindowRig> rig_;
    QString Text(const char* name) { return rig_->Find<QLabel>(QLatin1String(name))->text(); }
    QLineEdit* AnswerBox() { return rig_->Find<QLineEdit>(QStringLiteral("AnswerBox")); }
    void Click(const char* button) { QTest::mouseClick(rig_->Find<QPushButton>(QLatin1String(button)), Qt::LeftButton); }
    void Keys(QKeyCombination keys)
    {
        rig_->Window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig_->Window()));
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : &rig_->Window(), keys.key(), keys.keyboardModifiers());
    }
    void Type(const QString& answer)
    {
        AnswerBox()->clear();
        QTest::keyClicks(AnswerBox(), answer);
        QTest::keyClick(AnswerBox(), Qt::Key_Return);
    }

private Q_SLOTS:
    void init()
    {
        settings_ = std::make_unique<test::TestSettings>();
        rig_ = std::make_unique<test::WindowRig>();
        QVERIFY(rig_->Start());
    }
    void cleanup() { rig_.reset(); settings_.reset(); }

    // A game as a player plays it: taken from the cache, answered, given up, saved,
    // reopened and closed. The test platform has no OpenGL: the window says so once as it
    // starts, and the game is played without the box. F1 opens the help's contents.
    void playsAWholeGame()
    {
        QCOMPARE(rig_->startTexts, QStringList{QStringLiteral("Cannot initialise OpenGL graphics. Code=1.0")});
        // The layout is fixed-size: Minimise and Close, no Maximise, no stretching.
        const Qt::WindowFlags flags = rig_->Window().windowFlags();
        QVERIFY((flags & Qt::WindowMinimizeButtonHint) && (flags & Qt::WindowCloseButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(rig_->Window().minimumSize(), rig_->Window().maximumSize());
        Keys(Qt::Key_F1);
        QCOMPARE(test::OpenWindows<HelpWindow>().size(), 1);
        QCOMPARE(test::OpenWindows<HelpWindow>()[0]->Page().fileName(), QStringLiteral("contents.htm"));
        AppData& app = rig_->App();
        auto* strip = rig_->Find<MenuDisplayType>(QStringLiteral("Menu"));
        for (int button = 2; button <= 5; ++button)
            QVERIFY(!strip->Button(button).enabled);
        // Before any game OK, Enter, Clear and Give Up have no entry to work on.
        Type(QStringLiteral("cat"));
        for (const char* button : {"OkButton", "ClearButton", "GiveUpButton"})
            Click(button);
        QVERIFY(rig_->prompter.asked.empty());
        QVERIFY(!app.modified);
        QCOMPARE(Text("ProgressPane"), QStringLiteral("0/0 (0.00%) Complete"));
        QCOMPARE(Text("GivenUpPane"), QStringLiteral("0 Given Up"));
        // The new game shows its first Across entry, its clues and its hints.
        QVERIFY(rig_->TakeKnownGame());
        Game& game = app.CurrentGame();
        Entry* across = game.Across().At(0);
        Entry* down = game.Down().At(0);
        QCOMPARE(app.selectedEntry, across);
        auto* acrossList = rig_->Find<QListWidget>(QStringLiteral("AcrossList"));
        auto* downList = rig_->Find<QListWidget>(QStringLiteral("DownList"));
        QCOMPARE(acrossList->count(), game.Across().Count());
        QCOMPARE(acrossList->item(0)->text(),
                 QStringLiteral("%1. \t (plural) %2").arg(across->number).arg(KnownGame::kFirstDefinition));
        QCOMPARE(downList->item(0)->text(), QStringLiteral("%1. \t ?").arg(down->number)); // form 1 has no note
        QCOMPARE(std::pair(acrossList->currentRow(), downList->currentRow()), std::pair(0, -1));
        QCOMPARE(Lines(rig_->Find<QListWidget>(QStringLiteral("QuotesList"))),
                 QStringList({"1. \t Quote number 1.", "2. \t Quote number 2.", "3. \t Quote number 3."}));
        QCOMPARE(Lines(rig_->Find<QListWidget>(QStringLiteral("DefinitionsList"))),
                 QStringList({QStringLiteral("1. \t ") + KnownGame::kFirstDefinition,
                              QStringLiteral("2. \t ") + KnownGame::kSecondDefinition}));
        QCOMPARE(Text("ClueText"), QString::fromLatin1(KnownGame::kFirstDefinition));
        QTRY_VERIFY(strip->Button(5).enabled);
        // A right answer in any case fills the entry; a wrong length is refused.
        Type(ToWide(TextOf(across->text)).toLower());
        QVERIFY(IsFilled(*across) && app.modified && rig_->prompter.asked.empty());
        auto* clueTabs = rig_->Find<QTabWidget>(QStringLiteral("CluesTabCtrl"));
        QTest::mouseClick(clueTabs->tabBar(), Qt::LeftButton, {}, clueTabs->tabBar()->tabRect(1).center());
        QCOMPARE(app.selectedEntry, down);
        QCOMPARE(downList->currentRow(), 0);
        QCOMPARE(Text("ClueText"), QString()); // an entry without definitions has no clue to show
        Type(QStringLiteral("ab"));
        QCOMPARE(rig_->prompter.TakeTexts(),
                 QStringList{QStringLiteral("This word must have %1 characters").arg(down->cells.Count())});
        QVERIFY(!IsFilled(*down));
        // Give Up shows the solution and counts in both panes.
        Click("GiveUpButton");
        QCOMPARE(AnswerBox()->text(), ToWide(TextOf(down->text)));
        QCOMPARE(Text("GivenUpPane"), QStringLiteral("1 Given Up"));
        const int entries = game.Across().Count() + game.Down().Count();
        QCOMPARE(Text("ProgressPane"), QString::asprintf("3/%d (%0.2f%%) Complete", entries, 300.0 / entries));
        // Save As from the strip gives the game a file and a title.
        const QString path = QString::fromStdString(app.GamesFolder() + "/Week.zag");
        rig_->prompter.files = {path};
        QVERIFY(rig_->ClickStrip(2));
        QCOMPARE(rig_->Window().windowTitle(), QStringLiteral("Week.zag"));
        QVERIFY(!app.modified);
        const std::string downLetters = PlayerText(*down);
        // A change, then Ctrl+O: the save question first, then the file as it was saved.
        Click("ClearButton");
        QVERIFY(app.modified);
        rig_->prompter.answers = {Answer::No};
        rig_->prompter.files = {path};
        Keys(Qt::CTRL | Qt::Key_O);
        QCOMPARE(PlayerText(*game.Down().At(0)), downLetters);
        QVERIFY(!app.modified);
        // Closing with changes asks as Ctrl+O did; No closes and stores the last choices.
        Click("GiveUpButton");
        app.lastBlockId = 2;
        rig_->prompter.answers = {Answer::No};
        QVERIFY(rig_->Window().close());
        QCOMPARE(rig_->prompter.TakeTexts(), QStringList({kSaveQuestion, kSaveQuestion}));
        QCOMPARE(Settings().ReadDword("LastBlockId"), 2);
    }

    // Unsaved work is never lost without a question. A file that opens but is no game (the core tells which)
    // changes nothing and says so; one that cannot be opened at all is reported once, with its reason. A save that
    // did not happen keeps the game unsaved and the window open.
    void unsavedWorkIsNeverLost()
    {
        AppData& app = rig_->App();
        QVERIFY(rig_->TakeKnownGame());
        const std::string sound = rig_->root.CacheFile("sound.zag");
        QVERIFY(SaveGame(sound, app.CurrentGame()));
        const std::string damaged = app.GamesFolder() + "/damaged.zag";
        const std::string missing = app.GamesFolder() + "/missing.zag";
        test::WriteFileBytes(damaged, test::FileBytes(sound).substr(0, test::FileBytes(sound).size() / 2));
        const Entry* selected = app.selectedEntry;
        // Open, New, Exit and Close ask before unsaved changes go; Cancel keeps them.
        for (const uint32_t command : {kCmdOpen, kCmdNew, kCmdExit}) {
            rig_->prompter.answers = {Answer::Cancel};
            rig_->Window().OnCommand(command);
            QCOMPARE(rig_->prompter.TakeTexts(), QStringList{kSaveQuestion});
        }
        QCOMPARE(rig_->prompter.fileDialogs, 0);
        for (const std::string& path : {damaged, missing}) {
            rig_->prompter.answers = {Answer::No};
            rig_->prompter.files = {QString::fromStdString(path)};
            rig_->Window().OnCommand(kCmdOpen);
            const QStringList expected = {kSaveQuestion, path == missing ?
                QStringLiteral("Cannot open Game file (%1), error code (2)").arg(QString::fromStdString(path)) :
                QStringLiteral("Cannot open this game file.")};
            QCOMPARE(rig_->prompter.TakeTexts(), expected);
            QCOMPARE(app.selectedEntry, selected);
            QCOMPARE(rig_->Window().windowTitle(), QStringLiteral("Pelorin"));
            QVERIFY(app.currentFilePath.empty() && app.modified);
        }
        // Save asks for a file for a game without one, as Save As does; saving into a
        // folder that does not exist fails and leaves all as it was.
        rig_->prompter.files = {QString::fromStdString(rig_->root.Root() + "NoSuchFolder/week.zag")};
        rig_->Window().OnCommand(kCmdSave);
        QCOMPARE(rig_->prompter.TakeTexts(), QStringList{QStringLiteral("Cannot Open Game File")});
        QCOMPARE(rig_->Window().windowTitle(), QStringLiteral("Pelorin"));
        QVERIFY(app.currentFilePath.empty() && app.modified);
        // Close, Yes, and the save dialog cancelled: the window stays and nothing is shut down.
        rig_->prompter.answers = {Answer::Yes};
        QVERIFY(!rig_->Window().close());
        QCOMPARE(rig_->prompter.fileDialogs, 4); // two opens, Save, and this one
        QCOMPARE(rig_->prompter.lastFolder, QString::fromStdString(app.GamesFolder()));
        std::string stored;
        QVERIFY(!Settings().ReadString("LastBlockId", stored));
    }

    // A worker's message is handed to the user-interface thread and the worker goes on at once: that thread may be
    // waiting for the worker to end. A message that comes again while its box is up shows no second copy.
    void workerMessagesWaitForTheWindowThread()
    {
        rig_->prompter.whileAsking = [] { QTest::qWait(50); };
        std::thread([] {
            for (const char* text : {"Cannot Open Game File", "Cannot Open Game File", "Another", "Cannot Open Game File"})
                ShowMessage(text, "Error");
        }).join();
        QVERIFY(rig_->prompter.asked.empty());
        QTRY_COMPARE(rig_->prompter.asked, QStringList({QStringLiteral("Cannot Open Game File"), QStringLiteral("Another")}));
    }

    // Undo and redo of a typed answer and of Give Up, with the keys, back to the saved game (unmodified again); a
    // check marks a wrong answer in the list and the status bar until its letters change; Finish solves the grid,
    // the end is said once, and the finished game's progress fits its pane. Then New Game's game has no file: the
    // window is titled as at the start.
    void undoesChecksAndSaysWhenSolved()
    {
        AppData& app = rig_->App();
        QVERIFY(rig_->TakeKnownGame());
        Entry& across = *app.CurrentGame().Across().At(0);
        rig_->prompter.files = {QString::fromStdString(app.GamesFolder() + "/Undo.zag")};
        QVERIFY(rig_->ClickStrip(2));
        std::string wrong(TextOf(across.text));
        for (char& letter : wrong)
            letter = static_cast<char>('A' + (letter - 'A' + 1) % 26);
        const auto* list = rig_->Find<QListWidget>(QStringLiteral("AcrossList"));
        const QBrush plain = list->item(1)->background();
        Type(ToWide(wrong));
        Keys(Qt::CTRL | Qt::Key_E);
        const QString marked = QStringLiteral("%1 Wrong").arg(across.cells.Count());
        QCOMPARE(Text("WrongPane"), marked);
        QVERIFY(list->item(0)->background() != plain);
        Keys(Qt::CTRL | Qt::Key_Z);
        QVERIFY(!app.modified);
        QCOMPARE(Text("WrongPane"), QString());
        QCOMPARE(list->item(0)->background(), plain);
        Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        QCOMPARE(Text("WrongPane"), marked);
        Click("GiveUpButton");
        QCOMPARE(Text("WrongPane"), QString());
        Keys(Qt::CTRL | Qt::Key_Z);
        QCOMPARE(across.givenUp, 0);
        Keys(Qt::CTRL | Qt::Key_Y);
        QCOMPARE(across.givenUp, 1);
        rig_->prompter.answers = {Answer::Yes};
        QVERIFY(rig_->ClickStrip(4));
        const QStringList said = rig_->prompter.TakeTexts();
        QCOMPARE(said.size(), 2);
        const QRegularExpression solved(QStringLiteral("^Solved! Time taken: 0:0\\d\\. Entries given up: %1\\.$")
                                            .arg(CountGivenUp(app.CurrentGame())));
        QVERIFY2(solved.match(said[1]).hasMatch(), qPrintable(said[1]));
        Keys(Qt::CTRL | Qt::Key_Z);
        Keys(Qt::CTRL | Qt::Key_Y);
        QVERIFY(rig_->prompter.TakeTexts().isEmpty());
        auto* progress = rig_->Find<QLabel>(QStringLiteral("ProgressPane"));
        QVERIFY(progress->text().contains(QStringLiteral("(100.00%) Complete")));
        // A framed label sets its text in by half an x.
        const QFontMetrics metrics = progress->fontMetrics();
        QVERIFY(metrics.horizontalAdvance(progress->text()) + metrics.horizontalAdvance(QLatin1Char('x')) / 2 <=
                progress->contentsRect().width());
        test::WhenModal(this, [](QWidget* dialog) {
            QTest::mouseClick(test::ButtonOf(*dialog, QStringLiteral("OK")), Qt::LeftButton);
        });
        rig_->Window().OnCommand(kCmdSave); // unmodified: New Game asks nothing
        QVERIFY(rig_->ClickStrip(0));
        QTRY_VERIFY(test::OpenWindows<GameDialog>().isEmpty());
        QCOMPARE(rig_->Window().windowTitle(), QStringLiteral("Pelorin"));
        QVERIFY(app.currentFilePath.empty() && app.modified && app.gameInPlay);
    }

    // The game in play is kept within about a second and at the end, and the next
    // start brings it back with its entry and flags; a game dropped with No on close
    // is not, and a kept game that does not read is set aside with one message.
    void bringsBackTheGameOfTheLastRun()
    {
        AppData& app = rig_->App();
        QVERIFY(rig_->TakeKnownGame());
        Entry& down = *app.CurrentGame().Down().At(1);
        app.selectedEntry = &down;
        Type(ToWide(TextOf(down.text)));
        const std::string state = JoinPath(app.SessionFolder(), "state.txt");
        QTRY_VERIFY_WITH_TIMEOUT(fs::exists(state), 3000);
        // The next run's folder gets this run's kept game, as if it had crashed here.
        test::WindowRig next;
        fs::copy(app.SessionFolder(), JoinPath(next.root.Root(), kSessionFolder));
        rig_->prompter.answers = {Answer::No};
        QVERIFY(rig_->Window().close());
        QVERIFY(!fs::exists(state));
        QVERIFY(next.Start());
        AppData& back = next.App();
        QVERIFY(back.gameInPlay && back.modified);
        QCOMPARE(back.selectedEntry, back.CurrentGame().Down().At(1));
        QCOMPARE(PlayerText(*back.selectedEntry), TextOf(down.text));
        QCOMPARE(next.Find<QListWidget>(QStringLiteral("DownList"))->currentRow(), 1);
        QVERIFY(next.prompter.asked.isEmpty());
        test::WindowRig damaged;
        fs::create_directories(JoinPath(damaged.root.Root(), kSessionFolder));
        test::WriteFileBytes(JoinPath(damaged.root.Root(), "Session/state.txt"), "pelorin-session 1\ngarbage\n");
        QVERIFY(damaged.Start());
        QCOMPARE(damaged.prompter.asked.size(), 1);
        QVERIFY2(damaged.prompter.asked[0].startsWith(
                     QStringLiteral("The game in play when Pelorin last ended could not be read. It was set aside as ")),
                 qPrintable(damaged.prompter.asked[0]));
        QVERIFY(!damaged.App().gameInPlay);
    }

    // Game, Puzzle Code... makes the puzzle of a typed code (which game the core makes of a code is its own tests'
    // business) and then shows its code; a code of another edition is refused in the dialog, which stays open.
    void makesThePuzzleOfATypedCode()
    {
        AppData& app = rig_->App();
        const PuzzleCode code = CodeOf(*app.Styles().At(0), 0, 1); // the test words fill pattern 0 from seed 1
        QString refusal;
        test::WhenModal(this, [&](QWidget* dialog) {
            auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("TypedCode"));
            QTest::keyClicks(typed, ToWide(FormatCode({code.style, static_cast<uint16_t>(code.stamp ^ 1u), 0, 5})));
            QTest::keyClick(typed, Qt::Key_Return);
            refusal = dialog->findChild<QLabel*>(QStringLiteral("Refusal"))->text();
            typed->setText(ToWide(FormatCode(code)));
            QTest::keyClick(typed, Qt::Key_Return);
        });
        QAction* puzzleCode = test::ActionOf(rig_->Window(), QStringLiteral("Puzzle &Code..."));
        puzzleCode->trigger();
        QVERIFY2(refusal.contains(QStringLiteral("another version of the style A")), qPrintable(refusal));
        QCOMPARE(app.currentCode, FormatCode(code));
        QVERIFY(app.gameInPlay && app.CurrentGame().Across().Count() > 0);
        QString shown;
        test::WhenModal(this, [&](QWidget* dialog) {
            shown = dialog->findChild<QLineEdit*>(QStringLiteral("CurrentCode"))->text();
            test::ButtonOf(*dialog, QStringLiteral("Cancel"))->click();
        });
        puzzleCode->trigger();
        QCOMPARE(shown, ToWide(FormatCode(code)));
    }

    // Tools, Style Editor and the strip's last button open the style manager, once however fast the button is
    // pressed twice.
    void opensTheStyleManager()
    {
        QStringList opened;
        auto closeManager = [&] {
            test::WhenModal(this, [&](QWidget*) {
                for (StyleListDialog* open : test::OpenWindows<StyleListDialog>()) {
                    opened << open->windowTitle();
                    open->close();
                }
            });
        };
        closeManager();
        QAction* editor = test::ActionOf(rig_->Window(), QStringLiteral("Style &Editor"));
        QVERIFY(editor && editor->isEnabled());
        editor->trigger();
        QTRY_COMPARE(opened.size(), 1);
        closeManager();
        QVERIFY(rig_->ClickStrip(kStripButtonCount - 1, 2));
        QTRY_COMPARE(opened, QStringList({QStringLiteral("Styles"), QStringLiteral("Styles")}));
    }

    // Last: it starts a process, and ThreadSanitizer ends a program that starts threads after it forked. Game,
    // Export PDF... prints the game in play, with the solution when the dialog's check box asks for it; a file that
    // cannot be written is reported with its path.
    void exportsThePuzzleToPdfFromTheGameMenu()
    {
        QAction* exportPdf = test::ActionOf(rig_->Window(), QStringLiteral("Export &PDF..."));
        QVERIFY(exportPdf && !exportPdf->isEnabled());
        QVERIFY(rig_->TakeKnownGame());
        QTRY_VERIFY(exportPdf->isEnabled());
        const auto run = [](const QString& program, const QStringList& arguments) {
            QProcess process;
            process.start(program, arguments);
            process.waitForFinished();
            return QString::fromUtf8(process.readAllStandardOutput());
        };
        const QString pdf = QString::fromStdString(rig_->App().GamesFolder() + "/Week.pdf");
        rig_->prompter.files = {pdf};
        rig_->prompter.exportSolution = true;
        exportPdf->trigger();
        QVERIFY(run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
        const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
        QVERIFY2(text.contains(QStringLiteral("(plural) ") + QLatin1String(KnownGame::kFirstDefinition)), qPrintable(text));
        const QString unwritable = QString::fromStdString(rig_->App().GamesFolder() + "/gone/Week.pdf");
        rig_->prompter.files = {unwritable};
        exportPdf->trigger();
        QCOMPARE(rig_->prompter.TakeTexts(),
                 QStringList{QStringLiteral("Cannot write %1: No such file or directory").arg(unwritable)});
    }
};

} // namespace pelorin

QTEST_MAIN(pelorin::MainWindowTest)
#include "MainWindowTest.moc"
