// Frame times of the box: RenderFrame on a game of 224 open cells (every cube the
// ring can hold), into the scene view's framebuffer at its designed size, waiting
// until the frame is drawn. Needs an OpenGL context: `make bench` runs it under a
// virtual X server, where Mesa draws in software.
#include "game/BlockPatterns.h"
#include "game/BoxCursor.h"
#include "game/Game.h"
#include "scene/BoxPicking.h"
#include "scene/MainDisplayType.h"
#include "scene/SceneRenderer.h"
#include "scene/SceneTextures.h"

#include <QApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using namespace pelorin;

struct Scene {
    Game game;
    MainDisplayType view;
    SceneRenderer renderer;
};

Scene* scene = nullptr;

// Every cell open, with the player's letters in every cube.
void OpenEveryCell(Game& game)
{
    for (int face = 0; face < kFaces; ++face) {
        for (int row = 0; row < kSide; ++row)
            SetPatternRow(game, face, row, "XXXXXXXX");
    }
    for (int face = 0; face < kFaces; ++face)
        BuildEntries(game, face);
    for (int i = 0; i < kCellCount; ++i)
        SetLetter(game.At(i), static_cast<uint8_t>(i * 7 % 26 + 1), true);
    for (Entry* entry : game.Across())
        EntryText(*entry);
    for (Entry* entry : game.Down())
        EntryText(*entry);
    RevealAll(game, nullptr);
}

void DrawFrame()
{
    QOpenGLWidget& canvas = *scene->view.Canvas();
    canvas.makeCurrent();
    scene->renderer.RenderFrame();
    canvas.context()->functions()->glFinish();
    canvas.doneCurrent();
}

// The steady frame of the main window's timer: every cube built.
void BM_FullFrame(benchmark::State& state)
{
    DrawFrame();
    for (auto _ : state)
        DrawFrame();
}
BENCHMARK(BM_FullFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_FullFrameFromFace2(benchmark::State& state)
{
    scene->renderer.camera.yaw = 0.75f;
    UpdateEye(scene->renderer.camera);
    DrawFrame();
    for (auto _ : state)
        DrawFrame();
    scene->renderer.camera.yaw = 0.25f;
    UpdateEye(scene->renderer.camera);
}
BENCHMARK(BM_FullFrameFromFace2)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The frame after the player changed one entry: its cubes are rebuilt.
void BM_FrameAfterEntryChange(benchmark::State& state)
{
    Entry& entry = *scene->game.Across().At(5);
    const std::string answer(TextOf(entry.text));
    const std::string other(answer.size(), 'Q');
    bool flip = false;
    DrawFrame();
    for (auto _ : state) {
        state.PauseTiming();
        EnterAnswer(entry, flip ? answer : other);
        flip = !flip;
        state.ResumeTiming();
        DrawFrame();
    }
}
BENCHMARK(BM_FrameAfterEntryChange)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The frame after a game was opened: all 224 cubes built at once.
void BM_FrameAfterOpen(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kCellCount; ++i) {
            if (CellView* view = scene->game.At(i).view.get())
                view->Refresh();
        }
        state.ResumeTiming();
        DrawFrame();
    }
}
BENCHMARK(BM_FrameAfterOpen)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Picking the cube under the pointer: the ray against all 224 cubes and the core.
void BM_PickCell(benchmark::State& state)
{
    const QRect picture = scene->view.contentsRect();
    int x = 0;
    for (auto _ : state) {
        x = (x + 37) % picture.width();
        benchmark::DoNotOptimize(
            PickCell(scene->renderer.camera, picture.width(), picture.height(), scene->game, x + 0.5, 200.5));
    }
}
BENCHMARK(BM_PickCell)->Unit(benchmark::kMicrosecond);

// A click on a cube to the screen: the pick, the new cursor and its marks, and the
// frame that shows them (the changed cubes rebuilt).
void BM_ClickToScreen(benchmark::State& state)
{
    const QRect picture = scene->view.contentsRect();
    BoxCursor cursor;
    int x = 0;
    DrawFrame();
    for (auto _ : state) {
        x = (x + 53) % picture.width();
        const BoxHit hit =
            PickCell(scene->renderer.camera, picture.width(), picture.height(), scene->game, x + 0.5, 150.5);
        if (hit.cell >= 0)
            cursor = ChooseCell(cursor, scene->game.At(hit.cell));
        MarkSelection(scene->game, cursor);
        DrawFrame();
    }
    MarkSelection(scene->game, BoxCursor{});
}
BENCHMARK(BM_ClickToScreen)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// A letter typed on the box to the screen, with an entry marked: the letter, the
// cursor's step and its marks, and the frame.
void BM_KeyToScreen(benchmark::State& state)
{
    Entry& entry = *scene->game.Across().At(5);
    // Revealed letters stay under typing: this entry is cleared to take new ones.
    ClearEntry(entry);
    BoxCursor cursor = CursorAt(&entry);
    uint8_t letter = 1;
    MarkSelection(scene->game, cursor);
    DrawFrame();
    for (auto _ : state) {
        if (cursor.cell == entry.cells.At(entry.cells.Count() - 1))
            cursor = {entry.cells.At(0), kAcross};
        letter = static_cast<uint8_t>(letter % 26 + 1);
        TypeLetter(cursor, letter, nullptr);
        MarkSelection(scene->game, cursor);
        DrawFrame();
    }
    MarkSelection(scene->game, BoxCursor{});
}
BENCHMARK(BM_KeyToScreen)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto owned = std::make_unique<Scene>();
    scene = owned.get();
    OpenEveryCell(scene->game);
    scene->view.resize(475, 437);
    if (!scene->renderer.InitDevice(scene->view)) {
        std::fprintf(stderr, "%s\n", qPrintable(scene->renderer.InitFailureMessage()));
        return 1;
    }
    scene->view.SetRenderer(&scene->renderer);
    for (const int32_t id : kSceneTextures)
        scene->renderer.LoadResourceTexture(id);
    scene->renderer.SetGame(&scene->game);
    scene->view.show();
    if (!QTest::qWaitForWindowExposed(&scene->view))
        return 1;
    DrawFrame();
    QOpenGLWidget& canvas = *scene->view.Canvas();
    canvas.makeCurrent();
    std::printf("cubes: %lld, renderer: %s\n", static_cast<long long>(scene->renderer.CubesBuilt()),
                reinterpret_cast<const char*>(canvas.context()->functions()->glGetString(GL_RENDERER)));
    canvas.doneCurrent();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
