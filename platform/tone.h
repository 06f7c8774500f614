#pragma once

#include <atomic>

// One short sine pip with a soft attack and release, rendered sample by sample, followed by
// a short silence before the next may start, so that pips asked for in consecutive frames
// are heard one by one. Starting it again while it sounds carries on from its present
// loudness and phase, so it never clicks.
class ToneGenerator {
  public:
    explicit ToneGenerator(int sampleRate);

    void start(int frequencyHz);
    // Fills `out` with `count` mono samples in -1 to 1; silence once the pip is over.
    void render(float* out, int count);
    bool sounding() const { return elapsed < length; }
    // Samples until the pip and the silence after it are over; 0 when a new pip may start.
    int samplesUntilReady() const { return length + gap - elapsed; }

  private:
    double gainAt(int sample) const;

    double sampleRate;
    int attack;
    int release;
    int length;
    int gap;
    int elapsed;
    double phase;
    double phaseStep;
    double startGain;
    double gain;
};

// The pip's shape, in seconds and as a fraction of full scale. Pip and gap together stay
// below the shortest frame (1/30 s), so one pip per frame never runs into the next.
inline constexpr double ToneSeconds = 0.022;
inline constexpr double ToneAttackSeconds = 0.004;
inline constexpr double ToneReleaseSeconds = 0.01;
inline constexpr double ToneGapSeconds = 0.008;
inline constexpr double ToneAmplitude = 0.3;

// The pips as the audio device plays them: a pip asked for waits until the last one and its
// silence are over, also in the middle of a buffer, so that pips stay apart however the frames
// fall on the buffers. Asking is lock-free and may come from another thread than the filling.
class PipMixer {
  public:
    explicit PipMixer(int sampleRate) : tone(sampleRate) {}

    // Of several pips waiting, the newest is played.
    void request(int pitchHz) { pendingPitch.store(pitchHz); }
    // The next `count` samples.
    void fill(float* out, int count);

  private:
    ToneGenerator tone;
    // The pitch of a pip asked for and not yet started; 0 = none.
    std::atomic<int> pendingPitch{0};
};
