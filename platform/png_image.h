#pragma once

// PNG pictures, through libpng, which is loaded by the first encoding rather than at exec.
#include <string>
#include <vector>

// The file's bytes for an 8-bit RGB picture given bottom row first (as OpenGL reads it back);
// empty when libpng fails or cannot be loaded (said once on stderr).
std::string encodePng(int width, int height, const std::vector<unsigned char>& bottomUpRgb);
