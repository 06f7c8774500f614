#pragma once

// One short sine tone with a soft attack and release, rendered sample by sample. Starting it
// again while it sounds carries on from its present loudness and phase, so it never clicks.
class ToneGenerator {
  public:
    explicit ToneGenerator(int sampleRate);

    void start(int frequencyHz);
    // Fills `out` with `count` mono samples in -1 to 1; silence once the tone is over.
    void render(float* out, int count);
    bool sounding() const { return elapsed < length; }

  private:
    double gainAt(int sample) const;

    double sampleRate;
    int attack;
    int release;
    int length;
    int elapsed;
    double phase;
    double phaseStep;
    double startGain;
    double gain;
};

// The tone's shape, in seconds and as a fraction of full scale.
inline constexpr double ToneSeconds = 0.08;
inline constexpr double ToneAttackSeconds = 0.005;
inline constexpr double ToneReleaseSeconds = 0.02;
inline constexpr double ToneAmplitude = 0.3;
