#include "platform/tone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int Rate = 48000;
constexpr int ToneSamples = static_cast<int>(ToneSeconds * Rate);

std::vector<float> renderSamples(ToneGenerator& tone, int count) {
    std::vector<float> out(count);
    tone.render(out.data(), count);
    return out;
}

// Index one past the last sample louder than a hair.
int soundingLength(const std::vector<float>& s) {
    int end = 0;
    for (int i = 0; i < static_cast<int>(s.size()); ++i) {
        if (std::fabs(s[i]) > 1e-6f) {
            end = i + 1;
        }
    }
    return end;
}

// The largest jump between neighbouring samples: a click shows as a jump far above what
// the sine's own slope allows.
float largestJump(const std::vector<float>& s) {
    float jump = 0.0f;
    for (size_t i = 1; i < s.size(); ++i) {
        jump = std::max(jump, std::fabs(s[i] - s[i - 1]));
    }
    return jump;
}

float slopeLimit(int frequency) {
    return static_cast<float>(ToneAmplitude * 2.0 * std::numbers::pi * frequency / Rate * 1.01);
}

} // namespace

TEST(Tone, SilentUntilStarted) {
    ToneGenerator tone(Rate);
    EXPECT_FALSE(tone.sounding());
    const auto s = renderSamples(tone, 1000);
    EXPECT_EQ(soundingLength(s), 0);
}

TEST(Tone, OneShortToneWithSoftEdges) {
    ToneGenerator tone(Rate);
    tone.start(440);
    const auto s = renderSamples(tone, 2 * ToneSamples);
    EXPECT_FALSE(tone.sounding());
    EXPECT_NEAR(soundingLength(s), ToneSamples, 1);
    // Starts and ends near silence, reaches full loudness in between.
    EXPECT_LT(std::fabs(s[0]), 0.01f);
    EXPECT_LT(std::fabs(s[ToneSamples - 1]), 0.01f);
    float peak = 0.0f;
    for (float v : s) {
        peak = std::max(peak, std::fabs(v));
    }
    EXPECT_NEAR(peak, ToneAmplitude, 0.01);
    EXPECT_LE(largestJump(s), slopeLimit(440));
}

TEST(Tone, PitchIsTheAskedFrequency) {
    ToneGenerator tone(Rate);
    tone.start(1000);
    const auto s = renderSamples(tone, ToneSamples);
    int upwardCrossings = 0;
    for (int i = 1; i < ToneSamples; ++i) {
        if (s[i - 1] <= 0.0f && s[i] > 0.0f) {
            ++upwardCrossings;
        }
    }
    // 22 ms of 1000 Hz.
    EXPECT_NEAR(upwardCrossings, 22, 1);
}

// A pip and the silence after it end within one frame at 30 frames a second, so a pip asked
// for in every frame never runs into the next.
TEST(Tone, APipAndItsSilenceEndWithinAFrame) {
    constexpr int FrameSamples = Rate / 30;
    ToneGenerator tone(Rate);
    EXPECT_EQ(tone.samplesUntilReady(), 0);
    tone.start(440);
    const int busy = tone.samplesUntilReady();
    EXPECT_LT(busy, FrameSamples);
    EXPECT_GT(busy, ToneSamples);
    const auto s = renderSamples(tone, busy - 1);
    EXPECT_FALSE(tone.sounding());
    EXPECT_EQ(tone.samplesUntilReady(), 1);
    renderSamples(tone, FrameSamples);
    EXPECT_EQ(tone.samplesUntilReady(), 0);
}

TEST(Tone, RestartWhileSoundingCarriesOnWithoutAClick) {
    ToneGenerator tone(Rate);
    tone.start(300);
    auto s = renderSamples(tone, ToneSamples / 2);
    tone.start(2000);
    const auto rest = renderSamples(tone, 2 * ToneSamples);
    s.insert(s.end(), rest.begin(), rest.end());
    EXPECT_LE(largestJump(s), slopeLimit(2000));
    // The restarted tone lasts its full length from the restart.
    EXPECT_NEAR(soundingLength(s), ToneSamples / 2 + ToneSamples, 1);
}
