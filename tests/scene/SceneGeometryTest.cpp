// The parts of the scene that need no OpenGL: where cubes stand, what their vertices
// hold, the orbit camera, the pictures of the textures, and a start without OpenGL.

#include "game/BlockPatterns.h"
#include "game/Game.h"
#include "scene/BoxPicking.h"
#include "scene/GridScene.h"
#include "scene/MainDisplayType.h"
#include "scene/MeshBuilder.h"
#include "scene/OrbitCamera.h"
#include "scene/SceneRenderer.h"
#include "scene/SceneTextures.h"
#include "scene/kit/SceneKit.h"

#include <QApplication>
#include <QTest>

#include <array>
#include <cmath>
#include <tuple>

using namespace pelorin;
using test::OnScreen;

namespace {

using Vector = std::array<double, 3>;

Vector At(const std::vector<MeshPoint>& points, int i)
{
    const MeshPoint& p = points[static_cast<size_t>(i)];
    return {p.a, p.b, p.c};
}

// A drag along y = 50 in steps of at most 10 pixels, ending at `to`.
void DragTo(OrbitCamera& camera, int from, int to)
{
    const int step = from < to ? 10 : -10;
    for (int x = from; (to - x) * step > 0; x += step)
        OrbitDrag(camera, true, x, 50);
    OrbitDrag(camera, true, to, 50);
}

bool IsInk(QRgb pixel) { return qGray(pixel) < 160; }

// Ink pixels of a part of an atlas tile.
int InkIn(const QImage& atlas, int tile, const QRect& part)
{
    int ink = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            ink += IsInk(atlas.pixel(x, tile * kTileSize + y)) ? 1 : 0;
    return ink;
}

} // namespace

class SceneGeometryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The ring of cubes: face 0 stands at x = 0, face 1 at z = 0, face 2 at x = 7 and face 3 at z = 7, each read
    // left to right from outside, row 0 on top; twins share their corner (face 0's last column is face 1's first).
    void cellPositionFollowsTheRing()
    {
        const std::array<std::array<int, 6>, 6> table = {{{0, 0, 0, 0, 7, 7}, {0, 7, 7, 0, 0, 0}, {1, 0, 7, 0, 0, 0},
                                                          {1, 2, 3, 2, 4, 0}, {2, 2, 3, 7, 4, 2}, {3, 2, 3, 5, 4, 7}}};
        for (const auto& [face, column, row, x, y, z] : table)
            QCOMPARE(CellPosition(face, column, row), (CellCentre{x, y, z}));
    }

    // The cube against the designed coordinate table: corner order, normals, the letter tile on the sides and blank
    // tiles on top and bottom, each side's face number and the triangles (the render test sees its texture slot).
    void cubeFollowsTheCoordinateTable()
    {
        MeshBuilder builder;
        AddCellCube(builder, 2, 5, 7, 26, {1, 2, 63, 0}, kSetRevealed);
        QCOMPARE(builder.VertexCount(), 24);
        QCOMPARE(builder.TriangleCount(), 12);
        QCOMPARE(builder.secondCoordinates.size(), size_t{24});
        constexpr double h = 0.5;
        const std::array<std::array<Vector, 4>, 6> corners = {{
            {{{-h, -h, +h}, {-h, +h, +h}, {-h, +h, -h}, {-h, -h, -h}}},
            {{{-h, -h, -h}, {-h, +h, -h}, {+h, +h, -h}, {+h, -h, -h}}},
            {{{+h, -h, -h}, {+h, +h, -h}, {+h, +h, +h}, {+h, -h, +h}}},
            {{{+h, -h, +h}, {+h, +h, +h}, {-h, +h, +h}, {-h, -h, +h}}},
            {{{+h, +h, -h}, {-h, +h, -h}, {-h, +h, +h}, {+h, +h, +h}}},
            {{{+h, -h, +h}, {-h, -h, +h}, {-h, -h, -h}, {+h, -h, -h}}},
        }};
        const std::array<Vector, 6> normals = {{{-1, 0, 0}, {0, 0, -1}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, -1, 0}}};
        const float letterStep = 1.0f / 27.0f;
        const std::array<int, 6> numbers = {1, 2, 63, 0, 0, 0};
        for (int square = 0; square < 6; ++square) {
            const bool side = square < 4;
            const double top = side ? 26 * letterStep : 0.0;
            const double bottom = side ? 27 * letterStep : letterStep;
            const double numberTop = numbers[static_cast<size_t>(square)] / 64.0;
            const std::array<Vector, 4> first = {{{0, bottom, 0}, {0, top, 0}, {1, top, 0}, {1, bottom, 0}}};
            const std::array<Vector, 4> second = {
                {{0, numberTop + 1 / 64.0, 0}, {0, numberTop, 0}, {1, numberTop, 0}, {1, numberTop + 1 / 64.0, 0}}};
            for (int k = 0; k < 4; ++k) {
                const int i = square * 4 + k;
                const Vector& offset = corners[static_cast<size_t>(square)][static_cast<size_t>(k)];
                QCOMPARE(At(builder.positions, i), (Vector{2 + offset[0], 5 + offset[1], 7 + offset[2]}));
                QCOMPARE(At(builder.normals, i), normals[static_cast<size_t>(square)]);
                QCOMPARE(At(builder.firstCoordinates, i), first[static_cast<size_t>(k)]);
                QCOMPARE(At(builder.secondCoordinates, i), second[static_cast<size_t>(k)]);
            }
            const double base = square * 4;
            QCOMPARE(At(builder.triangles, square * 2), (Vector{base, base + 1, base + 2}));
            QCOMPARE(At(builder.triangles, square * 2 + 1), (Vector{base + 2, base + 3, base}));
        }
        // A number or letter the atlases do not hold shows a blank tile, not a neighbouring one.
        MeshBuilder beyond;
        AddCellCube(beyond, 0, 0, 0, 27, {64, -1, 0, 0}, kSetNormal);
        for (const int i : {1, 5}) {
            QCOMPARE(At(beyond.firstCoordinates, i), (Vector{0, 0, 0}));
            QCOMPARE(At(beyond.secondCoordinates, i), (Vector{0, 0, 0}));
        }
    }

    // The vertex records: missing second coordinates become (0, 0), triangle values are truncated to indices, and a
    // value that names no vertex fails the build rather than reach the buffers.
    void builderMakesVertexAndIndexRecords()
    {
        MeshBuilder builder;
        for (int i = 0; i < 4; ++i) {
            builder.positions.push_back({double(i), 1.5, -2.25});
            builder.normals.push_back({0, 1, 0});
            builder.firstCoordinates.push_back({0.25, 0.75, 0});
        }
        builder.secondCoordinates.push_back({0.5, 0.125, 0});
        builder.triangles = {{2.0, 3.0, 0.0}, {0.9, 1.2, 3.99}};
        std::vector<MeshVertex> vertices;
        QVERIFY(builder.Vertices(vertices));
        QCOMPARE(vertices.size(), size_t{4});
        QCOMPARE(std::tuple(vertices[0].u1, vertices[0].v1, vertices[3].u1, vertices[3].v1),
                 std::tuple(0.5f, 0.125f, 0.0f, 0.0f));
        QCOMPARE(vertices[3].diffuse, kOpaqueWhite);
        std::vector<uint32_t> indices;
        QVERIFY(builder.Indices(indices));
        QCOMPARE(indices, (std::vector<uint32_t>{2, 3, 0, 0, 1, 3}));
        for (const double bad : {4.0, -1.0, 1e12, std::nan("")}) {
            MeshBuilder broken = builder;
            broken.triangles.push_back({0, bad, 1});
            QVERIFY(!broken.Indices(indices));
        }
        builder.normals.pop_back();
        QVERIFY(!builder.Vertices(vertices));
    }

    // The start faces face 0 square on from 15 away. 658 pixels of drag to the right
    // make one whole turn, and vertical wobble never tilts the box. A jump of more than 20 pixels restarts a drag
    // without turning the box, moves without the left button do nothing, and after a release the next drag goes on
    // from the angle reached. Steps of the wheel stop at 15 and 30.
    void cameraTurnsAndZooms()
    {
        OrbitCamera camera;
        UpdateEye(camera);
        QVERIFY(std::abs(camera.eyeX + 11.5f) < 1e-4f && std::abs(camera.eyeZ - 3.5f) < 1e-4f);
        OrbitPress(camera, 40, 200);
        for (int x = 40; x <= 40 + 658; x += 14) {
            OrbitDrag(camera, true, x, 200 + x % 5);
            QVERIFY(std::abs(camera.yaw - std::fmod(0.25f + static_cast<float>(x - 40) / 658.0f, 1.0f)) < 1e-6f &&
                    camera.pitch == 0.0f);
        }
        OrbitDrag(camera, true, 40 + 658, 200);
        QCOMPARE(camera.yaw, OrbitCamera::kStartYaw);
        OrbitRelease(camera);
        OrbitPress(camera, 100, 50);
        DragTo(camera, 100, 100 + 329);
        QVERIFY(std::abs(camera.yaw - 0.75f) < 1e-6f);
        OrbitDrag(camera, true, 470, 50);
        OrbitDrag(camera, false, 0, 0);
        QVERIFY(std::abs(camera.yaw - 0.75f) < 1e-6f);
        OrbitRelease(camera);
        OrbitPress(camera, 400, 400);
        DragTo(camera, 400, 380);
        QVERIFY(std::abs(camera.yaw - (0.75f - 20 / 658.0f)) < 1e-6f);
        const auto zoom = [&](int steps, bool out) { while (steps-- > 0) OrbitZoom(camera, out); return camera.distance; };
        QVERIFY(zoom(7, true) < 30.0f);
        QCOMPARE(zoom(3, true), 30.0f);
        QCOMPARE(zoom(9, false), OrbitCamera::kNearest);
        // A turn to a face goes the shorter way (here over yaw 0), ends square on
        // within its ticks at the same distance, and a drag stops it where it is.
        camera.yaw = 0.9f;
        UpdateEye(camera);
        QVERIFY(StartTurn(camera, 1));
        float last = camera.yaw;
        int ticks = 0;
        while (TurnTick(camera)) {
            ++ticks;
            const float step = camera.yaw < last ? camera.yaw + 1.0f - last : camera.yaw - last;
            QVERIFY(step >= 0.0f && step < 0.05f);
            last = camera.yaw;
        }
        QCOMPARE(ticks, OrbitCamera::kTurnTicks);
        QVERIFY(std::abs(camera.yaw) < 1e-6f || std::abs(camera.yaw - 1.0f) < 1e-6f);
        QCOMPARE(camera.distance, OrbitCamera::kNearest);
        QVERIFY(!StartTurn(camera, 1));
        QVERIFY(StartTurn(camera, 3));
        TurnTick(camera);
        const float reached = camera.yaw;
        OrbitDrag(camera, true, 10, 50);
        QVERIFY(!IsTurning(camera));
        QVERIFY(std::abs(camera.yaw - reached) < 1e-6f);
    }

    // Picking is exact: at any angle and distance, points near the middle and the corners of every outward side
    // that faces the eye pick that cube, and on an edge cube the cell of that side's face. Through a block the core
    // is hit, beside the box nothing.
    void pickingFindsTheCubeAndSide()
    {
        constexpr int kWidth = 473, kHeight = 435;
        const QSizeF view(kWidth, kHeight);
        Game game;
        LayOutPattern(game, 0);
        // The outward side of each face, and the axes across it.
        constexpr std::array<int, 4> outX = {-1, 0, 1, 0}, outZ = {0, -1, 0, 1};
        const std::array<std::array<double, 2>, 5> spots = {{{0, 0}, {-0.45, -0.45}, {0.45, -0.45}, {-0.45, 0.45}, {0.45, 0.45}}};
        int picks = 0;
        for (const float yaw : {0.0f, 0.1f, 0.25f, 0.37f, 0.5f, 0.62f, 0.8f, 0.93f})
            for (const float distance : {15.0f, 21.0f, 30.0f}) {
                OrbitCamera camera;
                camera.yaw = yaw;
                camera.distance = distance;
                UpdateEye(camera);
                for (int index = 0; index < kCellCount; ++index) {
                    const Cell& cell = game.At(index);
                    const CellCentre c = CellPosition(cell.face, cell.column, cell.row);
                    const auto f = static_cast<size_t>(cell.face);
                    const double x = c.x + 0.5 * outX[f], z = c.z + 0.5 * outZ[f];
                    if (cell.letter == kBlock || (camera.eyeX - x) * outX[f] + (camera.eyeZ - z) * outZ[f] <= 0.0)
                        continue; // a block, or a side that looks away from the eye
                    for (const auto& [along, up] : spots) {
                        const QPointF at = OnScreen(camera, x + along * outZ[f], c.y + up, z + along * outX[f], view);
                        const BoxHit hit = PickCell(camera, kWidth, kHeight, game, at.x(), at.y());
                        QVERIFY2(hit == (BoxHit{index, cell.face}),
                                 qPrintable(QStringLiteral("yaw %1 distance %2 cell %3 picked %4 side %5")
                                                .arg(yaw).arg(distance).arg(index).arg(hit.cell).arg(hit.side)));
                        ++picks;
                    }
                }
            }
        QVERIFY(picks > 5000);
        // Face 0's column 1 is a block in row 1: the ray meets the core's wall behind.
        OrbitCamera camera;
        const QPointF block = OnScreen(camera, 0.5, 6.0, 6.0, view);
        QCOMPARE(PickCell(camera, kWidth, kHeight, game, block.x(), block.y()), BoxHit{});
        QCOMPARE(PickCell(camera, kWidth, kHeight, game, 1.0, 1.0), BoxHit{});
    }

    // The pictures at their designed sizes (the wall's colour shows in the render test); letters centred
    // in their ink on white and a blank tile 0; numbers in black in the top-left
    // corner only, so that the multiply leaves the letter; a dark frame on every tile.
    void picturesShowTheirTiles()
    {
        QCOMPARE(ScenePicture(kWallPicture).size(), QSize(550, 550));
        QVERIFY(ScenePicture(151).isNull());
        const QRect inside(8, 8, 112, 112);
        for (const auto& [id, ink] : {std::pair{kBlackLetters, kBlackInk}, std::pair{kGreenLetters, kGreenInk},
                                      std::pair{kRedLetters, kRedInk}}) {
            const QImage& atlas = ScenePicture(id);
            QCOMPARE(atlas.size(), QSize(128, 3456));
            QCOMPARE(InkIn(atlas, 0, inside), 0);
            for (const int tile : {1, 9, 26})
                QVERIFY(InkIn(atlas, tile, QRect(32, 24, 64, 80)) > 300);
            QCOMPARE(atlas.pixel(64, 26 * kTileSize + 64), ink); // the middle of the Z's stroke
            QVERIFY(IsInk(atlas.pixel(64, 15 * kTileSize + 2)));
        }
        const QImage& numbers = ScenePicture(kNumberPicture);
        QCOMPARE(numbers.size(), QSize(128, 8192));
        QCOMPARE(InkIn(numbers, 0, inside), 0);
        for (const int tile : {1, 38, 63}) {
            QVERIFY(InkIn(numbers, tile, QRect(8, 8, 48, 40)) > 40);
            QCOMPARE(InkIn(numbers, tile, QRect(8, 56, 112, 64)), 0);
            QVERIFY(IsInk(numbers.pixel(1, tile * kTileSize + 64)));
        }
    }

    // Without OpenGL the game runs without a picture: frames, paints and turns draw
    // nothing and build nothing, so the cubes are still to be built should a device come.
    void startWithoutOpenGlDrawsNothing()
    {
        MainDisplayType view;
        view.resize(475, 437);
        SceneRenderer renderer;
        QVERIFY(!renderer.InitDevice(view));
        view.SetRenderer(&renderer);
        for (const int32_t id : kSceneTextures)
            renderer.LoadResourceTexture(id);
        Game game;
        LayOutPattern(game, 2);
        renderer.SetGame(&game);
        view.show();
        QVERIFY(!view.Canvas());
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(&view, QPoint(110, 100));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(110, 100));
        view.repaint();
        renderer.RenderFrame();
        QCOMPARE(renderer.CubesBuilt(), int64_t{0});
        const CellView* first = game.At(0).FindView();
        QVERIFY(first && first->dirty && !first->mesh);
    }
};

int main(int argc, char** argv)
{
    // The offscreen platform offers OpenGL through an X server when it can reach
    // one; without one it offers none, which is the start this test needs.
    qunsetenv("DISPLAY");
    QApplication app(argc, argv);
    SceneGeometryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SceneGeometryTest.moc"
