// The gamepad in the page: the browser's Gamepad API through emscripten's html5 functions,
// polled once a frame. Only pads in the standard mapping count: their buttons and axes sit
// where the desktop's game controllers have theirs.
#include "platform/gamepad.h"

#include "platform/gamepad_sticks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <emscripten/html5.h>
#include <vector>

namespace {

// The standard mapping's buttons and axes.
constexpr int DpadUp = 12;
constexpr int DpadDown = 13;
constexpr int DpadLeft = 14;
constexpr int DpadRight = 15;
constexpr int StandardButtons = 16;
constexpr int LeftX = 0;
constexpr int LeftY = 1;
constexpr int RightX = 2;
constexpr int RightY = 3;
constexpr int StandardAxes = 4;

struct ButtonBit {
    int button;
    GamepadButton bit;
};

constexpr ButtonBit ButtonBits[] = {
    {0, GamepadSouth},        {8, GamepadBack},          {9, GamepadStart},
    {4, GamepadLeftShoulder}, {5, GamepadRightShoulder},
};

// One pad as the last frame saw it.
struct PadSeen {
    bool connected = false;
    unsigned buttons = 0; // bit b: standard button b held
    float axes[StandardAxes] = {};
};

// One pad as this frame sees it, and what it did since the last.
struct PadNow {
    PadSeen seen;
    unsigned pressed = 0; // standard buttons that went down
    bool woke = false;    // a press, or a stick moved past the dead zone
};

bool opened = false;
float deadZone = 0.0f; // until the settings give theirs
std::vector<PadSeen> lastSeen;
int inUse = -1; // the index of the pad in use, -1 for none

PadNow samplePad(int index, float zone) {
    PadNow now;
    EmscriptenGamepadEvent pad;
    if (emscripten_get_gamepad_status(index, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected ||
        std::strcmp(pad.mapping, "standard") != 0 || pad.numButtons < StandardButtons ||
        pad.numAxes < StandardAxes) {
        return now;
    }
    const PadSeen before = index < static_cast<int>(lastSeen.size()) ? lastSeen[index] : PadSeen{};
    now.seen.connected = true;
    for (int b = 0; b < StandardButtons; ++b) {
        now.seen.buttons |= pad.digitalButton[b] ? 1u << b : 0u;
    }
    now.pressed = now.seen.buttons & ~before.buttons;
    now.woke = now.pressed != 0;
    for (int a = 0; a < StandardAxes; ++a) {
        now.seen.axes[a] = static_cast<float>(pad.axis[a]);
        now.woke |= std::abs(now.seen.axes[a]) > zone && now.seen.axes[a] != before.axes[a];
    }
    return now;
}

// Another pad pressed or pushed takes over from the one in use: players hand pads over
// without a menu. With none in use the first one there is taken.
void choosePad(const std::vector<PadNow>& pads) {
    for (int i = 0; i < static_cast<int>(pads.size()); ++i) {
        if (pads[i].woke && i != inUse) {
            inUse = i;
            return;
        }
    }
    if (inUse < 0) {
        const auto first = std::find_if(pads.begin(), pads.end(),
                                        [](const PadNow& pad) { return pad.seen.connected; });
        inUse = first == pads.end() ? -1 : static_cast<int>(first - pads.begin());
    }
}

bool held(const PadNow& pad, int button) {
    return (pad.seen.buttons & (1u << button)) != 0;
}

// The browser counts y downwards; here up is up.
GamepadState stateOf(const PadNow& pad) {
    GamepadState state;
    const float* axes = pad.seen.axes;
    const Stick left = outsideDeadZone(axes[LeftX], -axes[LeftY], deadZone);
    const Stick right = outsideDeadZone(axes[RightX], -axes[RightY], deadZone);
    state.leftX = left.x;
    state.leftY = left.y;
    state.rightX = right.x;
    state.rightY = right.y;
    state.dpadX = held(pad, DpadRight) - held(pad, DpadLeft);
    state.dpadY = held(pad, DpadUp) - held(pad, DpadDown);
    for (const ButtonBit& b : ButtonBits) {
        state.pressed |= (pad.pressed & (1u << b.button)) != 0 ? b.bit : 0u;
    }
    return state;
}

} // namespace

void openGamepad() {
    opened = true;
}

bool gamepadRunning() {
    return opened;
}

void setGamepadDeadZone(float share) {
    deadZone = std::clamp(share, 0.0f, MostDeadZone);
}

// Pads come and go as the browser lists them: one plugged in is seen at the next frame, and
// the pad in use pulled out gives its inputs up at once, another taking its place from the
// next frame.
GamepadState readGamepad() {
    if (!opened || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) {
        return {};
    }
    std::vector<PadNow> pads(static_cast<std::size_t>(std::max(emscripten_get_num_gamepads(), 0)));
    for (int i = 0; i < static_cast<int>(pads.size()); ++i) {
        pads[i] = samplePad(i, deadZone);
    }
    lastSeen.clear();
    for (const PadNow& pad : pads) {
        lastSeen.push_back(pad.seen);
    }
    if (inUse >= 0 && (inUse >= static_cast<int>(pads.size()) || !pads[inUse].seen.connected)) {
        inUse = -1;
        GamepadState gone;
        gone.disconnected = true;
        return gone;
    }
    choosePad(pads);
    return inUse < 0 ? GamepadState{} : stateOf(pads[inUse]);
}
