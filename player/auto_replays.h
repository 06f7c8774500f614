#pragma once

// Every game played in the window is recorded without asking into the replays folder: one
// file per game, from its start (the fly-in of its first stage) to its end (back on the title,
// or the program's end), written by the writer thread. The last LastGamesKept games are kept,
// and for good the files that records name; the others go.
#include "replay/replay_file.h"
#include "replay/replay_recorder.h"

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int LastGamesKept = 20;

// A game's file name from the moment it started (UTC): YYYYMMDD-HHMMSS-mmm.replay, which
// sorts in time order.
std::string autoReplayName(std::time_t seconds, int milliseconds);
// Whether `name` has that form: only such files are ever removed.
bool isAutoReplayName(std::string_view name);
// Of the file names in the replays folder, the ones to remove: the games' files that are
// neither among the last LastGamesKept nor named in `kept`. Other files are left alone.
std::vector<std::string> replaysToRemove(std::vector<std::string> names,
                                         const std::vector<std::string>& kept);
// In a job on the writer thread, after a game's last save: the files of `folder` that no
// longer need keeping go, and so do the temporary files of games killed while their replay was
// written. A replay whose save failed and waits to be tried again counts as there, as it would
// be had the disk never been full: it goes, unsaved, when it is no longer kept.
void pruneReplays(const std::string& folder, const std::vector<std::string>& kept);

// The recorder of the games' replays, which watches the input door while games are recorded.
ReplayRecorder& gameReplayRecorder();
// From now on every game is recorded (not while a replay is shown, and not beside --record,
// whose file holds the session's games).
void startGameReplays();
// Seals the file of the game being played, if any, and records no game from now on.
void stopGameReplays();
// A game put at `start` (a practice game, or one the title started): when every game is
// recorded, its file begins.
void beginGameReplay(const ReplayStart& start);
// After every frame: a game the title has just started begins its file, from the start
// "title-game" (the game itself is left as it is); a game back on the title ends its file.
void followGames();
// Seals the file of the game being played, if any (the program ends).
void endRecordedGame();
