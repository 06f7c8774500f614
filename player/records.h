#pragma once

// The player's records, kept from the games played in the window: for each stage the fewest
// frames to clear it and the fewest lives lost on it, the furthest stage a game from stage 1
// reached, the games played, and the best whole game (the fewest frames from the start of
// stage 1 to the all-clear screen, with its lives lost). A game started at a later stage
// (practice) counts for the stages it clears and the games played only.
#include "engine/stages.h"

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

struct StageRecord {
    int fewestFrames = 0; // 0: never cleared
    int fewestLivesLost = 0;
    std::string replay; // the file in the replays folder of the game that set it; may be empty

    bool operator==(const StageRecord&) const = default;
};

struct Records {
    std::array<StageRecord, LastStage> stages{};
    int gamesPlayed = 0;
    int furthestStage = 0;
    int bestGameFrames = 0; // 0: no game cleared every stage yet
    int bestGameLivesLost = 0;
    std::string bestGameReplay;

    bool operator==(const Records&) const = default;
};

// The replay files that records name, which are kept for good.
std::vector<std::string> recordReplays(const Records& records);

// Records from the text of a records file. Keys the game does not know are ignored. A text
// that is not TOML is bad whole: false with one line saying what, `records` left alone. A key
// with a wrong type or a value out of range is refused alone, with a line in `refused` saying
// why: a stage's record (or the best game) with a bad part is refused whole, the others kept.
bool parseRecords(std::string_view text, Records& records, std::string& error,
                  std::vector<std::string>& refused);
// The text of a records file, which parseRecords reads back to the same records.
std::string formatRecords(const Records& records);
// The records as a table of short lines, for the terminal and the records page alike.
std::vector<std::string> recordsTable(const Records& records);

// Follows the game flow's globals frame by frame and keeps the records of the games played.
class RecordKeeper {
  public:
    Records records;
    // The replay file of the game being played (empty when it is not recorded): a record it
    // sets names it.
    std::string gameReplay;

    // After every frame; `handlerRan` is false in a paused frame, which does not count. True
    // when the records changed.
    bool afterFrame(bool handlerRan);

  private:
    void startStage();
    bool stageCleared();
    bool gameCleared();

    bool inGame = false;
    bool fromFirstStage = false;
    bool stageDone = false;
    int stage = 0;
    int stageFrames = 0;
    int gameFrames = 0;
    int gameLivesLost = 0;
};

// The game's one keeper, holding what records.toml held at start.
extern RecordKeeper recordKeeper;
// Reads records.toml into recordKeeper (a bad file or value is said on stderr, the file kept
// aside and saved again with the records read).
void loadRecords();
// At the end of every frame: keeps the records, and saves them when they changed.
void keepRecords(bool handlerRan);
// `tumbra --records`: the table on `out`, and nothing changed in the folder. Returns the exit
// status.
int printRecords(std::FILE* out);
