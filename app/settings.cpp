#include "app/settings.h"

#include "app/game_state.h"
#include "app/options.h"
#include "app/player_files.h"
#include "app/toml_values.h"
#include "app/window.h"
#include "platform/gamepad.h"
#include "platform/user_files.h"

#include <cmath>
#include <cstdio>

Settings savedSettings;

namespace {

constexpr int SlowestSpeedLevel = 10;
constexpr int SmallestWindowSize = 100;
constexpr int LargestWindowSize = 2000;
constexpr double LargestDeadZone = 0.9; // a stick must keep some travel past it
constexpr double DeadZoneSteps = 100.0;
constexpr const char* SmoothDrawing = "smooth";
constexpr const char* ClassicDrawing = "classic";

// False when the file could be neither used nor kept aside: it is then left alone.
bool savable = true;
// What the game ran with after the last frame: a change from it is the player's, in the game.
struct Chosen {
    int speedLevel;
    int fullscreen;
    int classicFrames;
    bool operator==(const Chosen&) const = default;
};
Chosen seen{};

Chosen chosenNow() {
    return {waitLevel, optFullscreen, optClassicFrames};
}

void readDrawing(const toml::table& table, bool& classic, Refusals& refused) {
    const toml::node* node = table.get("drawing");
    if (node == nullptr) {
        return;
    }
    const std::optional<std::string_view> drawing = node->value_exact<std::string_view>();
    if (!drawing || (*drawing != SmoothDrawing && *drawing != ClassicDrawing)) {
        refused.push_back(keyError("drawing", "must be \"smooth\" or \"classic\""));
        return;
    }
    classic = *drawing == ClassicDrawing;
}

void readDeadZone(const toml::table& table, double& deadZone, Refusals& refused) {
    const toml::node* node = table.get("gamepad_dead_zone");
    if (node == nullptr) {
        return;
    }
    // A whole number is taken too: "0" is as good as "0.0".
    const std::optional<double> value = node->value<double>();
    if (!value || !(*value >= 0.0 && *value <= LargestDeadZone)) {
        refused.push_back(keyError("gamepad_dead_zone", "must be a number from 0 to 0.9"));
        return;
    }
    // Kept in hundredths, as the file is written.
    deadZone = std::round(*value * DeadZoneSteps) / DeadZoneSteps;
}

void save(const Settings& settings) {
    const std::string path = settingsPath();
    if (path.empty()) {
        sayNoHome();
        return;
    }
    if (savable) {
        saveInBackground(path, formatSettings(settings));
    }
}

} // namespace

bool parseSettings(std::string_view text, Settings& settings, std::string& error,
                   std::vector<std::string>& refused) {
    const std::optional<toml::table> parsed = parsePlayerTable(text, error);
    if (!parsed) {
        return false;
    }
    const toml::table& table = *parsed;
    Settings read;
    readInteger(table, "speed_level", 0, SlowestSpeedLevel, read.speedLevel, refused);
    readBoolean(table, "sound", read.sound, refused);
    readInteger(table, "window_size", SmallestWindowSize, LargestWindowSize, read.windowSize,
                refused);
    readBoolean(table, "fullscreen", read.fullscreen, refused);
    readDrawing(table, read.classicFrames, refused);
    readDeadZone(table, read.deadZone, refused);
    settings = read;
    return true;
}

std::string formatSettings(const Settings& settings) {
    char deadZone[32];
    std::snprintf(deadZone, sizeof deadZone, "%.2f", settings.deadZone);
    return std::string("# Tumbra's settings, rewritten by the game when one changes in it.\n") +
           "# speed_level: 0 (fastest) to 10; window_size: 100 to 2000 pixels;\n" +
           "# drawing: \"smooth\" or \"classic\"; gamepad_dead_zone: 0 to 0.9 of a stick.\n" +
           "speed_level = " + std::to_string(settings.speedLevel) + "\n" +
           "sound = " + (settings.sound ? "true" : "false") + "\n" +
           "window_size = " + std::to_string(settings.windowSize) + "\n" +
           "fullscreen = " + (settings.fullscreen ? "true" : "false") + "\n" + "drawing = \"" +
           (settings.classicFrames ? ClassicDrawing : SmoothDrawing) + "\"\n" +
           "gamepad_dead_zone = " + deadZone + "\n";
}

Settings loadSettings() {
    Settings settings;
    const std::string path = settingsPath();
    if (path.empty()) {
        return settings;
    }
    savable = loadPlayerFile(
        path, FileUse::Game,
        [&settings](std::string_view text, std::string& error, Refusals& refused) {
            return parseSettings(text, settings, error, refused);
        },
        [&settings] { return formatSettings(settings); });
    return settings;
}

void applySettings(const Settings& settings, bool withSpeed) {
    savedSettings = settings;
    optSilent |= settings.sound ? 0 : 1;
    optFullscreen |= settings.fullscreen ? 1 : 0;
    optClassicFrames |= settings.classicFrames ? 1 : 0;
    windowWidth = windowHeight = settings.windowSize;
    setGamepadDeadZone(static_cast<float>(settings.deadZone));
    if (withSpeed) {
        waitLevel = settings.speedLevel;
    }
    seen = chosenNow();
}

void saveChangedSettings() {
    const Chosen now = chosenNow();
    if (now == seen) {
        return;
    }
    // Only what changed is taken: the rest may hold the command line's choice for this run.
    if (now.speedLevel != seen.speedLevel) {
        savedSettings.speedLevel = now.speedLevel;
    }
    if (now.fullscreen != seen.fullscreen) {
        savedSettings.fullscreen = now.fullscreen != 0;
    }
    if (now.classicFrames != seen.classicFrames) {
        savedSettings.classicFrames = now.classicFrames != 0;
    }
    seen = now;
    save(savedSettings);
}

void saveWindowSize(int size) {
    savedSettings.windowSize = size;
    save(savedSettings);
}
