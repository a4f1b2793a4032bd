// The picture of the box, read back from the view's framebuffer: what a player sees.
// Needs a real OpenGL context (the build runs it under a virtual X server).

#include "game/BlockPatterns.h"
#include "game/Game.h"
#include "scene/GridScene.h"
#include "scene/MainDisplayType.h"
#include "scene/MeshBuilder.h"
#include "scene/kit/SceneKit.h"
#include "scene/SceneRenderer.h"
#include "scene/SceneTextures.h"
#include "support/FilledGame.h"
#include "support/KeepLibraries.h"

#include <QApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QPolygonF>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <map>
#include <memory>
#include <span>
#include <tuple>

using namespace pelorin;

namespace {

constexpr QSize kViewSize(475, 437);
constexpr QRgb kBlue = qRgb(0, 0, 255);

bool Near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

/// What a cube side shows: letter tile `letter` with number tile `number` multiplied over it.
QImage CubeSide(int32_t letters, int letter, int number)
{
    static std::map<int32_t, QImage> pictures;
    const auto picture = [](int32_t id) -> const QImage& {
        auto found = pictures.find(id);
        return found != pictures.end() ? found->second : pictures.emplace(id, ScenePicture(id)).first->second;
    };
    QImage side = picture(letters).copy(0, letter * kTileSize, kTileSize, kTileSize);
    QPainter painter(&side);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.drawImage(0, 0, picture(kNumberPicture), 0, number * kTileSize, kTileSize, kTileSize);
    return side;
}

/// The part of a picture given as fractions of its width and height.
QImage PartOf(const QImage& image, const QRectF& rect, const QRectF& part)
{
    const QRectF area(rect.x() + part.x() * rect.width(), rect.y() + part.y() * rect.height(),
                      part.width() * rect.width(), part.height() * rect.height());
    return image.copy(area.toAlignedRect()).convertToFormat(QImage::Format_RGB32);
}

/// Which candidate, scaled to the region, is nearest the frame's pixels there.
int NearestCandidate(const QImage& frame, const QRectF& region, const std::vector<QImage>& candidates,
                     const QRectF& part)
{
    const QImage seen = PartOf(frame, region, part);
    int best = -1;
    double bestScore = 0.0;
    for (size_t k = 0; k < candidates.size(); ++k) {
        const QImage tile = PartOf(candidates[k], QRectF(QPointF(0, 0), candidates[k].size()), part)
                                .scaled(seen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double score = 0.0;
        for (int y = 0; y < seen.height(); ++y)
            for (int x = 0; x < seen.width(); ++x) {
                const QRgb a = seen.pixel(x, y), b = tile.pixel(x, y);
                score += std::pow(qRed(a) - qRed(b), 2) + std::pow(qGreen(a) - qGreen(b), 2) + std::pow(qBlue(a) - qBlue(b), 2);
            }
        if (best < 0 || score < bestScore)
            std::tie(best, bestScore) = std::pair{static_cast<int>(k), score};
    }
    return best;
}

// Inside a cube side, clear of the edges that the filtering blurs.
const QRectF kWholeSide(0.06, 0.06, 0.88, 0.88);
const QRectF kNumberCorner(0.04, 0.04, 0.42, 0.36);

// A game whose only open cells form the four-letter Across entry WAVE on face 0, row 3, columns 2 to 5.
Entry& LayOutWave(Game& game)
{
    SetPatternRow(game, 0, 3, "  XXXX  ");
    for (int face = 0; face < kFaces; ++face)
        BuildEntries(game, face);
    Entry& entry = *game.Across().At(0);
    for (int k = 0; k < 4; ++k)
        SetLetter(*entry.cells.At(k), static_cast<uint8_t>("WAVE"[k] - 64), true);
    EntryText(entry);
    return entry;
}

} // namespace

class SceneRenderTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Game> game_;
    std::unique_ptr<MainDisplayType> view_;
    std::unique_ptr<SceneRenderer> renderer_;
    QOpenGLWidget& Canvas() { return *view_->Canvas(); }
    /// Draws a frame and reads it back, in device pixels.
    QImage Frame() { return Canvas().grabFramebuffer(); }
    QRect Client() const { return QRect(QPoint(0, 0), view_->Canvas()->size() * view_->Canvas()->devicePixelRatioF()); }
    void Look(float yaw) { renderer_->camera.yaw = yaw; UpdateEye(renderer_->camera); }
    /// Where a point of the world lands in the frame.
    QPointF ToPixel(double x, double y, double z) const { return test::OnScreen(renderer_->camera, x, y, z, Client().size()); }

