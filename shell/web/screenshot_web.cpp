// The screenshot in the page: the picture just drawn, offered as a PNG file to download.
#include "app/screenshot.h"

#include "platform/png_download.h"

#include <ctime>

namespace {

// tumbra-2026-12-07-14-30-05.png, in local time, as the desktop names its screenshots.
std::string fileName() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[64];
    std::strftime(name, sizeof name, "tumbra-%Y-%m-%d-%H-%M-%S.png", &local);
    return name;
}

} // namespace

void takeScreenshot(int width, int height, const PictureReader& readPicture) {
    if (width > 0 && height > 0) {
        offerPngDownload(fileName(), width, height, readPicture(width, height));
    }
}
