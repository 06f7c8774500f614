#pragma once

// A stick's travel as every gamepad backend gives it to the game: the dead zone and the
// rescaling past it (gamepad_sdl.cpp on the desktop, gamepad_web.cpp in the page).
#include <algorithm>
#include <cmath>

// Past the dead zone the rest of the travel is stretched to the whole: a share of 1 or more
// would leave none.
inline constexpr float MostDeadZone = 0.99f;

struct Stick {
    float x;
    float y;
};

// The dead zone is a circle, so a push keeps its direction; beyond it the length is rescaled
// to start at 0 on the circle and reach 1 at full travel. Pads whose travel is square reach
// past 1 on the diagonals: each axis is limited there, not the length, so their corners tip
// both ways at full strength.
inline Stick outsideDeadZone(float x, float y, float deadZone) {
    const float length = std::hypot(x, y);
    if (length <= deadZone) {
        return {0.0f, 0.0f};
    }
    const float scale = (length - deadZone) / (1.0f - deadZone) / length;
    return {std::clamp(x * scale, -1.0f, 1.0f), std::clamp(y * scale, -1.0f, 1.0f)};
}
