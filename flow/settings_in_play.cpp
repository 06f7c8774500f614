#include "flow/settings_in_play.h"

#include "engine/game_state.h"
#include "flow/flags.h"
#include "flow/window_view.h"

Settings savedSettings;

namespace {

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

} // namespace

void applySettings(const Settings& settings, bool withSpeed) {
    savedSettings = settings;
    optSilent |= settings.sound ? 0 : 1;
    optFullscreen |= settings.fullscreen ? 1 : 0;
    optClassicFrames |= settings.classicFrames ? 1 : 0;
    windowWidth = windowHeight = settings.windowSize;
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
    saveSettings(savedSettings);
}

void saveWindowSize(int size) {
    savedSettings.windowSize = size;
    saveSettings(savedSettings);
}
