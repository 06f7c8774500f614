#include "flow/game_flow.h"

#include "engine/game_state.h"
#include "engine/numbers.h"
#include "engine/own_math.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "flow/flags.h"
#include "flow/input_door.h"
#include "flow/motion.h"
#include "flow/window_keys.h"
#include "flow/window_view.h"
#include "player/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

BeepOutput beepOutput = nullptr;
GamepadInput gamepadInput = nullptr;
std::span<const FrameListener> frameListeners;
WindowSizeListener windowSizeListener = nullptr;

namespace {

constexpr double EnlargeFactor = 1.25;
constexpr double ReduceFactor = 0.8;

constexpr int WaitShowFrames = 40;
constexpr int WaitShowPerLevel = 3;

constexpr int IntroFrames = 60;
constexpr int ReadyFrames = 20;
constexpr int GoFrames = 20;
constexpr int GiveUpFrames = 10;
constexpr int EndingFrames = 1200;

// The all-clear screen beeps on its last frames, rising from 200 Hz to 2000 Hz.
constexpr int AllClearBeepFrames = 10;
constexpr int AllClearTopPitch = 2000;
constexpr int AllClearPitchStep = 200;

// The ending wobble: one turn every 120 frames, at the field's largest tilt.
constexpr double PerWobbleFrame = 0.008333333333333333;
constexpr double WobbleAmplitude = 0.5340707659721375;

// The digits tip the field in the layout of a numeric keypad.
struct PadKey {
    unsigned char key;
    float x;
    float y;
};

constexpr PadKey PadKeys[] = {
    {'1', -1.0f, -1.0f}, {'2', 0.0f, -1.0f}, {'3', 1.0f, -1.0f}, {'4', -1.0f, 0.0f},
    {'6', 1.0f, 0.0f},   {'7', -1.0f, 1.0f}, {'8', 0.0f, 1.0f},  {'9', 1.0f, 1.0f},
};

// The pad's buttons stand for these keys.
struct PadCommand {
    GamepadButton button;
    unsigned char key;
};

constexpr PadCommand PadCommands[] = {
    {GamepadStart, 'p'},
    {GamepadBack, 'q'},
    {GamepadLeftShoulder, 's'},
    {GamepadRightShoulder, 'f'},
};

// This frame's pad, for the title screen's start button.
GamepadState framePad;

void resizeWindow(double factor) {
    // A fullscreen window keeps the screen's size.
    if (optFullscreen != 0) {
        return;
    }
    int size = static_cast<int>(windowWidth * factor);
    size = std::clamp(size, WindowSizeSetting.lowest(), WindowSizeSetting.highest());
    windowWidth = size;
    windowHeight = size;
    // Without a window (headless runs) there is nothing to resize.
    if (windowRequests.resize != nullptr) {
        windowRequests.resize(size);
    }
    if (windowSizeListener != nullptr) {
        windowSizeListener(size);
    }
}

void playBeep(int pitch) {
    if (!optSilent && beepOutput != nullptr) {
        beepOutput(pitch);
    }
}

void readArrowKey() {
    switch (lastSpecialKey) {
    case LeftKey:
        arrowX = -1.0f;
        break;
    case RightKey:
        arrowX = 1.0f;
        break;
    case UpKey:
        arrowY = 1.0f;
        break;
    case DownKey:
        arrowY = -1.0f;
        break;
    default:
        break;
    }
}

// A digit stays stored and tips the field every frame until another key replaces it.
void readPadKey() {
    for (const PadKey& pad : PadKeys) {
        if (lastKey == pad.key) {
            padX = pad.x;
            padY = pad.y;
        }
    }
}

void showWaitLevel() {
    waitShow = WaitShowFrames - WaitShowPerLevel * waitLevel;
}

// Runs a command key; false when the key has no command here, and so stays stored.
bool runCommand(unsigned char key) {
    switch (key) {
    case 's':
        if (waitLevel < SpeedLevelSetting.highest()) {
            ++waitLevel;
        }
        showWaitLevel();
        return true;
    case 'f':
        if (waitLevel > SpeedLevelSetting.lowest()) {
            --waitLevel;
        }
        showWaitLevel();
        return true;
    case 'q':
        // Giving up means nothing on the title screen, and the key then stays stored.
        if (gameState == Title) {
            return false;
        }
        gameState = GameOver;
        countdown = GiveUpFrames;
        return true;
    case 'p':
        paused = (paused == 0 && stageNumber != TitleStage) ? 1 : 0;
        return true;
    default:
        return false;
    }
}

void readCommandKey() {
    if (runCommand(lastKey)) {
        lastKey = 0;
    }
}

// Each axis within -1..1. A state handed back from a damaged recording may hold values that
// are no numbers: they count as 0 rather than reach the world.
float limitAxis(float value) {
    return std::isnan(value) ? 0.0f : std::clamp(value, -1.0f, 1.0f);
}

// The pad adds to the keys: a stick acts while held, and each axis stays within -1..1. Its
// buttons act once per press, as their keys would, but directly: the stored key is the
// keyboard's own, so a pad press neither replaces a tipping digit nor is lost beside a key
// pressed in the same frame.
void readGamepadInput(const GamepadState& pad) {
    arrowX = limitAxis(arrowX + pad.leftX + static_cast<float>(pad.dpadX));
    arrowY = limitAxis(arrowY + pad.leftY + static_cast<float>(pad.dpadY));
    padX = limitAxis(padX + pad.rightX);
    padY = limitAxis(padY + pad.rightY);
    for (const PadCommand& command : PadCommands) {
        if ((pad.pressed & command.button) != 0) {
            runCommand(command.key);
        }
    }
    // A pad pulled out mid-game leaves the player without control: hold the game for them.
    if (pad.disconnected && stageNumber != TitleStage) {
        paused = 1;
    }
}

void enterStage(int stage) {
    stageNumber = stage;
    loadStage();
    restartMotion();
}

// The title and the ending run the world on their own: a key held there must change nothing.
void stepWithoutInput() {
    constexpr float None = 0.0f;
    gameWorld.step(None, None, None, None);
}

// Playing and Reentry: the world step's outcome is the next state.
void playFrame() {
    gameState = static_cast<GameState>(gameWorld.step(padX, padY, arrowX, arrowY));
    if (gameState != Playing) {
        countdown = OutcomeFrames;
    }
}

void gameOverFrame() {
    if (countdown < 1) {
        enterStage(TitleStage);
        lives = StartingLives;
        gameState = Title;
    }
    playBeep(DefaultBeepPitch);
    beepRequest = 0;
}

void stageClearFrame() {
    if (stageNumber >= LastStage) {
        gameState = AllClear;
        return;
    }
    if (countdown < 1) {
        enterStage(stageNumber + 1);
        gameState = StageIntro;
        countdown = IntroFrames;
        lives = StartingLives;
    }
    playBeep(DefaultBeepPitch);
    beepRequest = 0;
}

// The world already runs under "GO !!". A lost game or a cleared stage is acted on at once:
// otherwise the last opponent falling here would leave a stage that can never be cleared,
// and the last life lost here a game that can never end.
void goFrame() {
    if (countdown < 1) {
        gameState = Playing;
    }
    const int outcome = gameWorld.step(padX, padY, arrowX, arrowY);
    if (outcome == GameOver || outcome == StageClear) {
        gameState = static_cast<GameState>(outcome);
        countdown = OutcomeFrames;
    }
}

void readyFrame() {
    if (countdown < 1) {
        gameState = Go;
        countdown = GoFrames;
    }
}

void allClearFrame() {
    if (countdown <= AllClearBeepFrames) {
        beepRequest = AllClearTopPitch - AllClearPitchStep * countdown;
    }
    if (countdown < 1) {
        enterStage(EndingStage);
        gameState = Ending;
        countdown = EndingFrames;
    }
}

// The demonstration runs behind the title with the field held level; a direction key, a
// stick, the D-pad or the pad's South or Start button starts a game, always with a full set of
// lives whatever the demonstration's falls took.
void titleFrame() {
    if (padX != 0.0f || padY != 0.0f || arrowX != 0.0f || arrowY != 0.0f ||
        (framePad.pressed & (GamepadSouth | GamepadStart)) != 0) {
        startGame(FirstStage);
        return;
    }
    stepWithoutInput();
    gameWorld.tiltX = 0.0f;
    gameWorld.tiltY = 0.0f;
}

// The credits run over the ending stage, its field wobbling in a circle. The tilt is set
// after the step, so each step works with the tilt of the frame before.
void endingFrame() {
    if (countdown < 1) {
        enterStage(TitleStage);
        lives = StartingLives;
        gameState = Title;
        return;
    }
    const double angle = countdown * FullTurnF * PerWobbleFrame;
    const float tiltX = static_cast<float>(ownCos(angle) * WobbleAmplitude);
    const float tiltY = static_cast<float>(ownSin(angle) * WobbleAmplitude);
    stepWithoutInput();
    gameWorld.tiltX = tiltX;
    gameWorld.tiltY = tiltY;
}

void introFrame() {
    if (countdown < 1) {
        gameState = Ready;
        countdown = ReadyFrames;
    }
}

void runStateHandler() {
    switch (gameState) {
    case Playing:
    case Reentry:
        playFrame();
        break;
    case GameOver:
        gameOverFrame();
        break;
    case StageClear:
        stageClearFrame();
        break;
    case Go:
        goFrame();
        break;
    case Ready:
        readyFrame();
        break;
    case AllClear:
        allClearFrame();
        break;
    case Title:
        titleFrame();
        break;
    case Ending:
        endingFrame();
        break;
    case StageIntro:
        introFrame();
        break;
    }
}

void endFrame() {
    padX = padY = arrowX = arrowY = 0.0f;
    // The title demonstration plays silently.
    if (beepRequest != 0 && gameState != Title) {
        playBeep(beepPitch(beepRequest));
    }
    beepRequest = 0;
    if (countdown > 0) {
        --countdown;
    }
    if (windowRequests.redisplay != nullptr) {
        windowRequests.redisplay();
    }
}

} // namespace

