#pragma once

// The player's files follow the games played in the window, through the frame listeners, and
// every game is recorded into the replays folder. A replay or a timedemo being shown is no
// game of the player's: none of this then runs.
#include "flow/game_flow.h"
#include "replay/replay_file.h"

// The listeners, in the order they must run after a frame:
// 1. the records are read, once, before the first frame that keeps them, so that nothing is
//    saved over them unread (and they are not read before the first frame is shown);
// 2. a game the title has just started begins its replay, so that a record it sets names it;
// 3. a speed level, fullscreen or drawing changed in the frame is saved;
// 4. the records are kept, and saved when they change.
extern const FrameListener PlayerFrameListeners[4];

// From now on every game is recorded: the games' recorder watches the input door.
void recordEveryGame();
// No game is recorded from now on; the one being played is sealed.
void stopRecordingGames();
// A practice game: the game put at `start` (a stage and a speed level), its replay begun.
void startPracticeGame(const ReplayStart& start);
