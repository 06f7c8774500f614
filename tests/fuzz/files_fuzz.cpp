// tumbra-files-fuzz: the settings and records readers fed mutated files.
//
//   tumbra-files-fuzz N [SEED]   N inputs: the files the game writes, with bytes flipped,
//                                inserted, cut and repeated, and TOML's own tokens spliced in
//
// Whatever the input, a reader either refuses it whole with a one-line reason, leaving the
// values alone, or gives values in range, with a one-line reason for each key it refused, that
// the writer writes back to the same values with nothing refused. A broken rule prints the seed and
// the input's index, and the same seed breaks it again; the exit status is then 1.
#include "player/records.h"
#include "player/settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const Tokens[] = {
    "=",
    "\"",
    "'''",
    "[",
    "]",
    "[[",
    "{",
    "}",
    ",",
    "\n",
    "#",
    "\\u0000",
    "nan",
    "inf",
    "-0",
    "1e400",
    "0x7f",
    "true",
    "false",
    "1979-05-27",
    "9223372036854775808",
    "stages",
    "best_game",
    "frames",
    "lives_lost",
    "speed_level",
    "window_size",
    "gamepad_dead_zone",
    "drawing",
    "\"classic\"",
    "\xff\xfe",
    "\x00",
};

std::string seedText(std::mt19937& random) {
    Settings settings;
    settings.speedLevel = static_cast<int>(random() % 11);
    settings.deadZone = 0.3;
    Records records;
    records.gamesPlayed = static_cast<int>(random() % 100);
    records.bestGameFrames = 5000;
    records.stages[random() % LastStage] = {200, 1, "20261207-150102-003.replay"};
    return random() % 2 ? formatSettings(settings) : formatRecords(records);
}

std::string mutate(std::string text, std::mt19937& random) {
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < edits; ++i) {
        const std::size_t at = text.empty() ? 0 : random() % text.size();
        switch (random() % 5) {
        case 0:
            // Mostly printable: the readers refuse any other byte before parsing.
            if (!text.empty()) {
                text[at] = static_cast<char>(random() % 8 ? ' ' + random() % 95 : random());
            }
            break;
        case 1:
            text.insert(at, Tokens[random() % std::size(Tokens)]);
            break;
        case 2:
            text.erase(at, random() % 16);
            break;
        case 3:
            text.insert(at, text.substr(at, random() % 64));
            break;
        default:
            text.insert(at, 1, static_cast<char>('0' + random() % 10));
            break;
        }
    }
    return text;
}

bool inRange(const Settings& s) {
    return s.speedLevel >= 0 && s.speedLevel <= 10 && s.windowSize >= 100 && s.windowSize <= 2000 &&
           s.deadZone >= 0.0 && s.deadZone <= 0.9;
}

bool inRange(const Records& r) {
    for (const StageRecord& stage : r.stages) {
        if (stage.fewestFrames < 0 || stage.fewestLivesLost < 0 || stage.fewestLivesLost > 3) {
            return false;
        }
    }
    return r.gamesPlayed >= 0 && r.furthestStage >= 0 && r.furthestStage <= LastStage &&
           r.bestGameFrames >= 0 && r.bestGameLivesLost >= 0;
}

bool oneLine(const std::string& error) {
    return !error.empty() && error.find('\n') == std::string::npos;
}

// The rules for one reader: refused whole with a reason in one line and the values as they
// were; or values in range, a reason in one line for each refused key, that read back the
// same with nothing refused.
template <typename Values, typename Parse, typename Format>
bool holds(const std::string& text, Parse parse, Format format) {
    Values values;
    std::string error;
    std::vector<std::string> refused;
    if (!parse(text, values, error, refused)) {
        return oneLine(error) && refused.empty() && values == Values();
    }
    Values again;
    std::vector<std::string> refusedAgain;
    return std::all_of(refused.begin(), refused.end(), oneLine) && inRange(values) &&
           parse(format(values), again, error, refusedAgain) && refusedAgain.empty() &&
           again == values;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tumbra-files-fuzz N [SEED]\n");
        return 2;
    }
    const long count = std::atol(argv[1]);
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u;
    std::mt19937 random(seed);
    for (long i = 0; i < count; ++i) {
        const std::string text = mutate(seedText(random), random);
        if (!holds<Settings>(text, parseSettings, formatSettings) ||
            !holds<Records>(text, parseRecords, formatRecords)) {
            std::fprintf(stderr, "seed %u, input %ld breaks a reader:\n%s\n", seed, i,
                         text.c_str());
            return 1;
        }
    }
    std::printf("%ld inputs, every one refused whole or read back with its refused keys\n", count);
    return 0;
}
