#include "tools/schedule.h"

#include "app/game_flow.h"
#include "app/game_state.h"
#include "sim/stages.h"
#include "sim/world.h"

#include <fstream>
#include <sstream>

namespace {

constexpr int HighestKey = 255; // onKeyboard takes an unsigned char
constexpr int HighestSpecialKey = 1023;
constexpr long HighestFrame = 100000000;

void silence(int) {}

// The next word of `in` as a whole decimal number from `lowest` to `highest`.
bool readNumber(std::istringstream& in, long lowest, long highest, long& value) {
    std::string word;
    if (!(in >> word) || word.size() > 10) {
        return false;
    }
    long number = 0;
    for (const char c : word) {
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + (c - '0');
    }
    value = number;
    return number >= lowest && number <= highest;
}

} // namespace

std::string formatEvent(const KeyEvent& event) {
    return std::to_string(event.frame) + (event.special ? " special " : " key ") +
           std::to_string(event.code);
}

bool readSchedule(std::istream& in, std::vector<KeyEvent>& events, std::string& error) {
    std::string line;
    long lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') {
            continue;
        }
        std::istringstream words(line);
        KeyEvent event{};
        std::string kind;
        long code = 0;
        std::string rest;
        const bool framed = readNumber(words, 1, HighestFrame, event.frame);
        words >> kind;
        event.special = kind == "special";
        const bool named = event.special || kind == "key";
        const long highest = event.special ? HighestSpecialKey : HighestKey;
        const bool coded = readNumber(words, 0, highest, code);
        if (!framed || !named || !coded || (words >> rest)) {
            error = "line " + std::to_string(lineNumber) +
                    ": expected FRAME key CODE or FRAME special CODE";
            return false;
        }
        if (!event.special && code == EscapeKey) {
            error = "line " + std::to_string(lineNumber) + ": Escape would end the game";
            return false;
        }
        if (!events.empty() && event.frame < events.back().frame) {
            error = "line " + std::to_string(lineNumber) + ": frames out of order";
            return false;
        }
        event.code = static_cast<int>(code);
        events.push_back(event);
    }
    return true;
}

bool readScheduleFile(const std::string& path, std::vector<KeyEvent>& events, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    if (!readSchedule(in, events, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

void startAtTitle() {
    resetToTitle();
    beepOutput = silence;
}

void loadStageAsGame(int stage) {
    startAtTitle();
    if (stage == FirstStage) {
        press({0, true, ArrowUp});
    } else {
        stageNumber = stage - 1;
        gameState = StageClear;
        countdown = 0;
    }
    onIdle();
}

void press(const KeyEvent& event) {
    if (event.special) {
        onSpecialKey(event.code, 0, 0);
    } else {
        onKeyboard(static_cast<unsigned char>(event.code), 0, 0);
    }
}