    /// The frame's rectangle of side `side` (0 to 3: facing -x, -z, +x, +z) of a cell's cube, seen square on.
    QRectF SideOf(int face, int column, int row, int side) const
    {
        const CellCentre centre = CellPosition(face, column, row);
        MeshBuilder cube;
        AddCellCube(cube, centre.x, centre.y, centre.z, 0, {}, kSetNormal);
        QPolygonF corners;
        for (const MeshPoint& p : std::span(cube.positions).subspan(static_cast<size_t>(side * 4), 4))
            corners << ToPixel(p.a, p.b, p.c);
        return corners.boundingRect();
    }
    QRgb CentrePixel(const QImage& frame) const { return frame.pixel(ToPixel(kBoxCentre, kBoxCentre, kBoxCentre).toPoint()); }
    GLenum GlError()
    {
        Canvas().makeCurrent();
        const GLenum error = Canvas().context()->functions()->glGetError();
        Canvas().doneCurrent();
        return error;
    }

private Q_SLOTS:
    void cleanupTestCase() { test::KeepLibrariesLoaded(); }

    void init()
    {
        game_ = std::make_unique<Game>();
        view_ = std::make_unique<MainDisplayType>();
        view_->resize(kViewSize);
        renderer_ = std::make_unique<SceneRenderer>();
        QVERIFY(renderer_->InitDevice(*view_));
        view_->SetRenderer(renderer_.get());
        for (const int32_t id : kSceneTextures)
            renderer_->LoadResourceTexture(id);
        renderer_->SetGame(game_.get());
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    }

    // The order of the main window's teardown: the application's game goes first,
    // releasing its cubes while no context is current.
    void cleanup() { game_.reset(); renderer_.reset(); view_.reset(); }

    // The box is lit by the point light until the first cube is drawn (the frame that draws it still shows the lit
    // box, drawn before the cubes) and in its plain colour from then on: the wall of face 2 looks away from the
    // light and shows the difference.
    void coreBoxIsLitUntilTheFirstCube()
    {
        Look(0.75f);
        // The wall times the ambient light alone: 0.5 × (0.8 + 17 / 255).
        const QRgb shaded = qRgb(36, 47, 62);
        SetPatternRow(*game_, 0, 3, "   X    ");
        QVERIFY(Near(CentrePixel(Frame()), shaded, 2));
        QVERIFY(Near(CentrePixel(Frame()), kWallColour, 1));
        QCOMPARE(GlError(), GLenum(GL_NO_ERROR));
    }

    // A cell's cube shows the player's letter on its outward side, in the letter set
    // the cell has: black when typed (the right V below), green when revealed into an
    // empty cell, red when revealed over a wrong letter, a blank tile while empty.
    void cubeShowsTheLetterInItsSet_data()
    {
        QTest::addColumn<QString>("play");
        QTest::addColumn<int>("letter");
        QTest::addColumn<int>("atlas");
        QTest::newRow("empty") << "" << 0 << kBlackLetters;
        QTest::newRow("revealed") << "reveal" << 1 << kGreenLetters;
        QTest::newRow("corrected") << "WQVE reveal" << 1 << kRedLetters;
    }
    void cubeShowsTheLetterInItsSet()
    {
        QFETCH(QString, play);
        QFETCH(int, letter);
        QFETCH(int, atlas);
        Entry& wave = LayOutWave(*game_);
        Frame();
        for (const QString& step : play.split(' ', Qt::SkipEmptyParts))
            if (step == QLatin1String("reveal"))
                RevealEntry(wave);
            else
                QVERIFY(EnterAnswer(wave, step.toStdString()));
        const QImage frame = Frame();
        std::vector<QImage> candidates;
        const std::array<int32_t, 3> atlases = {kBlackLetters, kGreenLetters, kRedLetters};
        for (const int32_t letters : atlases)
            for (int k = 0; k < kLetterTiles; ++k)
                candidates.push_back(CubeSide(letters, k, 0));
        const auto seen = [&](int column) {
            const int k = NearestCandidate(frame, SideOf(0, column, 3, 0), candidates, kWholeSide);
            return std::pair{atlases[static_cast<size_t>(k / kLetterTiles)], k % kLetterTiles};
        };
        // Column 3 holds the A; column 4 was right all along and keeps its set when
        // the entry is revealed over a wrong letter elsewhere.
        QCOMPARE(seen(3), (std::pair{atlas, letter}));
        if (atlas == kRedLetters)
            QCOMPARE(seen(4), (std::pair{kBlackLetters, int{'V' - 64}}));
    }

    // A corner cube is one cube for the twins of two faces; it shows face 0's number
    // on the side that looks out over face 0 and face 1's on the side over face 1.
    void cornerCubeShowsEachFaceNumberOnItsSide()
    {
        SetPatternRow(*game_, 0, 2, "       X");
        SetPatternRow(*game_, 0, 3, "       X");
        SetPatternRow(*game_, 1, 2, "XX      ");
        for (int face = 0; face < kFaces; ++face)
            BuildEntries(*game_, face);
        std::vector<QImage> numbers;
        for (int n = 0; n < kNumberTiles; ++n)
            numbers.push_back(CubeSide(kBlackLetters, 0, n));
        Look(0.25f);
        QCOMPARE(NearestCandidate(Frame(), SideOf(0, 7, 2, 0), numbers, kNumberCorner), 1);
        Look(0.0f);
        QCOMPARE(NearestCandidate(Frame(), SideOf(1, 0, 2, 1), numbers, kNumberCorner), 2);
    }

