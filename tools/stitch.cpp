// tumbra-stitch: joins the stage schedules into the input events of one whole game.
//
//   tumbra-stitch [--title-frames N] DIR
//
// Plays the game headless through the real flow from the title with the defaults (frame 1 is
// the first idle call): the up arrow on frame N (60 unless given) starts stage 1, each stage
// then gets the events of DIR/stageNN.txt, counted from the frame that loads it, and after
// the last stage the all-clear screen and the credits run with no key until the title is
// back. Prints the events as "FRAME key CODE" / "FRAME special CODE" lines on stdout, and
// on stderr one line per stage and a summary. Exit status 0 when every stage was cleared
// and the game came back to the title, 1 when not, 2 for bad arguments or schedules.
#include "engine/game_state.h"
#include "engine/stages.h"
#include "flow/game_flow.h"
#include "tools/schedule.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int NotFinished = 1;
constexpr int BadArguments = 2;
constexpr long DefaultTitleFrames = 60;
constexpr long FramesPerStageLimit = 100000; // far more than any schedule needs
constexpr const char* Usage = "usage: tumbra-stitch [--title-frames N] DIR";

struct Game {
    Replay schedules[LastStage + 1]; // events relative to each stage's loading frame
    Replay game;                     // absolute, as pressed
    int stagesCleared = 0;
    int livesLost = 0;
    long frame = 0; // the last idle call made
};

bool readSchedules(const std::string& dir, Game& game) {
    for (int stage = FirstStage; stage <= LastStage; ++stage) {
        char name[32];
        std::snprintf(name, sizeof name, "/stage%02d.txt", stage);
        std::string error;
        if (!readScheduleFile(dir + name, game.schedules[stage].events, error)) {
            std::fprintf(stderr, "tumbra-stitch: %s\n", error.c_str());
            return false;
        }
    }
    return true;
}

// One idle call; counts cleared stages and lives lost in them.
void runFrame(Game& game) {
    const GameState before = gameState;
    const int livesBefore = lives;
    onIdle();
    ++game.frame;
    if (gameState == StageClear && before != StageClear) {
        ++game.stagesCleared;
    }
    // The title's and the ending's first ball also costs lives when it drops; only the
    // player's count.
    const bool inPlayStage = stageNumber >= FirstStage && stageNumber <= LastStage;
    if (inPlayStage && lives < livesBefore) {
        game.livesLost += livesBefore - lives;
    }
}

// Plays the stage loaded on the last frame with its schedule; true once it is cleared.
bool playStage(Game& game, int stage) {
    const long loaded = game.frame;
    const std::vector<ReplayEvent>& schedule = game.schedules[stage].events;
    ReplayFeed feed(game.schedules[stage]);
    const int livesLostBefore = game.livesLost;
    while (gameState != StageClear && gameState != GameOver &&
           game.frame - loaded < FramesPerStageLimit) {
        const std::size_t before = feed.eventsFed();
        feed.feedFrame(static_cast<int>(game.frame + 1 - loaded), FlowKeys);
        for (std::size_t i = before; i < feed.eventsFed(); ++i) {
            game.game.events.push_back(
                {schedule[i].frame + static_cast<int>(loaded), schedule[i].kind, schedule[i].code});
        }
        runFrame(game);
    }
    const std::size_t next = feed.eventsFed();
    const bool cleared = gameState == StageClear;
    std::fprintf(stderr,
                 "stage %2d: loaded on frame %ld, %s on frame %ld, %d lives lost, %zu events\n",
                 stage, loaded, cleared ? "cleared" : "not cleared", game.frame,
                 game.livesLost - livesLostBefore, next);
    if (cleared && next < schedule.size()) {
        std::fprintf(stderr, "tumbra-stitch: stage %d: %zu events after the clear\n", stage,
                     schedule.size() - next);
        return false;
    }
    return cleared;
}

// From the title to the credits and back; true when the title is reached again.
bool playGame(Game& game, long titleFrames) {
    startAtTitle();
    while (game.frame + 1 < titleFrames) {
        runFrame(game);
    }
    const ReplayEvent start{static_cast<int>(titleFrames), ReplayEvent::Special, UpKey};
    handEvent(start, FlowKeys);
    game.game.events.push_back(start);
    runFrame(game);
    for (int stage = FirstStage; stage <= LastStage; ++stage) {
        if (gameState != StageIntro || stageNumber != stage || !playStage(game, stage)) {
            return false;
        }
        while (gameState == StageClear) {
            runFrame(game);
        }
    }
    // The all-clear screen and the credits run by themselves.
    while (gameState == AllClear || gameState == Ending) {
        runFrame(game);
    }
    return gameState == Title && stageNumber == TitleStage;
}

} // namespace

int main(int argc, char** argv) {
    long titleFrames = DefaultTitleFrames;
    int arg = 1;
    if (argc == 4 && std::strcmp(argv[1], "--title-frames") == 0) {
        char* end = nullptr;
        titleFrames = std::strtol(argv[2], &end, 10);
        if (end == argv[2] || *end != '\0' || titleFrames < 1 || titleFrames > 100000) {
            std::fprintf(stderr, "%s\n", Usage);
            return BadArguments;
        }
        arg = 3;
    } else if (argc != 2) {
        std::fprintf(stderr, "%s\n", Usage);
        return BadArguments;
    }
    Game game;
    if (!readSchedules(argv[arg], game)) {
        return BadArguments;
    }
    const bool finished = playGame(game, titleFrames);
    for (const ReplayEvent& event : game.game.events) {
        std::printf("%s", replayEventLine(event).c_str());
    }
    std::fprintf(stderr, "%d stages cleared, %d %s lost, %s after %ld frames, %zu events\n",
                 game.stagesCleared, game.livesLost, game.livesLost == 1 ? "life" : "lives",
                 finished ? "back at the title" : "not finished", game.frame,
                 game.game.events.size());
    return finished ? 0 : NotFinished;
}
