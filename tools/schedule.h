#pragma once

// Key schedules: the input events of one stage, counted from the frame that loads it, in the
// replay format's event lines (replay/replay_file.h) and handed to the game by its feed
// (replay/replay_feed.h).
#include "engine/game_state.h"
#include "flow/game_flow.h"
#include "replay/replay_feed.h"
#include "replay/replay_file.h"

#include <string>
#include <vector>

// A special key with no meaning in the game: it ends an arrow's rolling.
inline constexpr int StopRollingKey = InsertKey;

// The game flow's own key callbacks: where the tools hand their events.
inline constexpr KeyHandlers FlowKeys{onKeyboard, onSpecialKey};

// Reads a schedule file: event lines and comments, as a replay's event list. On a fault
// returns false with a message that names the file and the line.
bool readScheduleFile(const std::string& path, std::vector<ReplayEvent>& events,
                      std::string& error);

// The game as the program starts it: the title over stage 0 with every global at its
// initial value, silent.
void startAtTitle();
// Runs the frame that loads `stage` (1 to 22) as the game does: a direction key on the title
// for stage 1, the end of the previous stage's clear for the others.
void loadStageAsGame(int stage);
