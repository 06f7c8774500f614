#include "app/records.h"

#include "app/auto_replays.h"
#include "app/game_state.h"
#include "app/player_files.h"
#include "app/toml_values.h"
#include "platform/user_files.h"

RecordKeeper recordKeeper;

namespace {

constexpr long long MostFrames = 1'000'000'000; // over a year at 30 frames a second
constexpr int MostLivesLostOnAClear = StartingLives - 1;
constexpr int MostLivesLostInAGame = MostLivesLostOnAClear * RecordedStages;
constexpr int MostGames = 2'000'000'000;
constexpr const char* NotYet = "-";

bool savable = true;

bool readTable(const toml::table& table, std::string_view key, const toml::table*& found,
               std::string& error) {
    const toml::node* node = table.get(key);
    found = node == nullptr ? nullptr : node->as_table();
    if (node != nullptr && found == nullptr) {
        error = keyError(key, "must be a table");
        return false;
    }
    return true;
}

// A replay's name, which must be one the game gives its replay files.
bool readReplayName(const toml::table& table, std::string& name, std::string& error) {
    const toml::node* node = table.get("replay");
    if (node == nullptr) {
        return true;
    }
    const std::optional<std::string> read = node->value_exact<std::string>();
    if (!read || !isAutoReplayName(*read)) {
        error =
            keyError("replay", "must name a replay file such as '" + autoReplayName(0, 0) + "'");
        return false;
    }
    name = *read;
    return true;
}

// A cleared stage or game: frames (at least 1) and lives lost, both present, and its replay.
bool readClear(const toml::table& table, std::string_view where, int mostLivesLost, int& frames,
               int& livesLost, std::string& replay, std::string& error) {
    if (table.get("frames") == nullptr || table.get("lives_lost") == nullptr) {
        error = std::string(where) + " needs 'frames' and 'lives_lost'";
        return false;
    }
    if (readInteger(table, "frames", 1, MostFrames, frames, error) &&
        readInteger(table, "lives_lost", 0, mostLivesLost, livesLost, error) &&
        readReplayName(table, replay, error)) {
        return true;
    }
    error = std::string(where) + ": " + error;
    return false;
}

bool readStages(const toml::table& table, Records& records, std::string& error) {
    const toml::table* stages = nullptr;
    if (!readTable(table, "stages", stages, error)) {
        return false;
    }
    if (stages == nullptr) {
        return true;
    }
    for (int stage = 1; stage <= RecordedStages; ++stage) {
        const std::string key = std::to_string(stage);
        const toml::table* clear = nullptr;
        if (!readTable(*stages, key, clear, error)) {
            error = "stage " + error;
            return false;
        }
        StageRecord& record = records.stages[static_cast<std::size_t>(stage - 1)];
        if (clear != nullptr &&
            !readClear(*clear, "stage " + key, MostLivesLostOnAClear, record.fewestFrames,
                       record.fewestLivesLost, record.replay, error)) {
            return false;
        }
    }
    return true;
}

bool readBestGame(const toml::table& table, Records& records, std::string& error) {
    const toml::table* best = nullptr;
    if (!readTable(table, "best_game", best, error)) {
        return false;
    }
    return best == nullptr ||
           readClear(*best, "best_game", MostLivesLostInAGame, records.bestGameFrames,
                     records.bestGameLivesLost, records.bestGameReplay, error);
}

std::string clearLine(int frames, int livesLost, const std::string& replay) {
    return "{ frames = " + std::to_string(frames) + ", lives_lost = " + std::to_string(livesLost) +
           (replay.empty() ? "" : ", replay = \"" + replay + "\"") + " }";
}

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

// The files of the records that have one, each with a line to play it.
void printRecordReplays(std::FILE* out, const Records& records) {
    const std::string folder = replaysFolder();
    if (recordReplays(records).empty() || folder.empty()) {
        return;
    }
    std::fprintf(out, "\nReplays (tumbra --replay FILE):\n");
    if (!records.bestGameReplay.empty()) {
        std::fprintf(out, "WHOLE GAME %s/%s\n", folder.c_str(), records.bestGameReplay.c_str());
    }
    for (int stage = 1; stage <= RecordedStages; ++stage) {
        const std::string& name = records.stages[static_cast<std::size_t>(stage - 1)].replay;
        if (!name.empty()) {
            std::fprintf(out, "STAGE %2d   %s/%s\n", stage, folder.c_str(), name.c_str());
        }
    }
}

void save(const Records& records) {
    const std::string path = recordsPath();
    if (path.empty()) {
        sayNoHome();
    } else if (savable) {
        saveInBackground(path, formatRecords(records));
    }
}

} // namespace

bool parseRecords(std::string_view text, Records& records, std::string& error) {
    const std::optional<toml::table> parsed = parsePlayerTable(text, error);
    if (!parsed) {
        return false;
    }
    const toml::table& table = *parsed;
    Records read;
    if (readInteger(table, "games_played", 0, MostGames, read.gamesPlayed, error) &&
        readInteger(table, "furthest_stage", 0, RecordedStages, read.furthestStage, error) &&
        readStages(table, read, error) && readBestGame(table, read, error)) {
        records = read;
        return true;
    }
    return false;
}

std::string formatRecords(const Records& records) {
    std::string text = "# Tumbra's records, kept by the game. Frames are thirtieths of a second "
                       "at speed level 0.\n";
    text += "games_played = " + std::to_string(records.gamesPlayed) + "\n";
    text += "furthest_stage = " + std::to_string(records.furthestStage) + "\n";
    if (records.bestGameFrames > 0) {
        text +=
            "best_game = " +
            clearLine(records.bestGameFrames, records.bestGameLivesLost, records.bestGameReplay) +
            "\n";
    }
    text += "\n[stages]\n";
    for (int stage = 1; stage <= RecordedStages; ++stage) {
        const StageRecord& record = records.stages[static_cast<std::size_t>(stage - 1)];
        if (record.fewestFrames > 0) {
            text += std::to_string(stage) + " = " +
                    clearLine(record.fewestFrames, record.fewestLivesLost, record.replay) + "\n";
        }
    }
    return text;
}

std::vector<std::string> recordsTable(const Records& records) {
    constexpr int Rows = RecordedStages / 2;
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
    const bool onPlayStage = stageNumber >= 1 && stageNumber <= RecordedStages;
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

void loadRecords() {
    const std::string path = recordsPath();
    if (path.empty()) {
        return;
    }
    const std::optional<std::string> text = readPlayerFile(path, savable);
    std::string error;
    if (text && !parseRecords(*text, recordKeeper.records, error)) {
        savable = rejectPlayerFile(path, error);
    }
}

void keepRecords(bool handlerRan) {
    if (recordKeeper.afterFrame(handlerRan)) {
        save(recordKeeper.records);
    }
}

int printRecords(std::FILE* out) {
    loadRecords();
    const std::string path = recordsPath();
    std::fprintf(out, "Tumbra's records (%s)\n\n",
                 path.empty() ? "none are kept: HOME is not set" : path.c_str());
    for (const std::string& line : recordsTable(recordKeeper.records)) {
        std::fprintf(out, "%s\n", line.c_str());
    }
    printRecordReplays(out, recordKeeper.records);
    return 0;
}
