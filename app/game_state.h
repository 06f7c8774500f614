#pragma once

// The game flow's state and the globals that the shell, the display, the world step and
// the stage loader share. A leaf: it includes nothing of ours.

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
