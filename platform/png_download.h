#pragma once

// The page's pictures: an RGB picture offered to the player as a PNG file to download, the
// browser encoding it (a 2D canvas's own PNG). The page's stand-in for the desktop's PNG files
// in the screenshot folder: a page can write no file of the player's own.
#include <string>
#include <vector>

// `bottomUpRgb` holds width by height RGB pixels, the bottom row first (as OpenGL reads them
// back); `name` is the file name the download proposes.
void offerPngDownload(const std::string& name, int width, int height,
                      const std::vector<unsigned char>& bottomUpRgb);
