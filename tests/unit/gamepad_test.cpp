// The gamepad through the real idle handler: SDL's virtual pads, plugged in and pulled out
// in-process, stand in for real ones.
#include "engine/mesh.h"
#include "flow_driver.h"
#include "platform/gamepad.h"
#include "player/settings.h"

#include <SDL2/SDL.h>

#include <array>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

using Inputs = std::array<float, 4>; // padX, padY, arrowX, arrowY

// Axis values as SDL counts them: y grows downwards.
constexpr Sint16 Max = 32767;
constexpr Sint16 Min = -32768;
constexpr Sint16 Half = 16384;

// A ball that records the four inputs the world step hands it (the keypad's pair by way of
// the globals the step was given).
class InputProbe final : public Ball {
  public:
    Inputs seen{};
    int moves = 0;

    InputProbe() {
        position = velocity = ZeroVector;
        radius = 1.0f;
        mass = driveForce = 0.0f;
        label = "PROBE";
        displayList = DisplayListSentinel;
        stunFrames = fallen = 0;
        world = &gameWorld;
    }
    int move(const float& x, const float& y) override {
        seen = {padX, padY, x, y};
        ++moves;
        return 0;
    }
    void buildModel() override {}
};

class VirtualPad {
  public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        joystick = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
        id = SDL_JoystickInstanceID(joystick);
    }
    ~VirtualPad() { pullOut(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    void axis(SDL_GameControllerAxis a, Sint16 value) {
        SDL_JoystickSetVirtualAxis(joystick, a, value);
    }
    void button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(joystick, b, down ? 1 : 0);
    }
    void dpad(int x, int y) {
        button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, x < 0);
        button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, x > 0);
        button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, y < 0);
        button(SDL_CONTROLLER_BUTTON_DPAD_UP, y > 0);
    }
    void pullOut() {
        if (joystick == nullptr) {
            return;
        }
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id) {
                SDL_JoystickDetachVirtual(i);
            }
        }
        SDL_JoystickClose(joystick);
        joystick = nullptr;
    }

  private:
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID id = -1;
};

// What the flow got from its pad door in the last frame.
GamepadState lastPad;
GamepadState readAndKeep() {
    lastPad = readGamepad();
    return lastPad;
}

class Gamepad : public FlowDriver {
  protected:
    InputProbe* probe = nullptr;

    void SetUp() override {
        FlowDriver::SetUp();
        openGamepad();
        for (int n = 0; n < 1000 && !gamepadRunning(); ++n) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_TRUE(gamepadRunning());
        readGamepad(); // forgets a pad that an earlier test pulled out
        gamepadInput = readAndKeep;
        setGamepadDeadZone(static_cast<float>(DeadZoneSetting.initial));
    }

    void TearDown() override {
        setGamepadDeadZone(0.0f);
        FlowDriver::TearDown();
    }

    // Play on with the probe as the only ball.
    void playWithProbe() {
        static const RosterEntry noBalls[RosterRows] = {};
        stageNumber = 1;
        gameWorld.createRoster(noBalls);
        probe = new InputProbe;
        gameWorld.balls[gameWorld.ballCount++] = probe;
        gameState = Playing;
    }
};

// Exact where the pad is at rest, in its dead zone or at full travel; otherwise as near as
// the float arithmetic goes.
void expectInputs(const Inputs& seen, const Inputs& expected, const char* what) {
    for (size_t i = 0; i < seen.size(); ++i) {
        if (std::fabs(expected[i]) == 1.0f || expected[i] == 0.0f) {
            EXPECT_EQ(seen[i], expected[i]) << what << ", input " << i;
        } else {
            EXPECT_NEAR(seen[i], expected[i], 1e-4f) << what << ", input " << i;
        }
    }
}

} // namespace

