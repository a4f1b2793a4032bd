// The box in the game window, drawn with OpenGL (the build runs this test under a
// virtual X server): the current game's cubes drawn by the window's timer, turned
// with the mouse, the view kept from one game to the next, and a game played on
// the box with a click and the keys.

#include "ui/kit/WindowKit.h"

#include "game/BoxCursor.h"
#include "game/GameFile.h"
#include "scene/GridScene.h"
#include "scene/MainDisplayType.h"
#include "scene/OrbitCamera.h"
#include "scene/SceneRenderer.h"
#include "support/KeepLibraries.h"
#include "ui/CommandIds.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QOpenGLWidget>
#include <QTest>

namespace pelorin {

class MainWindowBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanupTestCase() { test::KeepLibrariesLoaded(); }
    void boxShowsTheGameAndKeepsItsView();
    void clickAndTypeOnTheBox();
};

void MainWindowBoxTest::boxShowsTheGameAndKeepsItsView()
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
    const QImage before = canvas.grabFramebuffer();

    // The timer draws every change of the game: a new game's cubes appear.
    QVERIFY(rig.TakeKnownGame());
    QTRY_VERIFY(renderer.CubesBuilt() > 0);
    const int64_t built = renderer.CubesBuilt();
    QVERIFY(canvas.grabFramebuffer() != before);

    // A left drag turns the box, and the next game is seen from where it was left.
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 200));
    for (int x = 100; x <= 200; x += 10)
        QTest::mouseMove(view, QPoint(x, 200));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(200, 200));
    const float yaw = renderer.camera.yaw;
    QVERIFY(std::abs(yaw - (OrbitCamera::kStartYaw + 100 / 658.0f)) < 1e-6f);
    const std::string saved = rig.root.Root() + "saved.zag";
    test::WriteKnownGame(saved);
    QVERIFY(OpenGame(saved, rig.App().CurrentGame()));
    QTRY_COMPARE(renderer.CubesBuilt(), 2 * built);
    QCOMPARE(renderer.camera.yaw, yaw);
}

