// The parts of the scene that need no OpenGL: where cubes stand, what their vertices
// hold, the orbit camera, the pictures of the textures, and a start without OpenGL.

#include "game/BlockPatterns.h"
#include "game/Game.h"
#include "scene/GridScene.h"
#include "scene/MainDisplayType.h"
#include "scene/MeshBuilder.h"
#include "scene/OrbitCamera.h"
#include "scene/SceneRenderer.h"
#include "scene/SceneTextures.h"

#include <QApplication>
#include <QTest>

#include <array>
#include <cmath>
#include <set>
#include <tuple>

using namespace pelorin;

namespace {

using Vector = std::array<double, 3>;

Vector At(const std::vector<MeshPoint>& points, int i)
{
    const MeshPoint& p = points[static_cast<size_t>(i)];
    return {p.a, p.b, p.c};
}

Vector Minus(const Vector& a, const Vector& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vector Cross(const Vector& a, const Vector& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Dot(const Vector& a, const Vector& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// A drag along y = 50 in steps of at most 10 pixels, ending at `to`.
void DragTo(OrbitCamera& camera, int from, int to)
{
    const int step = from < to ? 10 : -10;
    for (int x = from; (to - x) * step > 0; x += step)
        OrbitDrag(camera, true, x, 50);
    OrbitDrag(camera, true, to, 50);
}

bool IsInk(QRgb pixel)
{
    return qGray(pixel) < 160;
}

// Ink pixels of a part of an atlas tile.
int InkIn(const QImage& atlas, int tile, const QRect& part)
{
    int ink = 0;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        for (int x = part.left(); x <= part.right(); ++x)
            ink += IsInk(atlas.pixel(x, tile * kTileSize + y)) ? 1 : 0;
    }
    return ink;
}

} // namespace

class SceneGeometryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The ring of cubes: face 0 stands at x = 0, face 1 at z = 0, face 2 at x = 7 and
    // face 3 at z = 7, each read left to right from outside, row 0 on top.
    void cellPositionFollowsTheRing_data()
    {
        QTest::addColumn<int>("face");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("z");
        QTest::newRow("face 0 top left") << 0 << 0 << 0 << 0 << 7 << 7;
        QTest::newRow("face 0 bottom right") << 0 << 7 << 7 << 0 << 0 << 0;
        QTest::newRow("face 1") << 1 << 2 << 3 << 2 << 4 << 0;
        QTest::newRow("face 2") << 2 << 2 << 3 << 7 << 4 << 2;
        QTest::newRow("face 3") << 3 << 2 << 3 << 5 << 4 << 7;
    }
    void cellPositionFollowsTheRing()
    {
        QFETCH(int, face);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, z);
        QCOMPARE(CellPosition(face, column, row), (CellCentre{x, y, z}));
    }

    void twinsShareOneOfTwentyEightPositionsPerLayer()
    {
        std::set<std::tuple<int, int, int>> positions;
        for (int face = 0; face < kFaces; ++face) {
            for (int column = 0; column < kSide; ++column) {
                for (int row = 0; row < kSide; ++row) {
                    const CellCentre c = CellPosition(face, column, row);
                    positions.insert({c.x, c.y, c.z});
                    QVERIFY(c.x == 0 || c.x == 7 || c.z == 0 || c.z == 7);
                }
            }
            for (int row = 0; row < kSide; ++row)
                QCOMPARE(CellPosition(face, 7, row), CellPosition((face + 1) % kFaces, 0, row));
        }
        QCOMPARE(positions.size(), size_t{28 * 8});
    }

