// tumbra-snapshot [--depth-buffer] [--normalize] STAGE FRAMES OUT.ppm [SIZE [SCHEDULE]]
//
// Runs the game in its window from the moment stage STAGE - 1 is cleared (STAGE 23: the last
// stage, so the all-clear screen and the ending follow; STAGE 0: the title as the program
// starts), FRAMES frames of the real game flow and display, and writes the last frame as a
// binary PPM picture. For pictures of screens that playing would take long to reach, and the
// golden pictures; needs a display. Silent. The two options are the game's /d and /n.
// SIZE is the square window's side in pixels (100 to 2000, as the window keys allow;
// default 400): the icons are drawn large and scaled down.
// SCHEDULE is a stage's key schedule (tools/solutions/README.md), its frames counted from the
// frame that loads the stage; without it no key is pressed.
#include "engine/game_state.h"
#include "engine/stages.h"
#include "flow/game_flow.h"
#include "shell/frame_display.h"
#include "shell/options.h"
#include "shell/window.h"
#include "tools/schedule.h"
#include "tools/snapshot_frames.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int BadArguments = 2;
constexpr int CannotWrite = 1;
constexpr long SmallestSize = 100;
constexpr long LargestSize = 2000;

bool readNumber(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

bool writeBackBuffer(const char* path) {
    const int width = windowWidth;
    const int height = windowHeight;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        return false;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", width, height);
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    bool ok = true;
    for (int y = height - 1; y >= 0; --y) { // the picture's rows run from the top
        ok = ok && std::fwrite(&rgb[y * row], 1, row, out) == row;
    }
    return std::fclose(out) == 0 && ok;
}

// The leading options; returns how many arguments they took.
int readDrawingOptions(int argc, char** argv) {
    int taken = 0;
    for (int i = 1; i < argc; ++i, ++taken) {
        const std::string option = argv[i];
        if (option == "--depth-buffer") {
            optDepthBuffer = 1;
        } else if (option == "--normalize") {
            optNormalize = 1;
        } else {
            break;
        }
    }
    return taken;
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    const int options = readDrawingOptions(argc, argv);
    argc -= options;
    argv += options;
    long stage = 0;
    long frames = 0;
    long size = StartWindowSize;
    if (argc < 4 || argc > 6 || !readNumber(argv[1], TitleStage, EndingStage, stage) ||
        !readNumber(argv[2], 1, 100000, frames) ||
        (argc >= 5 && !readNumber(argv[4], SmallestSize, LargestSize, size))) {
        std::fprintf(stderr, "usage: tumbra-snapshot [--depth-buffer] [--normalize] STAGE FRAMES "
                             "OUT.ppm [SIZE [SCHEDULE]]  (STAGE 0 to 23, SIZE 100 to 2000)\n");
        return BadArguments;
    }
    Replay schedule;
    std::string error;
    if (argc == 6 && !readScheduleFile(argv[5], schedule.events, error)) {
        std::fprintf(stderr, "tumbra-snapshot: %s\n", error.c_str());
        return BadArguments;
    }
    optSilent = 1;
    glutInitWindowSize(static_cast<int>(size), static_cast<int>(size));
    glutInitDisplayMode(optDepthBuffer ? GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH
                                       : GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(WindowTitle);
    gameInit();
    onReshape(static_cast<int>(size), static_cast<int>(size));

    startPictureAt(static_cast<int>(stage));
    runPictureFrames(static_cast<int>(stage), frames, schedule, drawFrame);
    if (!writeBackBuffer(argv[3])) {
        std::fprintf(stderr, "tumbra-snapshot: cannot write %s\n", argv[3]);
        return CannotWrite;
    }
    return 0;
}
