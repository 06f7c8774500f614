// The cost of one displayed frame: onDisplay without its frame wait (drawing, glFlush and the
// buffer swap, finished with glFinish), in a real GLUT window under Mesa's software renderer.
// Needs a display at least 2000 pixels square, for instance:
//   xvfb-run -a -s "-screen 0 2100x2100x24" build/bench/tumbra-bench-display
#include "engine/game_state.h"
#include "engine/stages.h"
#include "shell/frame_display.h"
#include "shell/options.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

namespace {

// Stage 4 under "GO !!": seven balls on a lit bowl, the heads-up display and a centre text.
constexpr int SceneStage = 4;

struct Window {
    int id = 0;
    int size = 0;
    int depth = 0;
};

Window current;

// One window per configuration, set up as the game's start does; a new configuration
// replaces the window (display lists belong to its context, so the game is set up again).
bool openWindow(int size, int depth) {
    if (current.id != 0 && current.size == size && current.depth == depth) {
        return true;
    }
    if (current.id != 0) {
        glutDestroyWindow(current.id);
    }
    optDepthBuffer = depth;
    glutInitWindowSize(size, size);
    glutInitDisplayMode(depth ? GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH : GLUT_RGB | GLUT_DOUBLE);
    current = {glutCreateWindow(WindowTitle), size, depth};
    glutDisplayFunc([] {});
    for (int i = 0; i < 20; ++i) {
        glutMainLoopEvent();
    }
    gameInit();
    onReshape(size, size);
    stageNumber = SceneStage;
    loadStage();
    gameState = Go;
    countdown = 10;
    return glutGet(GLUT_WINDOW_WIDTH) == size && glutGet(GLUT_WINDOW_HEIGHT) == size;
}

void BM_Display(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const int depth = static_cast<int>(state.range(1));
    if (!openWindow(size, depth)) {
        state.SkipWithError("the display is too small for the window");
        return;
    }
    for (auto _ : state) {
        drawFrame();
        glFlush();
        glutSwapBuffers();
        glFinish();
    }
}
BENCHMARK(BM_Display)
    ->ArgNames({"size", "depth"})
    ->Args({400, 0})
    ->Args({400, 1})
    ->Args({2000, 0})
    ->Args({2000, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
