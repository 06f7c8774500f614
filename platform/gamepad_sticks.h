#pragma once

// A stick's travel as every gamepad backend gives it to the game: the dead zone and the
// rescaling past it (gamepad_sdl.cpp on the desktop, gamepad_web.cpp in the page).
#include <algorithm>
#include <cmath>

// Pads rest a little off centre, some within about 8000 of 32767 (SDL's own
// advice); a quarter covers them. It matters most on the left stick: past the dead zone the
// ball is driven at full strength in the direction pushed.
inline constexpr float DefaultDeadZone = 0.25f;
inline constexpr float LargestDeadZone = 0.9f;

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
