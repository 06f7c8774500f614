// The gamepad on SDL's game-controller subsystem. The game keeps its GLUT window; SDL only
// reads the pad, polled once a frame with no event loop of its own.
#include "platform/gamepad.h"

#include "platform/gamepad_sticks.h"
#include "platform/sdl_subsystems.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

constexpr float FullTravel = 32767.0f;
// Finding newly plugged devices costs SDL two system calls a look; with no pad in use the
// game looks ten times a second, so a frame without a pad costs next to nothing.
constexpr Uint64 LookForPadsEveryMs = 100;

struct ButtonBit {
    SDL_GameControllerButton button;
    GamepadButton bit;
};

constexpr ButtonBit ButtonBits[] = {
    {SDL_CONTROLLER_BUTTON_A, GamepadSouth},
    {SDL_CONTROLLER_BUTTON_BACK, GamepadBack},
    {SDL_CONTROLLER_BUTTON_START, GamepadStart},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, GamepadLeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, GamepadRightShoulder},
};

std::atomic<bool> opened{false};
std::atomic<bool> running{false};
// The start of the subsystem; a jthread, so that an exit during the start waits for it
// rather than pull SDL away from under it.
std::jthread starter;

float deadZone = 0.0f; // until the settings give theirs

// Touched by the main thread only, once `running` is set. Every pad plugged in is open, so
// that its presses are seen; `controller` is the one in use.
SDL_GameController* controller = nullptr;
std::vector<SDL_GameController*> others;
int joysticksSeen = 0;
Uint64 nextLookMs = 0;

float readAxis(SDL_GameControllerAxis axis) {
    // -32768 is one step beyond full travel.
    return std::max(sdl().gameControllerGetAxis(controller, axis) / FullTravel, -1.0f);
}

// SDL counts y downwards; here up is up.
Stick readStick(SDL_GameControllerAxis xAxis, SDL_GameControllerAxis yAxis) {
    return outsideDeadZone(readAxis(xAxis), -readAxis(yAxis), deadZone);
}

int readDpadAxis(SDL_GameControllerButton minus, SDL_GameControllerButton plus) {
    return sdl().gameControllerGetButton(controller, plus) -
           sdl().gameControllerGetButton(controller, minus);
}

SDL_JoystickID idOf(SDL_GameController* pad) {
    return sdl().joystickInstanceID(sdl().gameControllerGetJoystick(pad));
}

// Another pad whose button is pressed, or whose stick or trigger moves past the dead zone,
// takes over from the one in use: players hand pads over without a menu.
bool wakesOtherPad(const SDL_Event& event, SDL_JoystickID inUse) {
    if (event.type == SDL_CONTROLLERBUTTONDOWN) {
        return event.cbutton.which != inUse;
    }
    return event.caxis.which != inUse && std::abs(event.caxis.value / FullTravel) > deadZone;
}

void takeOver(SDL_JoystickID id) {
    for (SDL_GameController*& other : others) {
        if (idOf(other) == id) {
            std::swap(other, controller);
            return;
        }
    }
}

// Presses come from SDL's events, so a tap shorter than a frame still counts. Every other
// pad event is dropped: nothing else reads SDL's queue.
unsigned takePresses() {
    unsigned pressed = 0;
    SDL_Event event;
    while (sdl().peepEvents(&event, 1, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION,
                            SDL_CONTROLLERBUTTONDOWN) > 0) {
        if (wakesOtherPad(event, idOf(controller))) {
            takeOver(event.type == SDL_CONTROLLERBUTTONDOWN ? event.cbutton.which
                                                            : event.caxis.which);
            pressed = 0;
        }
        for (const ButtonBit& b : ButtonBits) {
            if (event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.which == idOf(controller) &&
                event.cbutton.button == b.button) {
                pressed |= b.bit;
            }
        }
    }
    return pressed;
}

void dropPadEvents() {
    sdl().flushEvents(SDL_JOYAXISMOTION, SDL_CONTROLLERSENSORUPDATE);
}

// Opens the pads plugged in since the last look and lets go of those pulled out. Without a
// pad in use, the one connected first (instance ids count connections) is taken.
void openPads() {
    std::erase_if(others, [](SDL_GameController* pad) {
        if (sdl().gameControllerGetAttached(pad)) {
            return false;
        }
        sdl().gameControllerClose(pad);
        return true;
    });
    for (int i = 0; i < sdl().numJoysticks(); ++i) {
        if (sdl().isGameController(i) &&
            sdl().gameControllerFromInstanceID(sdl().joystickGetDeviceInstanceID(i)) == nullptr) {
            if (SDL_GameController* pad = sdl().gameControllerOpen(i)) {
                others.push_back(pad);
            }
        }
    }
    if (controller == nullptr && !others.empty()) {
        const auto first = std::min_element(
            others.begin(), others.end(),
            [](SDL_GameController* a, SDL_GameController* b) { return idOf(a) < idOf(b); });
        controller = *first;
        others.erase(first);
    }
}

// With no pad in use: a device SDL already knows of is taken at once, and SDL looks for new
// ones only now and then.
bool timeToLookForPads() {
    const int joysticks = sdl().numJoysticks();
    const bool changed = joysticks != joysticksSeen;
    joysticksSeen = joysticks;
    const Uint64 now = sdl().getTicks64();
    if (!changed && now < nextLookMs) {
        return false;
    }
    nextLookMs = now + LookForPadsEveryMs;
    return true;
}

GamepadState readController() {
    GamepadState state;
    state.pressed = takePresses();
    const Stick left = readStick(SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY);
    const Stick right = readStick(SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY);
    state.leftX = left.x;
    state.leftY = left.y;
    state.rightX = right.x;
    state.rightY = right.y;
    state.dpadX = readDpadAxis(SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    state.dpadY = readDpadAxis(SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_UP);
    return state;
}

// The pad in use was pulled out: its inputs are zero at once, and another pad that is plugged
// in is used from the next frame.
GamepadState forgetController() {
    sdl().gameControllerClose(controller);
    controller = nullptr;
    nextLookMs = 0;
    GamepadState state;
    state.disconnected = true;
    return state;
}

} // namespace

void openGamepad() {
    if (opened.exchange(true)) {
        return;
    }
    starter = std::jthread([] {
        running.store(startSdlSubsystems(SDL_INIT_GAMECONTROLLER), std::memory_order_release);
        // SDL frees what it keeps per thread (its error text) only for threads it made.
        endSdlThread();
    });
}

void setGamepadDeadZone(float share) {
    deadZone = std::clamp(share, 0.0f, MostDeadZone);
}

bool gamepadRunning() {
    return running.load(std::memory_order_acquire);
}

GamepadState readGamepad() {
    if (!gamepadRunning()) {
        return {};
    }
    if (controller == nullptr) {
        if (!timeToLookForPads()) {
            return {};
        }
        openPads();
    } else if (sdl().numJoysticks() != joysticksSeen) {
        // With a pad open SDL finds new devices at every update: count them, open them.
        joysticksSeen = sdl().numJoysticks();
        openPads();
    }
    sdl().gameControllerUpdate();
    GamepadState state;
    if (controller != nullptr) {
        state = sdl().gameControllerGetAttached(controller) ? readController() : forgetController();
    }
    dropPadEvents();
    return state;
}
