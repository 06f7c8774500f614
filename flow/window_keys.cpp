#include "flow/window_keys.h"

#include "engine/game_state.h"

namespace {

constexpr unsigned char RecordsKey = 'h';

bool recordsShown = false;
bool screenshotWanted = false;

} // namespace

bool recordsPageShown() {
    return recordsShown;
}

bool recordsPageTakes(unsigned char key, bool live) {
    if (recordsShown) {
        recordsShown = false;
        return true;
    }
    if (key == RecordsKey && gameState == Title && live) {
        recordsShown = true;
        return true;
    }
    return false;
}

void closeRecordsPage() {
    recordsShown = false;
}

void askForScreenshot() {
    screenshotWanted = true;
}

bool screenshotAsked() {
    const bool asked = screenshotWanted;
    screenshotWanted = false;
    return asked;
}

void countWaitIndicatorFrame() {
    if (waitShow > 0) {
        --waitShow;
    }
}