    // The cube against the designed coordinate table: corner order, normals, the
    // letter tile on the sides and blank tiles on top and bottom, each side's face
    // number, the triangles and the texture slot.
    void cubeFollowsTheCoordinateTable()
    {
        MeshBuilder builder;
        AddCellCube(builder, 2, 5, 7, 26, {1, 2, 63, 0}, kSetRevealed);
        QCOMPARE(builder.VertexCount(), 24);
        QCOMPARE(builder.TriangleCount(), 12);
        QCOMPARE(builder.secondCoordinates.size(), size_t{24});
        QCOMPARE(builder.textureSlot, int32_t{kSetRevealed});

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

        // A number or letter the atlases do not hold shows a blank tile, not a
        // neighbouring one.
        MeshBuilder beyond;
        AddCellCube(beyond, 0, 0, 0, 27, {64, -1, 0, 0}, kSetNormal);
        for (const int i : {1, 5}) {
            QCOMPARE(At(beyond.firstCoordinates, i), (Vector{0, 0, 0}));
            QCOMPARE(At(beyond.secondCoordinates, i), (Vector{0, 0, 0}));
        }
    }

    // A face wound the wrong way is culled and leaves a hole in the box: every
    // triangle of a cube and of the core must turn clockwise seen from outside,
    // which in these coordinates puts (v1 - v0) × (v2 - v0) along the outward normal.
    void everyTriangleFacesOutward()
    {
        MeshBuilder cube;
        AddCellCube(cube, 3, 3, 3, 1, {}, kSetNormal);
        const MeshBuilder core = CoreBoxBuilder();
        for (const MeshBuilder* builder : std::array<const MeshBuilder*, 2>{&cube, &core}) {
            const Vector centre = builder == &cube ? Vector{3, 3, 3} : Vector{3.5, 3.5, 3.5};
            for (int t = 0; t < builder->TriangleCount(); ++t) {
                const MeshPoint& triangle = builder->triangles[static_cast<size_t>(t)];
                const Vector v0 = At(builder->positions, static_cast<int>(triangle.a));
                const Vector turn = Cross(Minus(At(builder->positions, static_cast<int>(triangle.b)), v0),
                                          Minus(At(builder->positions, static_cast<int>(triangle.c)), v0));
                const Vector normal = At(builder->normals, static_cast<int>(triangle.a));
                QVERIFY(Dot(turn, normal) > 0.0);
                QVERIFY(Dot(Minus(v0, centre), normal) > 0.0);
            }
        }
        // The walls stand exactly behind the inner sides of the ring.
        for (const MeshPoint& p : core.positions) {
            for (const double value : {p.a, p.b, p.c})
                QVERIFY(value == 0.5 || value == 6.5);
        }
        QVERIFY(core.secondCoordinates.empty());
        QCOMPARE(core.textureSlot, kWallSlot);
    }

