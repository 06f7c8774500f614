#include "player/records.h"

#include "engine/game_state.h"

#include <cstdio>

RecordKeeper recordKeeper;

namespace {

constexpr const char* NotYet = "-";

// One stage in a half of the table: "STAGE FRAMES LOST".
std::string stageCell(const Records& records, int stage) {
    const StageRecord& record = records.stages[static_cast<std::size_t>(stage - 1)];
    const bool cleared = record.fewestFrames > 0;
    char cell[64];
    std::snprintf(cell, sizeof cell, "%5d %6s %4s", stage,
                  cleared ? std::to_string(record.fewestFrames).c_str() : NotYet,
                  cleared ? std::to_string(record.fewestLivesLost).c_str() : NotYet);
    return cell;
}

} // namespace

std::vector<std::string> recordsTable(const Records& records) {
    constexpr int Rows = LastStage / 2;
    std::vector<std::string> lines;
    lines.push_back("GAMES PLAYED   " + std::to_string(records.gamesPlayed));
    lines.push_back("FURTHEST STAGE " + std::to_string(records.furthestStage));
    lines.push_back("WHOLE GAME     " +
                    (records.bestGameFrames > 0
                         ? std::to_string(records.bestGameFrames) + " FRAMES, " +
                               std::to_string(records.bestGameLivesLost) + " LOST"
                         : std::string(NotYet)));
    lines.push_back("");
    lines.push_back("STAGE FRAMES LOST   STAGE FRAMES LOST");
    for (int row = 1; row <= Rows; ++row) {
        lines.push_back(stageCell(records, row) + "   " + stageCell(records, row + Rows));
    }
    return lines;
}

std::vector<std::string> recordReplays(const Records& records) {
    std::vector<std::string> names;
    for (const StageRecord& stage : records.stages) {
        if (!stage.replay.empty()) {
            names.push_back(stage.replay);
        }
    }
    if (!records.bestGameReplay.empty()) {
        names.push_back(records.bestGameReplay);
    }
    return names;
}

void RecordKeeper::startStage() {
    stage = stageNumber;
    stageFrames = 0;
    stageDone = false;
    if (fromFirstStage && stage > records.furthestStage) {
        records.furthestStage = stage;
    }
}

bool RecordKeeper::stageCleared() {
    stageDone = true;
    const int livesLost = StartingLives - lives;
    gameLivesLost += livesLost;
    StageRecord& record = records.stages[static_cast<std::size_t>(stage - 1)];
    const bool first = record.fewestFrames == 0;
    const StageRecord before = record;
    if (first || stageFrames < record.fewestFrames) {
        record.fewestFrames = stageFrames;
    }
    if (first || livesLost < record.fewestLivesLost) {
        record.fewestLivesLost = livesLost;
    }
    // The file shows the best clear: the one with the fewest frames.
    if (record.fewestFrames != before.fewestFrames) {
        record.replay = gameReplay;
    }
    return record != before;
}

// Fewer frames is better; at the same frames, fewer lives lost.
bool RecordKeeper::gameCleared() {
    inGame = false;
    if (!fromFirstStage) {
        return false;
    }
    const bool better =
        records.bestGameFrames == 0 || gameFrames < records.bestGameFrames ||
        (gameFrames == records.bestGameFrames && gameLivesLost < records.bestGameLivesLost);
    if (better) {
        records.bestGameFrames = gameFrames;
        records.bestGameLivesLost = gameLivesLost;
        records.bestGameReplay = gameReplay;
    }
    return better;
}

bool RecordKeeper::afterFrame(bool handlerRan) {
    const bool onPlayStage = stageNumber >= 1 && stageNumber <= LastStage;
    if (!inGame) {
        // A game starts with the fly-in of its first stage: from the title, or at start for
        // a practice game.
        if (gameState != StageIntro || !onPlayStage) {
            return false;
        }
        inGame = true;
        fromFirstStage = stageNumber == 1;
        gameFrames = 0;
        gameLivesLost = 0;
        ++records.gamesPlayed;
        startStage();
        return true;
    }
    if (handlerRan) {
        ++stageFrames;
        ++gameFrames;
    }
    if (gameState == AllClear) {
        return gameCleared();
    }
    if (gameState == Title || !onPlayStage) {
        inGame = false;
        return false;
    }
    if (stageNumber != stage) {
        const int furthest = records.furthestStage;
        startStage();
        return records.furthestStage != furthest;
    }
    if (gameState == StageClear && !stageDone) {
        return stageCleared();
    }
    return false;
}
