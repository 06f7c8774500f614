#include "player/records.h"

#include "engine/game_state.h"
#include "platform/user_files.h"
#include "player/auto_replays.h"
#include "player/player_files.h"
#include "player/toml_values.h"

namespace {

constexpr long long MostFrames = 1'000'000'000; // over a year at 30 frames a second
constexpr int MostLivesLostOnAClear = StartingLives - 1;
constexpr int MostLivesLostInAGame = MostLivesLostOnAClear * LastStage;
constexpr int MostGames = 2'000'000'000;

bool savable = true;

// The table at `key`, or none when the key is missing or refused (not a table).
const toml::table* readTable(const toml::table& table, std::string_view key,
                             const std::string& where, Refusals& refused) {
    const toml::node* node = table.get(key);
    if (node != nullptr && !node->is_table()) {
        refused.push_back("'" + where + "' must be a table");
    }
    return node == nullptr ? nullptr : node->as_table();
}

// A replay's name, which must be one the game gives its replay files.
void readReplayName(const toml::table& table, std::string& name, Refusals& refused) {
    const toml::node* node = table.get("replay");
    if (node == nullptr) {
        return;
    }
    const std::optional<std::string> read = node->value_exact<std::string>();
    if (!read || !isAutoReplayName(*read)) {
        refused.push_back(
            keyError("replay", "must name a replay file such as '" + autoReplayName(0, 0) + "'"));
        return;
    }
    name = *read;
}

struct Clear {
    int frames = 0;
    int livesLost = 0;
    std::string replay;
};

// A cleared stage or game at `where`: frames (at least 1) and lives lost, both present, and
// its replay. A bad frames or lives lost refuses the clear whole (nothing when it is), a bad
// replay name only that name.
std::optional<Clear> readClear(const toml::table& table, const std::string& where,
                               int mostLivesLost, Refusals& refused) {
    Refusals faults;
    Clear clear;
    if (table.get("frames") == nullptr || table.get("lives_lost") == nullptr) {
        faults.push_back("needs 'frames' and 'lives_lost'");
    } else {
        readInteger(table, "frames", 1, MostFrames, clear.frames, faults);
        readInteger(table, "lives_lost", 0, mostLivesLost, clear.livesLost, faults);
    }
    const bool whole = faults.empty();
    readReplayName(table, clear.replay, faults);
    for (const std::string& fault : faults) {
        refused.push_back(where + ": " + fault);
    }
    return whole ? std::optional<Clear>(clear) : std::nullopt;
}

// The clear at `key` in `table`, when there is one and it is not refused.
std::optional<Clear> readClearAt(const toml::table& table, std::string_view key,
                                 const std::string& where, int mostLivesLost, Refusals& refused) {
    const toml::table* found = readTable(table, key, where, refused);
    return found == nullptr ? std::nullopt : readClear(*found, where, mostLivesLost, refused);
}

void readStages(const toml::table& table, Records& records, Refusals& refused) {
    const toml::table* stages = readTable(table, "stages", "stages", refused);
    for (int stage = 1; stages != nullptr && stage <= LastStage; ++stage) {
        const std::string key = std::to_string(stage);
        const std::optional<Clear> clear =
            readClearAt(*stages, key, "stages." + key, MostLivesLostOnAClear, refused);
        if (clear) {
            records.stages[static_cast<std::size_t>(stage - 1)] = {clear->frames, clear->livesLost,
                                                                   clear->replay};
        }
    }
}

void readBestGame(const toml::table& table, Records& records, Refusals& refused) {
    const std::optional<Clear> clear =
        readClearAt(table, "best_game", "best_game", MostLivesLostInAGame, refused);
    if (clear) {
        records.bestGameFrames = clear->frames;
        records.bestGameLivesLost = clear->livesLost;
        records.bestGameReplay = clear->replay;
    }
}

std::string clearLine(int frames, int livesLost, const std::string& replay) {
    return "{ frames = " + std::to_string(frames) + ", lives_lost = " + std::to_string(livesLost) +
           (replay.empty() ? "" : ", replay = \"" + replay + "\"") + " }";
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
    for (int stage = 1; stage <= LastStage; ++stage) {
        const std::string& name = records.stages[static_cast<std::size_t>(stage - 1)].replay;
        if (!name.empty()) {
            std::fprintf(out, "STAGE %2d   %s/%s\n", stage, folder.c_str(), name.c_str());
        }
    }
}

bool readRecordsFile(const std::string& path, FileUse use, Records& records) {
    return loadPlayerFile(
        path, use,
        [&records](std::string_view text, std::string& error, Refusals& refused) {
            return parseRecords(text, records, error, refused);
        },
        [&records] { return formatRecords(records); });
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

bool parseRecords(std::string_view text, Records& records, std::string& error,
                  std::vector<std::string>& refused) {
    const std::optional<toml::table> parsed = parsePlayerTable(text, error);
    if (!parsed) {
        return false;
    }
    const toml::table& table = *parsed;
    Records read;
    readInteger(table, "games_played", 0, MostGames, read.gamesPlayed, refused);
    readInteger(table, "furthest_stage", 0, LastStage, read.furthestStage, refused);
    readStages(table, read, refused);
    readBestGame(table, read, refused);
    records = read;
    return true;
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
    for (int stage = 1; stage <= LastStage; ++stage) {
        const StageRecord& record = records.stages[static_cast<std::size_t>(stage - 1)];
        if (record.fewestFrames > 0) {
            text += std::to_string(stage) + " = " +
                    clearLine(record.fewestFrames, record.fewestLivesLost, record.replay) + "\n";
        }
    }
    return text;
}

void loadRecords() {
    const std::string path = recordsPath();
    if (!path.empty()) {
        savable = readRecordsFile(path, FileUse::Game, recordKeeper.records);
    }
}

void keepRecords(bool handlerRan) {
    if (recordKeeper.afterFrame(handlerRan)) {
        save(recordKeeper.records);
    }
}

// Changes nothing in the folder, even when the file is bad.
int printRecords(std::FILE* out) {
    const std::string path = recordsPath();
    Records records;
    if (!path.empty()) {
        readRecordsFile(path, FileUse::ShowOnly, records);
    }
    std::fprintf(out, "Tumbra's records (%s)\n\n",
                 path.empty() ? "none are kept: HOME is not set" : path.c_str());
    for (const std::string& line : recordsTable(records)) {
        std::fprintf(out, "%s\n", line.c_str());
    }
    printRecordReplays(out, records);
    return 0;
}
