#include "player/screenshot.h"

#include "platform/png_image.h"
#include "platform/user_files.h"
#include "player/player_files.h"

#include <atomic>
#include <cstdio>
#include <vector>

namespace {

// Screenshots waiting for the writer thread each hold a whole picture: F12 pressed fast, or a
// slow disk, must not pile them up without bound.
constexpr int MostPendingScreenshots = 2;
std::atomic<int> pendingScreenshots{0};

} // namespace

void takeScreenshot(int width, int height, const PictureReader& readPicture) {
    const std::string folder = screenshotFolder();
    if (folder.empty()) {
        sayNoHome();
        return;
    }
    if (width <= 0 || height <= 0) {
        return;
    }
    if (pendingScreenshots.load() >= MostPendingScreenshots) {
        std::fprintf(stderr, "tumbra: screenshot skipped: the last ones are still being saved\n");
        return;
    }
    std::vector<unsigned char> pixels = readPicture(width, height);
    saveNewFileInBackground(
        folder + "/" + screenshotFileName(),
        [width, height, pixels = std::move(pixels)] { return encodePng(width, height, pixels); });
    ++pendingScreenshots;
    // Runs once the save queued before it is done.
    workInBackground([] { --pendingScreenshots; });
}
