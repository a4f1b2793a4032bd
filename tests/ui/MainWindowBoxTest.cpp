// The box in the game window, drawn with OpenGL (the build runs this test under a
// virtual X server): the current game's cubes drawn by the window's timer, turned
// with the mouse, and the view kept from one game to the next.

#include "ui/kit/WindowKit.h"

#include "game/GameFile.h"
#include "scene/MainDisplayType.h"
#include "scene/OrbitCamera.h"
#include "scene/SceneRenderer.h"
#include "support/KeepLibraries.h"

#include <QOpenGLWidget>
#include <QTest>

namespace pelorin {

class MainWindowBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanupTestCase() { test::KeepLibrariesLoaded(); }
    void boxShowsTheGameAndKeepsItsView();
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

} // namespace pelorin

QTEST_MAIN(pelorin::MainWindowBoxTest)
#include "MainWindowBoxTest.moc"
