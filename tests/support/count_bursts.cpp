// tumbra-count-bursts FILE [LOW HIGH]: prints how many pips a file of SDL disk-audio samples
// (48 kHz) holds; with LOW and HIGH, only those pitched between LOW and HIGH Hz.
#include "bursts.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int SampleRate = 48000;

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: tumbra-count-bursts FILE [LOW HIGH]\n");
        return 2;
    }
    const double low = argc == 4 ? std::atof(argv[2]) : 0.0;
    const double high = argc == 4 ? std::atof(argv[3]) : SampleRate;
    const std::vector<float> samples = readSamples(argv[1]);
    int count = 0;
    for (const Burst& burst : findBursts(samples)) {
        const double pitch = pitchOf(samples, burst, SampleRate);
        if (pitch >= low && pitch <= high) {
            ++count;
        }
    }
    std::printf("%d\n", count);
    return 0;
}
