// The beep in the page: each pip rendered by the tone generator and played through Web Audio.
// Browsers start sound only from the player's own gesture, so the page opens the beep at the
// first key press.
#include "platform/beep.h"

#include "platform/tone.h"

#include <emscripten/emscripten.h>
#include <vector>

namespace {

// clang-format off
// Makes the page's audio context, or wakes it: the sample rate, or 0 without Web Audio.
EM_JS(int, startWebAudio, (), {
    const Context = globalThis.AudioContext || globalThis.webkitAudioContext;
    if (!Context) {
        return 0;
    }
    if (!Module.pips) {
        try {
            Module.pips = {context : new Context(), free : 0, waiting : null, waitingStart : 0};
        } catch (error) {
            return 0;
        }
    }
    Module.pips.context.resume();
    return Module.pips.context.sampleRate;
});

// Plays `count` samples from `samples` once the pip before and its silence are over; a pip
// that still waits to start gives way to this newer one.
EM_JS(void, playWebAudio, (const float* samples, int count), {
    const pips = Module.pips;
    const context = pips.context;
    const buffer = context.createBuffer(1, count, context.sampleRate);
    buffer.copyToChannel(HEAPF32.subarray(samples >> 2, (samples >> 2) + count), 0);
    const now = context.currentTime;
    let start = Math.max(now, pips.free);
    if (pips.waiting && pips.waitingStart > now) {
        pips.waiting.stop();
        start = pips.waitingStart;
    }
    const source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(context.destination);
    source.start(start);
    pips.waiting = source;
    pips.waitingStart = start;
    pips.free = start + count / context.sampleRate;
});

EM_JS(void, closeWebAudio, (), {
    if (Module.pips) {
        Module.pips.context.close();
        Module.pips = null;
    }
});
// clang-format on

int sampleRate = 0; // 0 while closed

} // namespace

bool openBeep() {
    sampleRate = startWebAudio();
    return sampleRate > 0;
}

// Nothing in the page waits for the audio device: the same as openBeep.
void openBeepInBackground() {
    openBeep();
}

bool beepOpen() {
    return sampleRate > 0;
}

void beep(int pitchHz) {
    if (sampleRate == 0 || pitchHz <= 0) {
        return;
    }
    ToneGenerator tone(sampleRate);
    tone.start(pitchHz);
    // The pip and the silence after it, which the next pip waits for.
    std::vector<float> samples(static_cast<std::size_t>(tone.samplesUntilReady()));
    tone.render(samples.data(), static_cast<int>(samples.size()));
    playWebAudio(samples.data(), static_cast<int>(samples.size()));
}

void closeBeep() {
    closeWebAudio();
    sampleRate = 0;
}