TEST_F(Gamepad, SticksAndDpadAddToTheKeysPastARadialDeadZone) {
    playWithProbe();
    VirtualPad pad;
    // Sticks: left x, left y, right x, right y. Inputs: padX, padY, arrowX, arrowY.
    // clang-format off
    const struct {
        Sint16 sticks[4];
        int dpadX, dpadY;
        unsigned char key;
        int specialKey;
        Inputs expected;
        const char* what;
    } table[] = {
        {{0, 0, 0, 0},                 0, 0, 0, 0, {0, 0, 0, 0}, "at rest"},
        {{8000, 0, -5600, 5600},       0, 0, 0, 0, {0, 0, 0, 0}, "inside the dead zone"},
        // 0.19 on each axis is outside the circle: a dead zone per axis would drop both.
        {{6226, -6226, 0, 0},          0, 0, 0, 0, {0, 0, 0.0176f, 0.0176f}, "a small diagonal"},
        {{Half, 0, 0, -Half},          0, 0, 0, 0, {0, 0.3333f, 0.3333f, 0}, "half way, rescaled"},
        {{-23170, -23170, 23170, 23170}, 0, 0, 0, 0, {0.7071f, -0.7071f, -0.7071f, 0.7071f},
         "a round pad's diagonal"},
        // Past 1 before the limit: against the digit "4" it would leave some tip.
        {{Max, Max, Max, Min},         0, 0, '4', 0, {0, 1, 1, -1}, "a square pad's corner"},
        {{Min, 0, 0, Max},             0, 0, 0, 0, {0, -1, -1, 0}, "full travel"},
        {{0, 0, Max, 1000},            0, 0, 0, 0, {1, -0.0305f, 0, 0}, "full travel, y off"},
        {{0, 0, 0, 0},                 1, 1, 0, 0, {0, 0, 1, 1}, "the D-pad"},
        {{0, 0, -Half, 0},             0, 0, '6', 0, {0.6667f, 0, 0, 0}, "stick and digit"},
        {{0, 0, Max, -Half},           0, 0, '9', 0, {1, 1, 0, 0}, "stick and digit, limited"},
        {{0, 0, Min, 0},               0, 0, '6', 0, {0, 0, 0, 0}, "stick against digit"},
        {{Min, 0, 0, 0},              -1, 0, 0, LeftKey, {0, 0, -1, 0}, "all three left"},
        {{Half, 0, 0, 0},              0, 0, 0, UpKey, {0, 0, 0.3333f, 1}, "arrow and stick"},
    };
    // clang-format on
    for (const auto& row : table) {
        for (int axis = 0; axis < 4; ++axis) {
            pad.axis(static_cast<SDL_GameControllerAxis>(axis), row.sticks[axis]);
        }
        pad.dpad(row.dpadX, row.dpadY);
        lastKey = row.key;
        lastSpecialKey = row.specialKey;
        frame();
        expectInputs(probe->seen, row.expected, row.what);
    }
    // A damaged recording handed back through the same door.
    lastKey = '6';
    lastSpecialKey = 0;
    gamepadInput = [] {
        GamepadState damaged;
        damaged.leftX = damaged.rightY = std::nanf("");
        return damaged;
    };
    frame();
    expectInputs(probe->seen, {1, 0, 0, 0}, "no number");
}

TEST_F(Gamepad, ButtonsActOncePerPressAsTheirKeys) {
    playStage(3);
    VirtualPad pad;
    auto hold = [&](SDL_GameControllerButton b, int frameCount) {
        pad.button(b, true);
        frames(frameCount);
        pad.button(b, false);
        frame();
    };
    press('8');
    hold(SDL_CONTROLLER_BUTTON_START, 5);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(lastKey, '8') << "the keyboard's stored digit is its own";
    press('5');
    // A tap between two frames still counts. A real pad's driver queues both the press and
    // the release; a virtual pad needs an update in between.
    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    SDL_GameControllerUpdate();
    pad.button(SDL_CONTROLLER_BUTTON_START, false);
    frame();
    EXPECT_EQ(paused, 0);

    hold(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 5);
    EXPECT_EQ(waitLevel, 1);
    EXPECT_EQ(waitShow, 37);
    hold(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 5);
    EXPECT_EQ(waitLevel, 0);
    // Two presses in one frame both act.
    pad.button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    hold(SDL_CONTROLLER_BUTTON_START, 1);
    EXPECT_EQ(waitLevel, 1);
    EXPECT_EQ(paused, 1);
    press('p');
    frame();
    ASSERT_EQ(paused, 0);

    beepsHeard.clear();
    // Giving up sets the countdown once: held, it would stay at 9.
    pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
    frames(3);
    EXPECT_EQ(gameState, GameOver);
    EXPECT_EQ(countdown, 7);
    EXPECT_EQ(beepsHeard.size(), 3u);
}

