#include "app/screenshot.h"

#include "app/player_files.h"
#include "app/window.h"
#include "platform/png_image.h"
#include "platform/user_files.h"

#include <GL/gl.h>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int RgbBytes = 3;

// Screenshots waiting for the writer thread each hold a whole picture: F12 pressed fast, or a
// slow disk, must not pile them up without bound.
constexpr int MostPendingScreenshots = 2;
std::atomic<int> pendingScreenshots{0};

// tumbra-2026-12-07-14-30-05.png, in local time.
std::string fileName() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[64];
    std::strftime(name, sizeof name, "tumbra-%Y-%m-%d-%H-%M-%S.png", &local);
    return name;
}

} // namespace

void takeScreenshot() {
    const std::string folder = screenshotFolder();
    if (folder.empty()) {
        sayNoHome();
        return;
    }
    const int width = windowWidth;
    const int height = windowHeight;
    if (width <= 0 || height <= 0) {
        return;
    }
    if (pendingScreenshots.load() >= MostPendingScreenshots) {
        std::fprintf(stderr, "tumbra: screenshot skipped: the last ones are still being saved\n");
        return;
    }
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * RgbBytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    saveNewFileInBackground(folder + "/" + fileName(), [width, height, pixels = std::move(pixels)] {
        return encodePng(width, height, pixels);
    });
    ++pendingScreenshots;
    // Runs once the save queued before it is done.
    workInBackground([] { --pendingScreenshots; });
}
