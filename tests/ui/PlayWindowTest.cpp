#include "ui/kit/WindowKit.h"

#include "app/Session.h"
#include "app/TextConvert.h"
#include "foundation/TextUtil.h"
#include "game/GameFile.h"
#include "game/PuzzleCode.h"
#include "ui/PuzzleCodeDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QApplication>
#include <QTest>

#include <filesystem>

namespace pelorin {

using Answer = Prompter::Answer;
namespace fs = std::filesystem;

class PlayWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        settings_ = std::make_unique<test::TestSettings>();
        rig_ = std::make_unique<test::WindowRig>();
        QVERIFY(rig_->Start());
    }
    void cleanup()
    {
        rig_.reset();
        settings_.reset();
    }

    void undoesChecksAndSaysWhenSolved();
    void bringsBackTheGameOfTheLastRun();
    void makesThePuzzleOfATypedCode();

private:
    QString Text(const char* name) { return rig_->Find<QLabel>(QLatin1String(name))->text(); }
    void Keys(QKeyCombination keys)
    {
        rig_->Window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig_->Window()));
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : &rig_->Window(), keys.key(), keys.keyboardModifiers());
    }
    void Type(const QString& answer)
    {
        auto* box = rig_->Find<QLineEdit>(QStringLiteral("AnswerBox"));
        box->clear();
        QTest::keyClicks(box, answer);
        QTest::keyClick(box, Qt::Key_Return);
    }

    std::unique_ptr<test::TestSettings> settings_;
    std::unique_ptr<test::WindowRig> rig_;
};

// Undo and redo of a typed answer and of Give Up, with the keys, back to the saved
// game (unmodified again); a check marks a wrong answer in the list and the status
// bar until its letters change; Finish solves the grid and the end is said once.
void PlayWindowTest::undoesChecksAndSaysWhenSolved()
{
    AppData& app = rig_->App();
    QVERIFY(rig_->TakeKnownGame());
    Entry& across = *app.CurrentGame().Across().At(0);
    rig_->prompter.files = {QString::fromStdString(app.GamesFolder() + "/Undo.zag")};
    QVERIFY(rig_->ClickStrip(2));
    QVERIFY(!app.modified);
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
    QCOMPARE(PlayerText(across), std::string(static_cast<size_t>(across.cells.Count()), ' '));
    QVERIFY(!app.modified);
    QCOMPARE(Text("WrongPane"), QString());
    QCOMPARE(list->item(0)->background(), plain);
    Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    QCOMPARE(PlayerText(across), wrong);
    QVERIFY(app.modified);
    QCOMPARE(Text("WrongPane"), marked);

    QTest::mouseClick(rig_->Find<QPushButton>(QStringLiteral("GiveUpButton")), Qt::LeftButton);
    QCOMPARE(Text("WrongPane"), QString());
    Keys(Qt::CTRL | Qt::Key_Z);
    QCOMPARE(across.givenUp, 0);
    Keys(Qt::CTRL | Qt::Key_Y);
    QCOMPARE(across.givenUp, 1);
    QCOMPARE(PlayerText(across), TextOf(across.text));

    rig_->prompter.answers = {Answer::Yes};
    QVERIFY(rig_->ClickStrip(4));
    const QStringList said = rig_->prompter.TakeTexts();
    QCOMPARE(said.size(), 2);
    QVERIFY2(QRegularExpression(QStringLiteral("^Solved! Time taken: 0:0\\d\\. Entries given up: %1\\.$")
                                    .arg(CountGivenUp(app.CurrentGame())))
                 .match(said[1])
                 .hasMatch(),
             qPrintable(said[1]));
    Keys(Qt::CTRL | Qt::Key_Z);
    Keys(Qt::CTRL | Qt::Key_Y);
    QVERIFY(rig_->prompter.TakeTexts().isEmpty());
}

// The game in play is kept within about a second and at the end, and the next
// start brings it back with its entry and flags; a game dropped with No on close
// is not, and a kept game that does not read is set aside with one message.
void PlayWindowTest::bringsBackTheGameOfTheLastRun()
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
    QVERIFY(back.gameInPlay);
    QVERIFY(back.modified);
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

// Game, Puzzle Code... makes the puzzle of a typed code (the game the core makes
// from it) and then shows its code; a code of another edition is refused in the
// dialog, which stays open.
void PlayWindowTest::makesThePuzzleOfATypedCode()
{
    AppData& app = rig_->App();
    const Style& style = *app.Styles().At(0);
    PuzzleCode code;
    Game expected;
    const std::atomic<bool> keepRunning{true};
    for (uint32_t seed = 1; seed < 20 && code.style.empty(); ++seed)
        if (FillFromSeed(expected, style, 0, seed, keepRunning))
            code = CodeOf(style, 0, seed);
    QVERIFY(!code.style.empty());
    const std::string expectedPath = JoinPath(app.GamesFolder(), "expected.zag");
    QVERIFY(SaveGame(expectedPath, expected));

    QString refusal;
    test::WhenModal(this, [&](QWidget* dialog) {
        auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("TypedCode"));
        QTest::keyClicks(typed, ToWide(FormatCode({code.style, static_cast<uint16_t>(code.stamp ^ 1u), 0, 5})));
        QTest::keyClick(typed, Qt::Key_Return);
        refusal = dialog->findChild<QLabel*>(QStringLiteral("Refusal"))->text();
        typed->setText(ToWide(FormatCode(code)));
        QTest::keyClick(typed, Qt::Key_Return);
    });
    test::ActionOf(rig_->Window(), QStringLiteral("Puzzle &Code..."))->trigger();
    QVERIFY2(refusal.contains(QStringLiteral("another version of the style A")), qPrintable(refusal));
    QCOMPARE(app.currentCode, FormatCode(code));
    QVERIFY(app.gameInPlay);
    const std::string madePath = JoinPath(app.GamesFolder(), "made.zag");
    QVERIFY(SaveGame(madePath, app.CurrentGame()));
    QCOMPARE(test::FileBytes(madePath), test::FileBytes(expectedPath));

    QString shown;
    test::WhenModal(this, [&](QWidget* dialog) {
        shown = dialog->findChild<QLineEdit*>(QStringLiteral("CurrentCode"))->text();
        test::ButtonOf(*dialog, QStringLiteral("Cancel"))->click();
    });
    test::ActionOf(rig_->Window(), QStringLiteral("Puzzle &Code..."))->trigger();
    QCOMPARE(shown, ToWide(FormatCode(code)));
}

} // namespace pelorin

QTEST_MAIN(pelorin::PlayWindowTest)
#include "PlayWindowTest.moc"