// Plugged in on the title: a stick, the D-pad, South or Start starts stage 1.
TEST_F(Gamepad, OnTheTitleAPadJustPluggedInStartsAGame) {
    // clang-format off
    const struct {
        SDL_GameControllerAxis axis;
        Sint16 value;
        SDL_GameControllerButton button;
        bool starts;
    } title[] = {
        {SDL_CONTROLLER_AXIS_LEFTY, Min,     SDL_CONTROLLER_BUTTON_INVALID,   true},
        {SDL_CONTROLLER_AXIS_RIGHTX, Half,   SDL_CONTROLLER_BUTTON_INVALID,   true},
        {SDL_CONTROLLER_AXIS_INVALID, 0,     SDL_CONTROLLER_BUTTON_DPAD_DOWN, true},
        {SDL_CONTROLLER_AXIS_INVALID, 0,     SDL_CONTROLLER_BUTTON_A,         true},
        {SDL_CONTROLLER_AXIS_LEFTX, 5000,    SDL_CONTROLLER_BUTTON_INVALID,   false},
        {SDL_CONTROLLER_AXIS_INVALID, 0,     SDL_CONTROLLER_BUTTON_START,     true},
        {SDL_CONTROLLER_AXIS_INVALID, 0,     SDL_CONTROLLER_BUTTON_BACK,      false},
    };
    // clang-format on
    for (const auto& row : title) {
        SetUp();
        VirtualPad pad;
        if (row.axis != SDL_CONTROLLER_AXIS_INVALID) {
            pad.axis(row.axis, row.value);
        }
        if (row.button != SDL_CONTROLLER_BUTTON_INVALID) {
            pad.button(row.button, true);
        }
        frame();
        EXPECT_EQ(gameState, row.starts ? StageIntro : Title)
            << "axis " << row.axis << ", button " << row.button;
        EXPECT_EQ(paused, 0);
    }
}

// In play: without a pad nothing is read and nothing is printed; a pad is used from the frame
// it is plugged in, and pulling it out zeroes it and pauses the game until a pad resumes it.
TEST_F(Gamepad, APadPulledOutInPlayZeroesItAndPauses) {
    playWithProbe();
    testing::internal::CaptureStderr();
    frames(3);
    EXPECT_EQ(lastPad, GamepadState{});
    auto first = std::make_unique<VirtualPad>();
    first->axis(SDL_CONTROLLER_AXIS_LEFTX, Max);
    VirtualPad second;
    second.axis(SDL_CONTROLLER_AXIS_LEFTX, Min);
    frame();
    EXPECT_EQ(probe->seen, (Inputs{0, 0, 1, 0})) << "the first connected pad is the one used";

    first->pullOut();
    const int moves = probe->moves;
    frame();
    GamepadState pulledOut;
    pulledOut.disconnected = true;
    EXPECT_EQ(lastPad, pulledOut);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(probe->moves, moves) << "the world waits";
    second.button(SDL_CONTROLLER_BUTTON_START, true);
    frame();
    EXPECT_EQ(paused, 0) << "the other pad resumes";
    EXPECT_EQ(probe->seen, (Inputs{0, 0, -1, 0}));
    second.pullOut();
    frame();
    press('p');
    frame();
    EXPECT_EQ(probe->seen, (Inputs{0, 0, 0, 0}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// The keyboard's stage-one clear (see the scripted games) played with the pad at full travel
// from the title: the same inputs, the same game.
TEST_F(Gamepad, APadPlaysAGameFromTheTitleToGivingUp) {
    VirtualPad pad;
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    frame();
    ASSERT_EQ(gameState, StageIntro);
    while (gameState != Go) {
        frame();
    }
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, Max);
    frames(10);
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, 0);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, Max);
    EXPECT_EQ(10 + framesUntilStateChanges(200) + framesUntilStateChanges(200), 57);
    EXPECT_EQ(gameState, StageClear);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    while (gameState != Playing) {
        frame();
    }
    ASSERT_EQ(stageNumber, 2);
    pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
    frame();
    EXPECT_EQ(framesUntilStateChanges(100), 10);
    EXPECT_EQ(gameState, Title);
}

// Players hand pads over: a press, or a stick past the dead zone, on another pad takes over.
// The dead zone is the player's setting.
TEST_F(Gamepad, ThePadLastTouchedTakesOverPastTheDeadZoneSet) {
    playWithProbe();
    VirtualPad first;
    VirtualPad second;
    first.axis(SDL_CONTROLLER_AXIS_LEFTX, Max);
    frames(2);
    EXPECT_EQ(probe->seen, (Inputs{0, 0, 1, 0}));
    second.axis(SDL_CONTROLLER_AXIS_LEFTX, 5000); // within a quarter of the travel
    frame();
    EXPECT_EQ(probe->seen, (Inputs{0, 0, 1, 0})) << "a stick at rest takes nothing over";
    second.axis(SDL_CONTROLLER_AXIS_LEFTX, Min);
    frame();
    EXPECT_EQ(probe->seen, (Inputs{0, 0, -1, 0}));
    first.button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    frame();
    EXPECT_EQ(probe->seen, (Inputs{0, 0, 1, 0}));
    EXPECT_EQ(waitLevel, 1) << "the press that takes over counts";

    setGamepadDeadZone(0.1f);
    first.axis(SDL_CONTROLLER_AXIS_LEFTX, 5000);
    frame();
    expectInputs(probe->seen, {0, 0, (5000 / 32767.0f - 0.1f) / 0.9f, 0}, "past a tenth");
}
