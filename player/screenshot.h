#pragma once

// F12: the window's picture as a PNG file in the screenshot folder, named by the time taken.
// The picture is read once the frame is drawn, before the swap, unless too many wait to be
// saved already; it is encoded and written on the writer thread, which says on stderr where
// it went.
#include <ctime>
#include <functional>
#include <string>
#include <vector>

// tumbra-2026-12-07-14-30-05.png, in local time: the desktop's file and the page's download.
inline std::string screenshotFileName() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[64];
    std::strftime(name, sizeof name, "tumbra-%Y-%m-%d-%H-%M-%S.png", &local);
    return name;
}

// The picture drawn, width by height RGB pixels, rows from the bottom.
using PictureReader = std::function<std::vector<unsigned char>(int width, int height)>;
void takeScreenshot(int width, int height, const PictureReader& readPicture);
