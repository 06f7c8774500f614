#pragma once

#include "platform/gamepad.h"

#include <span>

void onKeyboard(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);
// One frame of the game.
void onIdle();
// The game as the program starts it: the title over a freshly built stage 0, with every
// game-flow global at its initial value. Where every recording, replay and search starts.
void resetToTitle();
// A game from the fly-in of `stage` (1 to 22) with a full set of lives: how the title starts
// stage 1, and where a game that begins at a later stage starts.
void startGame(int stage);
// Stage 1 as the title's frame that starts a game leaves it: started, and that frame's end run
// (the fly-in's countdown one down). Where the recording of a game played from the title
// starts.
void startGameAsTheTitleDoes();

// The countdown of the game-over and stage-clear screens that the world step's outcome starts.
inline constexpr int OutcomeFrames = 20;

// Beep pitches in Hz. A frame's beep request inside the audible range is taken as the pitch
// (deep for heavy collisions, a rising scale on the all-clear screen); other requests and
// the game-over and stage-clear beeps sound at the default pitch.
inline constexpr int DefaultBeepPitch = 880;
inline constexpr int LowestBeepPitch = 100;
inline constexpr int HighestBeepPitch = 4000;

int beepPitch(int request);

// Where the game's beeps go: the platform's tone, put here by the shell; none headless;
// tests put a recorder here.
using BeepOutput = void (*)(int pitchHz);
extern BeepOutput beepOutput;

// Where the gamepad is read, once as the very first action of every frame: the platform's pad,
// put here by the shell (no pad headless); a replay hands back recorded states here.
using GamepadInput = GamepadState (*)();
extern GamepadInput gamepadInput;

// Told at the end of every frame, after the countdown, one after another in the list's order;
// `stateHandlerRan` is false in a paused frame. For the records, the settings and the
// automatic replays, which only watch: nothing they do changes the game.
using FrameListener = void (*)(bool stateHandlerRan);
extern std::span<const FrameListener> frameListeners;
// Told of the window size the player chose with "e" or "r".
using WindowSizeListener = void (*)(int size);
extern WindowSizeListener windowSizeListener;
