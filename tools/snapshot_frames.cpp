#include "tools/snapshot_frames.h"

#include "engine/game_state.h"
#include "engine/stages.h"
#include "flow/game_flow.h"
#include "tools/schedule.h"

void startPictureAt(int stage) {
    if (stage != TitleStage) {
        stageNumber = stage - 1;
        gameState = StageClear;
        countdown = OutcomeFrames;
    }
}

void runPictureFrames(int stage, long frames, const Replay& schedule, void (*draw)()) {
    long loadFrame = 0; // the idle call that loaded the stage; 0 until then
    ReplayFeed feed(schedule);
    for (long i = 1; i <= frames; ++i) {
        if (loadFrame > 0) {
            feed.feedFrame(static_cast<int>(i - loadFrame), FlowKeys);
        }
        onIdle();
        if (loadFrame == 0 && stageNumber == stage) {
            loadFrame = i;
        }
        draw();
    }
}