int beepPitch(int request) {
    return (request >= LowestBeepPitch && request <= HighestBeepPitch) ? request : DefaultBeepPitch;
}

void onKeyboard(unsigned char key, int, int) {
    lastKey = key;
    switch (key) {
    case EscapeKey:
        std::exit(1);
    case 'e':
        resizeWindow(EnlargeFactor);
        break;
    case 'r':
        resizeWindow(ReduceFactor);
        break;
    default:
        break;
    }
}

void onSpecialKey(int key, int, int) {
    lastSpecialKey = key;
}

void startGame(int stage) {
    closeRecordsPage();
    enterStage(stage);
    gameState = StageIntro;
    countdown = IntroFrames;
    lives = StartingLives;
}

void startGameAsTheTitleDoes() {
    startGame(FirstStage);
    endFrame();
}

void resetToTitle() {
    visitFlowGlobals(
        [](const char*, auto& global, auto initial, FlowGlobalRole) { global = initial; });
    closeRecordsPage();
    // Clears the stored keys too.
    enterStage(TitleStage);
}

void onIdle() {
    framePad = frameInput();
    readArrowKey();
    readPadKey();
    readCommandKey();
    readGamepadInput(framePad);
    const bool handlerRuns = !paused;
    if (handlerRuns) {
        runStateHandler();
    }
    endFrame();
    for (const FrameListener listener : frameListeners) {
        listener(handlerRuns);
    }
}
