#include "replay/replay_feed.h"

void handEvent(const ReplayEvent& event, const KeyHandlers& handlers) {
    if (event.kind == ReplayEvent::Key) {
        handlers.keyboard(static_cast<unsigned char>(event.code), 0, 0);
    } else {
        handlers.special(event.code, 0, 0);
    }
}

void ReplayFeed::feedFrame(int frame, const KeyHandlers& handlers) {
    for (; nextEvent < replay->events.size() && replay->events[nextEvent].frame <= frame;
         ++nextEvent) {
        handEvent(replay->events[nextEvent], handlers);
    }
    for (; nextPad < replay->pads.size() && replay->pads[nextPad].frame <= frame; ++nextPad) {
        padState = replay->pads[nextPad].state;
    }
}