    // The vertex records: missing second coordinates become (0, 0), triangle values
    // are truncated to indices, and a value that names no vertex fails the build
    // rather than reach the buffers.
    void builderMakesVertexAndIndexRecords()
    {
        MeshBuilder builder;
        for (int i = 0; i < 4; ++i) {
            builder.positions.push_back({double(i), 1.5, -2.25});
            builder.normals.push_back({0, 1, 0});
            builder.firstCoordinates.push_back({0.25, 0.75, 0});
        }
        builder.secondCoordinates.push_back({0.5, 0.125, 0});
        builder.triangles.push_back({2.0, 3.0, 0.0});
        builder.triangles.push_back({0.9, 1.2, 3.99});

        std::vector<MeshVertex> vertices;
        QVERIFY(builder.Vertices(vertices));
        QCOMPARE(vertices.size(), size_t{4});
        QCOMPARE(vertices[0].u1, 0.5f);
        QCOMPARE(vertices[0].v1, 0.125f);
        QCOMPARE(vertices[3].u1, 0.0f);
        QCOMPARE(vertices[3].v1, 0.0f);
        QCOMPARE(vertices[3].x, 3.0f);
        QCOMPARE(vertices[3].v0, 0.75f);
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

    // The start faces face 0 square on; yaw 0, 0.5 and 0.75 face faces 1, 3 and 2.
    void eyeCirclesTheBox_data()
    {
        QTest::addColumn<float>("yaw");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("z");
        QTest::newRow("start, face 0") << 0.25f << -11.5f << 3.5f;
        QTest::newRow("face 1") << 0.0f << 3.5f << -11.5f;
        QTest::newRow("face 3") << 0.5f << 3.5f << 18.5f;
        QTest::newRow("face 2") << 0.75f << 18.5f << 3.5f;
    }
    void eyeCirclesTheBox()
    {
        QFETCH(float, yaw);
        QFETCH(float, x);
        QFETCH(float, z);
        OrbitCamera camera;
        camera.yaw = yaw;
        UpdateEye(camera);
        QVERIFY(std::abs(camera.eyeX - x) < 1e-4f);
        QCOMPARE(camera.eyeY, 3.5f);
        QVERIFY(std::abs(camera.eyeZ - z) < 1e-4f);
    }

    // A drag: 658 pixels make a turn and wrap back to the start; a jump of more than
    // 20 pixels restarts the drag without turning; moves without the left button do
    // nothing; after a release the next drag goes on from the angle reached.
    void dragTurnsTheBox()
    {
        OrbitCamera camera;
        OrbitPress(camera, 100, 50);
        DragTo(camera, 100, 100 + 658);
        QCOMPARE(camera.yaw, 0.25f);
        QCOMPARE(camera.eyeX, OrbitCamera().eyeX);

        OrbitDrag(camera, true, 800, 50);
        QCOMPARE(camera.yaw, 0.25f);
        DragTo(camera, 800, 800 + 329);
        QVERIFY(std::abs(camera.yaw - 0.75f) < 1e-6f);
        OrbitDrag(camera, false, 0, 0);
        QVERIFY(std::abs(camera.yaw - 0.75f) < 1e-6f);

        OrbitRelease(camera);
        OrbitPress(camera, 400, 400);
        DragTo(camera, 400, 380);
        QVERIFY(std::abs(camera.yaw - (0.75f - 20 / 658.0f)) < 1e-6f);
        QCOMPARE(camera.pitch, 0.0f);
    }

    void zoomStaysWithinItsRange()
    {
        OrbitCamera camera;
        for (int step = 0; step < 10; ++step)
            OrbitZoom(camera, true);
        QCOMPARE(camera.distance, OrbitCamera::kFarthest);
        QCOMPARE(camera.eyeX, 3.5f - 30.0f);
        OrbitZoom(camera, false);
        QVERIFY(std::abs(camera.distance - 30.0f / 1.1f) < 1e-4f);
        for (int step = 0; step < 20; ++step)
            OrbitZoom(camera, false);
        QCOMPARE(camera.distance, OrbitCamera::kNearest);
    }

    // The middle of the box is in the middle of the picture, and depth grows away
    // from the eye: a left-handed camera looking at the box.
    void projectionLooksAtTheBox()
    {
        OrbitCamera camera;
        const Matrix4 m = ViewProjection(camera);
        const auto project = [&](float x, float y, float z) {
            const float cx = x * m[0] + y * m[4] + z * m[8] + m[12];
            const float cy = x * m[1] + y * m[5] + z * m[9] + m[13];
            const float cz = x * m[2] + y * m[6] + z * m[10] + m[14];
            const float cw = x * m[3] + y * m[7] + z * m[11] + m[15];
            return std::array<float, 3>{cx / cw, cy / cw, cz / cw};
        };
        const auto centre = project(3.5f, 3.5f, 3.5f);
        QVERIFY(std::abs(centre[0]) < 1e-5f && std::abs(centre[1]) < 1e-5f);
        // Face 0 reads left to right towards -z, top row up.
        QVERIFY(project(0, 3.5f, 7)[0] < 0 && project(0, 3.5f, 0)[0] > 0);
        QVERIFY(project(0, 7, 3.5f)[1] > 0);
        QVERIFY(project(0, 3.5f, 3.5f)[2] < centre[2] && project(7, 3.5f, 3.5f)[2] > centre[2]);
        QVERIFY(project(3.5f, 3.5f, 3.5f)[2] > 0 && project(3.5f, 3.5f, 3.5f)[2] < 1);
    }

    void picturesHaveTheirDesignedSizes_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QSize>("size");
        QTest::newRow("wall") << kWallPicture << QSize(550, 550);
        QTest::newRow("black letters") << kBlackLetters << QSize(128, 3456);
        QTest::newRow("green letters") << kGreenLetters << QSize(128, 3456);
        QTest::newRow("numbers") << kNumberPicture << QSize(128, 8192);
        QTest::newRow("red letters") << kRedLetters << QSize(128, 3456);
        QTest::newRow("unknown") << 151 << QSize();
    }
    void picturesHaveTheirDesignedSizes()
    {
        QFETCH(int, id);
        QFETCH(QSize, size);
        QCOMPARE(ScenePicture(id).size(), size.isValid() ? size : QSize(0, 0));
    }

