#pragma once

// F12: the window's picture as a PNG file in the screenshot folder, named by the time taken.
// The picture is read once the frame is drawn, before the swap, unless too many wait to be
// saved already; it is encoded and written on the writer thread, which says on stderr where
// it went.
#include <functional>
#include <vector>

// The picture drawn, width by height RGB pixels, rows from the bottom.
using PictureReader = std::function<std::vector<unsigned char>(int width, int height)>;
void takeScreenshot(int width, int height, const PictureReader& readPicture);
