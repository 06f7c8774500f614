#include "replay/replay_feed.h"

void ReplayFeed::feedFrame(int frame, const KeyHandlers& handlers) {
    for (; nextEvent < replay->events.size() && replay->events[nextEvent].frame <= frame;
         ++nextEvent) {
        const ReplayEvent& event = replay->events[nextEvent];
        if (event.kind == ReplayEvent::Key) {
            handlers.keyboard(static_cast<unsigned char>(event.code), 0, 0);
        } else {
            handlers.special(event.code, 0, 0);
        }
    }
    for (; nextPad < replay->pads.size() && replay->pads[nextPad].frame <= frame; ++nextPad) {
        padState = replay->pads[nextPad].state;
    }
}
