#include "player/auto_replays.h"

#include "engine/game_state.h"
#include "engine/stages.h"
#include "platform/user_files.h"
#include "player/player_files.h"
#include "player/records.h"
#include "replay/replay_recorder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr std::string_view ReplayExtension = ".replay";
// "YYYYMMDD-HHMMSS-mmm": digits but for the two dashes.
constexpr std::string_view NameShape = "00000000-000000-000";

// A long game's text is copied less often, so that a copy never costs a frame: about once a
// second (each write-out) per this many bytes.
constexpr std::size_t HandOverStepBytes = 4 * 1024 * 1024;

bool recording = false;
int writeOutsSkipped = 0;
bool onTitle = true;
ReplayRecorder gameRecorder;

std::string nameOfNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto milliseconds = duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
    return autoReplayName(system_clock::to_time_t(now),
                          static_cast<int>(milliseconds.count() % 1000));
}

// On the writer thread, after the game's last save.
void pruneInBackground(const std::string& folder, std::vector<std::string> kept) {
    workInBackground([folder, kept = std::move(kept)] { pruneReplays(folder, kept); });
}

bool dueForHandOver(std::size_t bytes) {
    if (static_cast<std::size_t>(writeOutsSkipped) < bytes / HandOverStepBytes) {
        ++writeOutsSkipped;
        return false;
    }
    writeOutsSkipped = 0;
    return true;
}

// Each hand-over replaces the file whole, atomically: a game killed outright leaves its
// recording up to the last hand-over, unsealed but playable.
void openGameFile(const std::string& folder, const ReplayStart& start) {
    const std::string name = nameOfNow();
    const std::string path = folder + "/" + name;
    recordKeeper.gameReplay = name;
    writeOutsSkipped = 0;
    gameRecorder.openInMemory(
        path, start, [folder, name, path](const std::string& text, bool sealed) {
            if (!sealed && !dueForHandOver(text.size())) {
                return;
            }
            saveInBackground(path, text);
            if (sealed) {
                // The game just played stays even when the clock went back past the last games.
                std::vector<std::string> kept = recordReplays(recordKeeper.records);
                kept.push_back(name);
                pruneInBackground(folder, std::move(kept));
            }
        });
}

} // namespace

void beginGameReplay(const ReplayStart& start) {
    onTitle = false;
    recordKeeper.gameReplay.clear();
    if (!recording) {
        return;
    }
    const std::string folder = replaysFolder();
    if (folder.empty()) {
        sayNoHome();
        return;
    }
    openGameFile(folder, start);
}

std::string autoReplayName(std::time_t seconds, int milliseconds) {
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char name[64];
    std::snprintf(name, sizeof name, "%04d%02d%02d-%02d%02d%02d-%03d.replay", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, milliseconds);
    return name;
}

bool isAutoReplayName(std::string_view name) {
    if (name.size() != NameShape.size() + ReplayExtension.size() ||
        !name.ends_with(ReplayExtension)) {
        return false;
    }
    for (std::size_t i = 0; i < NameShape.size(); ++i) {
        const bool dash = NameShape[i] == '-';
        if (dash ? name[i] != '-' : (name[i] < '0' || name[i] > '9')) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> replaysToRemove(std::vector<std::string> names,
                                         const std::vector<std::string>& kept) {
    std::erase_if(names, [](const std::string& name) { return !isAutoReplayName(name); });
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    const std::size_t older = names.size() > LastGamesKept ? names.size() - LastGamesKept : 0;
    names.resize(older);
    std::erase_if(names, [&kept](const std::string& name) {
        return std::find(kept.begin(), kept.end(), name) != kept.end();
    });
    return names;
}

void pruneReplays(const std::string& folder, const std::vector<std::string>& kept) {
    removeStaleTemporariesIn(folder);
    std::vector<std::string> names = filesIn(folder);
    const std::vector<std::string> unsaved = unsavedFilesIn(folder);
    names.insert(names.end(), unsaved.begin(), unsaved.end());
    for (const std::string& name : replaysToRemove(names, kept)) {
        removeFile(folder + "/" + name);
    }
}

ReplayRecorder& gameReplayRecorder() {
    return gameRecorder;
}

void startGameReplays() {
    recording = true;
}

// The game the title starts plays on untouched: its file starts where the title's frame that
// started it left the game, which a recording's start can name.
void followGames() {
    if (!recording) {
        return;
    }
    if (onTitle && gameState == StageIntro) {
        beginGameReplay({FirstStage, waitLevel, true});
    } else if (gameState == Title && !onTitle) {
        endRecordedGame();
    }
    onTitle = gameState == Title;
}

void stopGameReplays() {
    endRecordedGame();
    recording = false;
    onTitle = true;
}

void endRecordedGame() {
    gameRecorder.seal();
}
