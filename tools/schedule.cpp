#include "tools/schedule.h"

#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "flow/game_flow.h"

namespace {

void silence(int) {}

} // namespace

bool readScheduleFile(const std::string& path, std::vector<ReplayEvent>& events,
                      std::string& error) {
    Replay replay;
    ReplayError fault;
    if (!loadReplay(path, ReplayText::EventList, replay, fault)) {
        error =
            path + (fault.line > 0 ? ":" + std::to_string(fault.line) : "") + ": " + fault.message;
        return false;
    }
    if (!replay.pads.empty()) {
        error = path + ": a key schedule holds no pad lines";
        return false;
    }
    events = std::move(replay.events);
    return true;
}

void startAtTitle() {
    resetToTitle();
    beepOutput = silence;
}

void loadStageAsGame(int stage) {
    startAtTitle();
    if (stage == FirstStage) {
        handEvent({0, ReplayEvent::Special, UpKey}, FlowKeys);
    } else {
        stageNumber = stage - 1;
        gameState = StageClear;
        countdown = 0;
    }
    onIdle();
}
