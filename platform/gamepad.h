#pragma once

// The first connected game controller, read once a frame as plain values: a recording can
// store them and a replay hand them back. Standard layout (SDL's mapping database, and
// SDL_GAMECONTROLLERCONFIG for other pads). Until openGamepad has run, and with no pad, every
// read is all zero, costs next to nothing and prints nothing.

// Buttons, as bits of GamepadState::pressed.
enum GamepadButton : unsigned {
    GamepadSouth = 1u << 0,
    GamepadBack = 1u << 1,
    GamepadStart = 1u << 2,
    GamepadLeftShoulder = 1u << 3,
    GamepadRightShoulder = 1u << 4,
};

struct GamepadState {
    // Sticks after the dead zone, each axis -1..1: x is left (-1) to right (+1), y down (-1)
    // to up (+1).
    float leftX = 0.0f;
    float leftY = 0.0f;
    float rightX = 0.0f;
    float rightY = 0.0f;
    // The D-pad held, -1, 0 or +1 on the same axes.
    int dpadX = 0;
    int dpadY = 0;
    // GamepadButton bits pressed since the last read; a button held down counts once.
    unsigned pressed = 0;
    // The pad in use was pulled out since the last read.
    bool disconnected = false;

    bool operator==(const GamepadState&) const = default;
};

// Starts SDL's game-controller subsystem on a thread of its own: finding the devices can take
// a while, so the first frames never wait for it. Later calls do nothing.
void openGamepad();
// True once the subsystem runs and reads can see a pad.
bool gamepadRunning();
// The share of a stick's travel within which it counts as at rest, as the settings give it
// (none until set; at most 0.99). Main thread only.
void setGamepadDeadZone(float share);
// This frame's state of the pad in use. Main thread only.
GamepadState readGamepad();
