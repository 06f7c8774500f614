#pragma once

// One frame's gamepad values: plain numbers, no SDL types, so that a recording can store them
// and a replay can hand them back. No pad is read yet, so every frame's state is the zero
// state.
struct GamepadState {};

// The platform's pad reader, called once per frame.
inline GamepadState readGamepad() {
    return {};
}