    // A notch of the wheel moves the eye out a step, and one the other way back.
    void wheelZoomsAStep()
    {
        for (const auto& [delta, distance] : {std::pair{120, 16.5f}, std::pair{-120, OrbitCamera::kNearest}}) {
            QWheelEvent wheel(QPointF(200, 200), view_->mapToGlobal(QPointF(200, 200)), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view_.get(), &wheel);
            QVERIFY(std::abs(renderer_->camera.distance - distance) < 1e-5f);
        }
    }

    // A changed entry rebuilds only its own cubes. Its old cubes are released by the
    // game while no context is current; their buffers wait for the next frame and
    // are deleted then, and nothing the game lets go of stays on the device.
    void changedEntryRebuildsOnlyItsCubes()
    {
        LayOutPattern(*game_, 0);
        test::FillSolution(*game_);
        Frame();
        int open = 0;
        for (int i = 0; i < kCellCount; ++i)
            open += game_->At(i).view && game_->At(i).letter != kBlock ? 1 : 0;
        QCOMPARE(std::pair(renderer_->CubesBuilt(), renderer_->MeshCount()), std::pair(int64_t{open}, open + 1));
        Entry& entry = *game_->Down().At(3);
        QVERIFY(EnterAnswer(entry, std::string(TextOf(entry.text))));
        QCOMPARE(renderer_->RetiredBufferCount(), 2 * entry.cells.Count());
        Frame();
        QCOMPARE(std::tuple(renderer_->CubesBuilt(), renderer_->MeshCount(), renderer_->RetiredBufferCount()),
                 std::tuple(int64_t{open + entry.cells.Count()}, open + 1, 0));
        ResetGame(*game_);
        Frame();
        QCOMPARE(renderer_->MeshCount(), 1);
        QCOMPARE(GlError(), GLenum(GL_NO_ERROR));
    }

    // Moving the view to another window replaces its context. The old context's objects are released while it is
    // still current, and the new one gets the same picture: textures, core box and cubes built again.
    void newContextRebuildsThePicture()
    {
        LayOutPattern(*game_, 2);
        test::FillSolution(*game_);
        RevealAll(*game_, nullptr);
        Frame();
        const QImage before = Frame();
        const int32_t meshes = renderer_->MeshCount();
        const int64_t built = renderer_->CubesBuilt();
        QSignalSpy contextGone(Canvas().context(), &QOpenGLContext::aboutToBeDestroyed);
        QWidget window;
        window.resize(kViewSize);
        view_->setParent(&window);
        // The view is the fixture's, not the window's.
        const auto giveBack = qScopeGuard([this] { view_->setParent(nullptr); });
        QCOMPARE(contextGone.count(), 1);
        QVERIFY(!renderer_->HasDevice());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Frame();
        QCOMPARE(Frame(), before);
        QCOMPARE(std::pair(renderer_->MeshCount(), renderer_->CubesBuilt()), std::pair(meshes, built + meshes - 1));
        QCOMPARE(GlError(), GLenum(GL_NO_ERROR));
    }

    // The picture fills the view inside its border whatever the screen's pixel ratio (the build also runs this with
    // QT_SCALE_FACTOR=2): blue up to the border, and a game of blocks only shows the core box in the middle, in the
    // wall's colour, at the size the projection gives.
    void pictureFillsTheView()
    {
        QCOMPARE(Canvas().geometry(), QRect(1, 1, 473, 435));
        const QImage frame = Frame();
        const QRect client = Client();
        QCOMPARE(frame.size(), client.size());
        QRect box;
        int neitherBlueNorWall = 0;
        for (int y = client.top(); y <= client.bottom(); ++y)
            for (int x = client.left(); x <= client.right(); ++x)
                if (const QRgb pixel = frame.pixel(x, y); pixel != kBlue) {
                    box |= QRect(x, y, 1, 1);
                    neitherBlueNorWall += Near(pixel, kWallColour, 1) ? 0 : 1;
                }
        QCOMPARE(neitherBlueNorWall, 0);
        // The wall of face 0 spans 0.5 to 6.5 on y and z.
        const QRectF expected(ToPixel(0.5f, 6.5f, 6.5f), ToPixel(0.5f, 0.5f, 0.5f));
        QVERIFY(std::abs(box.left() - expected.left()) <= 1.5 && std::abs(box.right() + 1 - expected.right()) <= 1.5);
        QVERIFY(std::abs(box.top() - expected.top()) <= 1.5 && std::abs(box.bottom() + 1 - expected.bottom()) <= 1.5);
    }
};

QTEST_MAIN(SceneRenderTest)
#include "SceneRenderTest.moc"
