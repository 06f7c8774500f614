#include "platform/tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double FullTurn = 2.0 * std::numbers::pi;

int samplesOf(double seconds, int sampleRate) {
    return static_cast<int>(std::lround(seconds * sampleRate));
}

} // namespace

ToneGenerator::ToneGenerator(int sampleRate)
    : sampleRate(sampleRate), attack(samplesOf(ToneAttackSeconds, sampleRate)),
      release(samplesOf(ToneReleaseSeconds, sampleRate)),
      length(samplesOf(ToneSeconds, sampleRate)), gap(samplesOf(ToneGapSeconds, sampleRate)),
      elapsed(length + gap), phase(0.0), phaseStep(0.0), startGain(0.0), gain(0.0) {}

void ToneGenerator::start(int frequencyHz) {
    phaseStep = FullTurn * frequencyHz / sampleRate;
    startGain = gain;
    elapsed = 0;
}

double ToneGenerator::gainAt(int sample) const {
    if (sample < attack) {
        return startGain + (1.0 - startGain) * sample / attack;
    }
    if (sample >= length - release) {
        return double(length - sample) / release;
    }
    return 1.0;
}

void ToneGenerator::render(float* out, int count) {
    for (int i = 0; i < count; ++i) {
        if (!sounding()) {
            gain = 0.0;
            out[i] = 0.0f;
            if (elapsed < length + gap) {
                ++elapsed;
            }
            continue;
        }
        gain = gainAt(elapsed);
        out[i] = static_cast<float>(ToneAmplitude * gain * std::sin(phase));
        phase = std::fmod(phase + phaseStep, FullTurn);
        ++elapsed;
    }
}

void PipMixer::fill(float* out, int count) {
    while (count > 0) {
        if (tone.samplesUntilReady() == 0) {
            const int pitch = pendingPitch.exchange(0);
            if (pitch > 0) {
                tone.start(pitch);
            }
        }
        const int busy = tone.samplesUntilReady();
        const int run = busy > 0 ? std::min(busy, count) : count;
        tone.render(out, run);
        out += run;
        count -= run;
    }
}
