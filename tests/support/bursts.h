#pragma once
// The pips in a file of 32-bit float samples, as SDL's disk audio driver writes them: a pip
// is a run of sound, and a run of exact silence of at least BurstGap samples parts two pips.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

// About 1.3 ms at 48 kHz: far shorter than the silence between two pips, and a sine at an
// audible pitch never has two exact zeros in a row.
inline constexpr std::size_t BurstGap = 64;

struct Burst {
    std::size_t start = 0;
    std::size_t length = 0;
    float peak = 0.0f;
};

inline std::vector<float> readSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<float> samples;
    float v = 0.0f;
    while (in.read(reinterpret_cast<char*>(&v), sizeof v)) {
        samples.push_back(v);
    }
    return samples;
}

inline std::vector<Burst> findBursts(const std::vector<float>& samples) {
    std::vector<Burst> found;
    std::size_t quiet = BurstGap;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const float v = samples[i];
        if (v == 0.0f) {
            ++quiet;
            continue;
        }
        if (quiet >= BurstGap) {
            found.push_back({i, 0, 0.0f});
        }
        quiet = 0;
        found.back().length = i + 1 - found.back().start;
        found.back().peak = std::max(found.back().peak, std::fabs(v));
    }
    return found;
}

// The pitch of a pip in Hz, from its upward zero crossings, at `sampleRate` samples a second.
inline double pitchOf(const std::vector<float>& samples, const Burst& burst, int sampleRate) {
    int crossings = 0;
    for (std::size_t i = burst.start + 1; i < burst.start + burst.length; ++i) {
        if (samples[i - 1] <= 0.0f && samples[i] > 0.0f) {
            ++crossings;
        }
    }
    return burst.length == 0 ? 0.0 : crossings * double(sampleRate) / burst.length;
}