// A player clicks a cube of an entry that is not selected: the entry becomes the
// selected one, the clue list shows it, its cubes are marked on the screen, and the
// answer box shows what is known. Typing its word on the box completes it.
void MainWindowBoxTest::clickAndTypeOnTheBox()
{
    test::TestSettings settings;
    test::WindowRig rig;
    QVERIFY(rig.Start());
    QVERIFY(rig.TakeKnownGame());
    auto* view = rig.Find<MainDisplayType>(QStringLiteral("Main"));
    SceneRenderer& renderer = *view->Renderer();
    QOpenGLWidget& canvas = *view->Canvas();
    QTRY_VERIFY(renderer.CubesBuilt() > 0);

    // Face 0 is square on at the start; its row 2 holds an Across entry from column
    // 3. The middle of that cube's outward side, on the screen:
    Game& game = rig.App().CurrentGame();
    Entry& entry = *game.At(0, 3, 2).acrossEntry;
    const Matrix4 m = ViewProjection(renderer.camera);
    // A point near the corner of the outward side of a cube of face 0, on the screen.
    const auto onScreen = [&](const Cell& cell) {
        const CellCentre centre = CellPosition(0, cell.column, cell.row);
        const std::array<float, 3> side = {static_cast<float>(centre.x) - 0.5f, static_cast<float>(centre.y),
                                           static_cast<float>(centre.z)};
        const auto clip = [&](size_t k) { return side[0] * m[k] + side[1] * m[4 + k] + side[2] * m[8 + k] + m[12 + k]; };
        return QPoint(static_cast<int>((clip(0) / clip(3) + 1.0f) / 2.0f * static_cast<float>(canvas.width())),
                      static_cast<int>((1.0f - clip(1) / clip(3)) / 2.0f * static_cast<float>(canvas.height())));
    };
    const QPoint inCanvas = onScreen(game.At(0, 3, 2));
    const QRgb plain = canvas.grabFramebuffer().pixel(inCanvas + QPoint(14, 14));

    QTest::mouseClick(view, Qt::LeftButton, {}, inCanvas + canvas.pos());
    QCOMPARE(rig.App().selectedEntry, &entry);
    QCOMPARE(rig.Find<QListWidget>(QStringLiteral("AcrossList"))->currentRow(), static_cast<int>(entry.index));
    auto* answer = rig.Find<QLineEdit>(QStringLiteral("AnswerBox"));
    QCOMPARE(answer->placeholderText(), QStringLiteral("_ _ _ _ _"));
    // The cursor cube turns a warm colour: less blue than red, where it was grey.
    QVERIFY(qAbs(qRed(plain) - qBlue(plain)) < 16);
    QTRY_VERIFY(qRed(canvas.grabFramebuffer().pixel(inCanvas + QPoint(14, 14))) -
                    qBlue(canvas.grabFramebuffer().pixel(inCanvas + QPoint(14, 14))) > 60);

    auto* progress = rig.Find<QLabel>(QStringLiteral("ProgressPane"));
    const QString before = progress->text();
    QTest::keyClicks(view, QString::fromStdString(std::string(TextOf(entry.text))).toLower());
    QCOMPARE(QString::fromStdString(PlayerText(entry)), QString::fromStdString(std::string(TextOf(entry.text))));
    QVERIFY(IsCorrect(entry));
    QVERIFY(progress->text() != before);
    QVERIFY(rig.App().modified);
    QCOMPARE(answer->text(), QString::fromStdString(PlayerText(entry)));
    QCOMPARE(rig.App().cursor, BoxCursor({entry.cells.At(entry.cells.Count() - 1), kAcross}));

    // A wrong last letter, checked: once the cursor has gone on to the next entry of
    // the list (Tab), its cube is tinted rose, where a plain cube is grey.
    const Cell& last = *entry.cells.At(entry.cells.Count() - 1);
    QTest::keyClick(view, Qt::Key_Backspace);
    QTest::keyClick(view, LetterChar(last.letter) == 'Q' ? 'x' : 'q');
    rig.Window().OnCommand(kCmdCheckEntry);
    QTest::keyClick(view, Qt::Key_Tab);
    QCOMPARE(rig.App().selectedEntry, game.Across().At(entry.index + 1));
    const QPoint wrong = onScreen(last) + QPoint(14, 14);
    QTRY_VERIFY(qRed(canvas.grabFramebuffer().pixel(wrong)) - qBlue(canvas.grabFramebuffer().pixel(wrong)) > 40);
    QVERIFY(qAbs(qGreen(canvas.grabFramebuffer().pixel(wrong)) - qBlue(canvas.grabFramebuffer().pixel(wrong))) < 16);

    // Another game opened (the same game, as it happens) while the cursor stands
    // inside the first entry: the cursor starts afresh on the first entry's first
    // empty cell.
    for (int back = 0; back < 100 && rig.App().selectedEntry != game.Across().At(0); ++back)
        QTest::keyClick(view, Qt::Key_Backtab);
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(rig.App().selectedEntry, game.Across().At(0));
    QVERIFY(rig.App().cursor != CursorAt(game.Across().At(0)));
    const std::string saved = rig.root.Root() + "saved.zag";
    test::WriteKnownGame(saved);
    rig.prompter.answers.push_back(Prompter::Answer::No);
    rig.prompter.files.push_back(QString::fromStdString(saved));
    rig.Window().OnCommand(kCmdOpen);
    QCOMPARE(rig.App().selectedEntry, game.Across().At(0));
    QCOMPARE(rig.App().cursor, CursorAt(game.Across().At(0)));
}

} // namespace pelorin

QTEST_MAIN(pelorin::MainWindowBoxTest)
#include "MainWindowBoxTest.moc"
