#include "flow/window_view.h"

#include "engine/frame_view.h"

#include <algorithm>

int windowWidth = StartWindowSize;
int windowHeight = StartWindowSize;
int textScale = 1;
float charWidth = 0.0f;
float lineHeight = 0.0f;
WindowRequests windowRequests;

namespace {

// 180 / width eye units are one 10-pixel glyph advance at the near plane; the largest double
// below 180 keeps the texts' historical placement.
constexpr double CharWidthPixels = 179.99999999999997;
constexpr double LineHeightPixels = 300.0;

} // namespace

void setTextUnits(int side) {
    textScale = std::clamp(side / StartWindowSize, 1, MaxTextScale);
    charWidth = static_cast<float>(CharWidthPixels * textScale / side);
    lineHeight = static_cast<float>(LineHeightPixels * textScale / side);
}
