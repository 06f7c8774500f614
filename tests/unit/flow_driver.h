#pragma once

// Drives the game flow headless, the way GLUT would: key callbacks between idle calls, with
// the beeps caught by a recorder instead of the sound device.
#include "engine/ball.h"
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "flow/flags.h"
#include "flow/game_flow.h"
#include "flow/input_door.h"
#include "flow/window_keys.h"
#include "flow/window_view.h"

#include <gtest/gtest.h>

#include <vector>

inline std::vector<int> beepsHeard;

inline void recordBeep(int pitch) {
    beepsHeard.push_back(pitch);
}

class FlowDriver : public testing::Test {
  protected:
    void SetUp() override {
        resetToTitle();
        optSilent = 0;
        windowWidth = windowHeight = StartWindowSize;
        beepsHeard.clear();
        beepOutput = recordBeep;
    }

    // Every hook and global a test of the flow may have touched goes back to how a program
    // starts, so that the tests can share one process.
    void TearDown() override {
        beepOutput = nullptr;
        gamepadInput = nullptr;
        frameListeners = {};
        windowSizeListener = nullptr;
        windowRequests = {};
        setInputSource(liveInput());
        watchInput(nullptr);
        closeRecordsPage();
        static_cast<void>(screenshotAsked());
        optSilent = optDepthBuffer = optNormalize = optFullscreen = optClassicFrames = 0;
        optRefreshHz = 0.0;
        windowWidth = windowHeight = StartWindowSize;
        resetToTitle();
    }

    static void frame() { onIdle(); }
    static void frames(int n) {
        for (int i = 0; i < n; ++i) {
            onIdle();
        }
    }
    static void press(unsigned char key) { onKeyboard(key, 0, 0); }
    static void pressSpecial(int key) { onSpecialKey(key, 0, 0); }

    // Frames until the state changes (at most `limit`), counting the frame that changes it.
    static int framesUntilStateChanges(int limit) {
        const GameState before = gameState;
        for (int n = 1; n <= limit; ++n) {
            frame();
            if (gameState != before) {
                return n;
            }
        }
        return -1;
    }

    // Frames until the state is `state` (at most `limit`), counting the frame that gets there.
    static int framesUntil(GameState state, int limit) {
        for (int n = 1; n <= limit; ++n) {
            frame();
            if (gameState == state) {
                return n;
            }
        }
        return -1;
    }

    static void playStage(int stage) {
        stageNumber = stage;
        loadStage();
        gameState = Playing;
        countdown = 0;
    }

    // Lets the ball in `slot` drop out in the next world step.
    static void dropBall(int slot) {
        Ball& ball = *gameWorld.balls[slot];
        ball.fallen = 1;
        ball.position = Vector3f(0.0f, 0.0f, -100.0f);
        ball.velocity = ZeroVector;
    }
};
