#pragma once

// The game flow's state and the globals that the shell, the display, the world step and
// the stage loader share. A leaf: it includes nothing of ours but the float bits.
#include "engine/float_bits.h"

#include <cstdint>
#include <type_traits>

// The numbers are fixed: the world step returns 0 to 3 as the next state.
enum GameState : int {
    Playing = 0,
    GameOver = 1,
    StageClear = 2,
    Reentry = 3,
    Go = 4,
    Ready = 5,
    AllClear = 6,
    Title = 7,
    Ending = 8,
    StageIntro = 9,
};

inline constexpr int StartingLives = 4;
// The key that ends the game at once (and a recording with it).
inline constexpr unsigned char EscapeKey = 27;
// The special keys the game knows, by the codes GLUT gives them, which recordings keep.
inline constexpr int F11Key = 11;
inline constexpr int F12Key = 12;
inline constexpr int LeftKey = 100;
inline constexpr int UpKey = 101;
inline constexpr int RightKey = 102;
inline constexpr int DownKey = 103;
// A key the game ignores, but that ends an arrow's rolling as any other special key does.
inline constexpr int InsertKey = 108;

extern GameState gameState;
extern int lives;       // counting the ball in play
extern int countdown;   // frames left in the current state; never negative
extern int stageNumber; // 0 title, 1 to 22 play, 23 ending
extern int paused;
extern unsigned char lastKey; // 0 = none
extern int lastSpecialKey;    // 0 = none
extern float padX;
extern float padY;
extern float arrowX;
extern float arrowY;
extern int waitLevel;   // speed level 0 to 10
extern int waitShow;    // displayed frames left for the wait indicator
extern int beepRequest; // non-zero: one beep at the end of this frame

// Every game-flow global once, in a fixed order, with its initial value: the reset to the
// title, the solver's snapshot, the state checksum and the documentation's table all take
// them from here, so a new global cannot be forgotten in one of them. `visit` is called as
// visit(name, global, initial, role) for each.
enum class FlowGlobalRole {
    State,   // part of the game's state, in the checksum
    Display, // counted down by the display on every repaint: outside the checksum
};

inline constexpr int FlowGlobalCount = 14;

template <typename Visit> void visitFlowGlobals(Visit&& visit) {
    using enum FlowGlobalRole;
    visit("gameState", gameState, Title, State);
    visit("lives", lives, StartingLives, State);
    visit("countdown", countdown, 0, State);
    visit("stageNumber", stageNumber, 0, State); // the title stage
    visit("paused", paused, 0, State);
    visit("lastKey", lastKey, static_cast<unsigned char>(0), State);
    visit("lastSpecialKey", lastSpecialKey, 0, State);
    visit("padX", padX, 0.0f, State);
    visit("padY", padY, 0.0f, State);
    visit("arrowX", arrowX, 0.0f, State);
    visit("arrowY", arrowY, 0.0f, State);
    visit("waitLevel", waitLevel, 0, State);
    visit("waitShow", waitShow, 0, Display);
    visit("beepRequest", beepRequest, 0, State);
}

// A global's value as 32 bits: ints as two's complement, floats as their IEEE bits.
template <typename T> std::uint32_t flowGlobalBits(T value) {
    if constexpr (std::is_floating_point_v<T>) {
        static_assert(sizeof(T) == sizeof(std::uint32_t));
        return floatBits(value);
    } else {
        return static_cast<std::uint32_t>(static_cast<int>(value));
    }
}

template <typename T> T flowGlobalFromBits(std::uint32_t bits) {
    if constexpr (std::is_floating_point_v<T>) {
        static_assert(sizeof(T) == sizeof(std::uint32_t));
        return floatFromBits(bits);
    } else {
        return static_cast<T>(static_cast<int>(bits));
    }
}
