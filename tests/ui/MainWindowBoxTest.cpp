// The box in the game window, drawn with OpenGL (the build runs this test under a virtual X server): the current
// game's cubes drawn by the window's timer, a game played on the box with a click and the keys, the box turned with
// the mouse, and the view kept from one game to the next.

#include "ui/kit/WindowKit.h"

#include "game/BoxCursor.h"
#include "scene/GridScene.h"
#include "scene/MainDisplayType.h"
#include "scene/kit/SceneKit.h"
#include "scene/SceneRenderer.h"
#include "support/KeepLibraries.h"
#include "ui/CommandIds.h"

#include <QOpenGLWidget>

namespace pelorin {

class MainWindowBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanupTestCase() { test::KeepLibrariesLoaded(); }

    // A click on a cube of an entry that is not selected selects it and takes the keys from the answer box: the clue
    // list shows it, the cursor's cube turns warm, and the answer box shows what is known. Typing its word on the box
    // completes it; a wrong letter checked tints its cube rose. A drag turns the box, and another game is seen from
    // where it was left, with the cursor afresh on the first entry's first empty cell.
    void playsOnTheBoxAndKeepsItsView()
    {
        test::TestSettings settings;
        test::WindowRig rig;
        QVERIFY(rig.Start());
        QVERIFY(rig.startTexts.isEmpty());
        auto* view = rig.Find<MainDisplayType>(QStringLiteral("Main"));
        QVERIFY(view && view->Renderer() && view->Canvas());
        QCOMPARE(view->geometry(), QRect(4, 28, 475, 437));
        SceneRenderer& renderer = *view->Renderer();
        QOpenGLWidget& canvas = *view->Canvas();
        // The timer draws every change of the game: a new game's cubes appear.
        QVERIFY(rig.TakeKnownGame());
        QTRY_VERIFY(renderer.CubesBuilt() > 0);
        const int64_t built = renderer.CubesBuilt();
        // Face 0 is square on at the start; its row 2 holds an Across entry from column 3.
        Game& game = rig.App().CurrentGame();
        Entry& entry = *game.At(0, 3, 2).acrossEntry;
        const auto onScreen = [&](const Cell& cell) { // the middle of its outward side
            const CellCentre c = CellPosition(0, cell.column, cell.row);
            return test::OnScreen(renderer.camera, c.x - 0.5, c.y, c.z, canvas.size()).toPoint();
        };
        const auto pixel = [&](QPoint at) { return canvas.grabFramebuffer().pixel(at + QPoint(14, 14)); };
        const QPoint inCanvas = onScreen(game.At(0, 3, 2));
        const QRgb plain = pixel(inCanvas);
        rig.Window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.Window()));
        QTest::mouseClick(view, Qt::LeftButton, {}, inCanvas + canvas.pos());
        QVERIFY(view->hasFocus());
        QCOMPARE(rig.App().selectedEntry, &entry);
        QCOMPARE(rig.Find<QListWidget>(QStringLiteral("AcrossList"))->currentRow(), static_cast<int>(entry.index));
        auto* answer = rig.Find<QLineEdit>(QStringLiteral("AnswerBox"));
        QCOMPARE(answer->placeholderText(), QStringLiteral("_ _ _ _ _"));
        // The cursor cube turns a warm colour: less blue than red, where it was grey.
        QVERIFY(qAbs(qRed(plain) - qBlue(plain)) < 16);
        QTRY_VERIFY(qRed(pixel(inCanvas)) - qBlue(pixel(inCanvas)) > 60);
        const QString progress = rig.Find<QLabel>(QStringLiteral("ProgressPane"))->text();
        QTest::keyClicks(view, ToWide(TextOf(entry.text)).toLower());
        QCOMPARE(PlayerText(entry), TextOf(entry.text));
        QVERIFY(rig.Find<QLabel>(QStringLiteral("ProgressPane"))->text() != progress);
        QVERIFY(rig.App().modified);
        QCOMPARE(answer->text(), ToWide(PlayerText(entry)));
        // A wrong last letter, checked: once the cursor has gone on to the next entry of
        // the list (Tab), its cube is tinted rose, where a plain cube is grey.
        const Cell& last = *entry.cells.At(entry.cells.Count() - 1);
        QTest::keyClick(view, Qt::Key_Backspace);
        QTest::keyClick(view, LetterChar(last.letter) == 'Q' ? 'x' : 'q');
        rig.Window().OnCommand(kCmdCheckEntry);
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(rig.App().selectedEntry, game.Across().At(entry.index + 1));
        const QPoint wrong = onScreen(last);
        QTRY_VERIFY(qRed(pixel(wrong)) - qBlue(pixel(wrong)) > 40);
        QVERIFY(qAbs(qGreen(pixel(wrong)) - qBlue(pixel(wrong))) < 16);
        // The cursor inside the first entry; a left drag from beside the box turns it.
        for (int back = 0; back < 100 && rig.App().selectedEntry != game.Across().At(0); ++back)
            QTest::keyClick(view, Qt::Key_Backtab);
        QTest::keyClick(view, Qt::Key_Right);
        QCOMPARE(rig.App().selectedEntry, game.Across().At(0));
        QVERIFY(rig.App().cursor != CursorAt(game.Across().At(0)));
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(10, 200));
        for (int x = 10; x <= 110; x += 10)
            QTest::mouseMove(view, QPoint(x, 200));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(110, 200));
        const float yaw = renderer.camera.yaw;
        QVERIFY(std::abs(yaw - (OrbitCamera::kStartYaw + 100 / 658.0f)) < 1e-6f);
        // Another game opened (the same game, as it happens): all its cubes built anew,
        // and, with the box not turned to the selected entry, seen from the same side.
        test::ActionOf(rig.Window(), QStringLiteral("&Turn to the Selected Entry"))->setChecked(false);
        const std::string saved = rig.root.Root() + "saved.zag";
        test::WriteKnownGame(saved);
        rig.prompter.answers.push_back(Prompter::Answer::No);
        rig.prompter.files.push_back(QString::fromStdString(saved));
        const int64_t before = renderer.CubesBuilt();
        rig.Window().OnCommand(kCmdOpen);
        QCOMPARE(rig.App().selectedEntry, game.Across().At(0));
        QCOMPARE(rig.App().cursor, CursorAt(game.Across().At(0)));
        QTRY_COMPARE(renderer.CubesBuilt(), before + built);
        QCOMPARE(renderer.camera.yaw, yaw);
    }
};

} // namespace pelorin

QTEST_MAIN(pelorin::MainWindowBoxTest)
#include "MainWindowBoxTest.moc"