    // What the tiles show: the wall's flat colour; letters centred in their ink on
    // white; a blank tile 0; numbers in black in the top-left corner only, so that
    // the multiply leaves the letter; a dark frame on every tile.
    void tilesShowTheirLettersAndNumbers()
    {
        QCOMPARE(ScenePicture(kWallPicture).pixel(275, 275), kWallColour);
        const QRect middle(32, 24, 64, 80);
        const QRect inside(8, 8, 112, 112);
        for (const auto& [id, ink] : {std::pair{kBlackLetters, kBlackInk}, std::pair{kGreenLetters, kGreenInk},
                                      std::pair{kRedLetters, kRedInk}}) {
            const QImage& atlas = ScenePicture(id);
            QCOMPARE(InkIn(atlas, 0, inside), 0);
            for (const int tile : {1, 9, 26})
                QVERIFY(InkIn(atlas, tile, middle) > 300);
            QCOMPARE(atlas.pixel(64, 26 * kTileSize + 64), ink); // the middle of the Z's stroke
            QCOMPARE(atlas.pixel(64, 15 * kTileSize + 2), qRgb(40, 40, 40));
        }
        const QImage& numbers = ScenePicture(kNumberPicture);
        const QRect corner(8, 8, 48, 40);
        const QRect rest(8, 56, 112, 64);
        QCOMPARE(InkIn(numbers, 0, inside), 0);
        for (const int tile : {1, 38, 63}) {
            QVERIFY(InkIn(numbers, tile, corner) > 40);
            QCOMPARE(InkIn(numbers, tile, rest), 0);
        }
        QVERIFY(InkIn(numbers, 38, corner) > InkIn(numbers, 1, corner));
        QVERIFY(IsInk(numbers.pixel(1, 63 * kTileSize + 64)));
    }

    // Without OpenGL the start reports stage 1 and the game runs without a picture:
    // frames, paints and turns draw nothing and build nothing, so the cubes are
    // still to be built should a device come.
    void startWithoutOpenGlDrawsNothing()
    {
        MainDisplayType view;
        view.resize(475, 437);
        SceneRenderer renderer;
        QVERIFY(!renderer.InitDevice(view));
        QCOMPARE(renderer.InitStage(), 1);
        QCOMPARE(renderer.InitDetail(), 0);
        QCOMPARE(renderer.InitFailureMessage(), QStringLiteral("Cannot initialise directx graphics. Code=1.0"));
        view.SetRenderer(&renderer);
        for (const int32_t id : kSceneTextures)
            renderer.LoadResourceTexture(id);
        Game game;
        LayOutPattern(game, 2);
        renderer.SetGame(&game);

        view.show();
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(&view, QPoint(110, 100));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(110, 100));
        view.repaint();
        renderer.RenderFrame();
        QVERIFY(!renderer.HasDevice());
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
