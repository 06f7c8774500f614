#pragma once

// PNG pictures, through libpng.
#include <string>
#include <vector>

// The file's bytes for an 8-bit RGB picture given bottom row first (as OpenGL reads it back);
// empty when libpng fails.
std::string encodePng(int width, int height, const std::vector<unsigned char>& bottomUpRgb);
