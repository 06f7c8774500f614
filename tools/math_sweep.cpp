// tumbra-math-sweep: shows, input by input, that the simulation's own sine, cosine and arc
// tangent give the results that the C library's (glibc's) gave the game before them.
//
//   tumbra-math-sweep [--stride N] [--threads T]
//
// - every float x with |x| <= 2^20: ownSinCosFloat(x) against float(sin x) and float(cos x);
// - every float x with |x| <= 1 (the field's tilt stays below 0.54): ownCos(x), which the tilt
//   keeps in double, against cos x: equal or one ulp apart, never more;
// - every pair of a grid over [-1, 1]^2 (what a dot and a cross product of unit vectors give,
//   magnitudes from 2^-40 up, spaced evenly in their bits, and zero): ownAtan2Float(y, x)
//   against float(atan2(y, x)).
// With --stride N only every N-th float is taken (and the grid thinned by the root of N):
// ./check runs that. It uses T threads (default: every processor). Exit status 0 when nothing
// differs, 1 when something does, 2 for bad arguments.
#include "engine/float_bits.h"
#include "engine/own_math.h"

#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int BadArguments = 2;
constexpr const char* Usage = "usage: tumbra-math-sweep [--stride N] [--threads T]";
constexpr std::uint32_t SignBit = 0x80000000u;
constexpr float RotationLimit = 0x1p20f;
constexpr float TiltLimit = 1.0f;
constexpr float GridSmallest = 0x1p-40f;
constexpr float GridLargest = 1.0f + 0x1p-10f; // unit vectors' products round a little over 1
constexpr std::uint32_t GridSpacing = 1u << 14;
constexpr std::uint64_t Block = 1u << 16;
constexpr int ExamplesKept = 5;

// What one part of the sweep found.
struct Tally {
    std::uint64_t inputs = 0;
    std::uint64_t mismatches = 0;
    std::uint64_t oneUlp = 0; // double results one ulp from the library's
    std::vector<std::string> examples;

    void add(const Tally& other) {
        inputs += other.inputs;
        mismatches += other.mismatches;
        oneUlp += other.oneUlp;
        for (const std::string& e : other.examples) {
            if (examples.size() < ExamplesKept) {
                examples.push_back(e);
            }
        }
    }
    void mismatch(const char* what, double a, double b) {
        ++mismatches;
        if (examples.size() < ExamplesKept) {
            char text[120];
            std::snprintf(text, sizeof text, "%s %a %a", what, a, b);
            examples.push_back(text);
        }
    }
};

using Check = std::function<void(std::uint64_t index, Tally& tally)>;

// Runs check(i) for every i below count on `threads` threads, a block at a time.
Tally sweep(std::uint64_t count, int threads, const Check& check) {
    std::atomic<std::uint64_t> next{0};
    std::mutex joined;
    Tally total;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            Tally mine;
            for (std::uint64_t start = next.fetch_add(Block); start < count;
                 start = next.fetch_add(Block)) {
                const std::uint64_t end = std::min(count, start + Block);
                for (std::uint64_t i = start; i < end; ++i) {
                    check(i, mine);
                }
            }
            const std::lock_guard<std::mutex> lock(joined);
            total.add(mine);
        });
    }
    for (std::thread& w : workers) {
        w.join();
    }
    return total;
}

// The floats 0, s, 2s, ... in their bits up to `limit`'s, each with both signs: index i is
// the (i / 2)-th of them, negative for odd i.
struct FloatRange {
    std::uint32_t stride;
    std::uint64_t count;

    FloatRange(float limit, std::uint32_t stride)
        : stride(stride), count(2 * (std::uint64_t(floatBits(limit)) / stride + 1)) {}
    float at(std::uint64_t i) const {
        const auto bits = std::uint32_t(i / 2 * stride) | (i % 2 != 0 ? SignBit : 0u);
        return floatFromBits(bits);
    }
};

bool sameBits(float a, float b) {
    return floatBits(a) == floatBits(b);
}

std::uint64_t ulpsApart(double a, double b) {
    const auto ia = std::bit_cast<std::int64_t>(a);
    const auto ib = std::bit_cast<std::int64_t>(b);
    // Same sign in every case swept: the bits count ulps.
    return ia > ib ? std::uint64_t(ia - ib) : std::uint64_t(ib - ia);
}

Tally sweepRotations(std::uint32_t stride, int threads) {
    const FloatRange range(RotationLimit, stride);
    return sweep(range.count, threads, [&](std::uint64_t i, Tally& tally) {
        const float x = range.at(i);
        const SinCosFloat own = ownSinCosFloat(x);
        const float sn = float(std::sin(double(x)));
        const float cs = float(std::cos(double(x)));
        ++tally.inputs;
        if (!sameBits(own.sn, sn)) {
            tally.mismatch("sin", x, own.sn);
        }
        if (!sameBits(own.cs, cs)) {
            tally.mismatch("cos", x, own.cs);
        }
    });
}

Tally sweepTilts(std::uint32_t stride, int threads) {
    const FloatRange range(TiltLimit, stride);
    return sweep(range.count, threads, [&](std::uint64_t i, Tally& tally) {
        const double x = range.at(i);
        const std::uint64_t apart = ulpsApart(ownCos(x), std::cos(x));
        ++tally.inputs;
        tally.oneUlp += apart == 1 ? 1 : 0;
        if (apart > 1) {
            tally.mismatch("cos", x, ownCos(x));
        }
    });
}

// Zero and the magnitudes of the grid, each with both signs.
std::vector<float> gridAxis(std::uint32_t spacing) {
    std::vector<float> axis{0.0f, -0.0f};
    const std::uint32_t last = floatBits(GridLargest);
    for (std::uint32_t bits = floatBits(GridSmallest); bits <= last; bits += spacing) {
        axis.push_back(floatFromBits(bits));
        axis.push_back(-floatFromBits(bits));
    }
    return axis;
}

Tally sweepAngles(std::uint32_t spacing, int threads) {
    const std::vector<float> axis = gridAxis(spacing);
    const std::uint64_t n = axis.size();
    return sweep(n * n, threads, [&](std::uint64_t i, Tally& tally) {
        const float y = axis[i / n];
        const float x = axis[i % n];
        ++tally.inputs;
        if (!sameBits(ownAtan2Float(y, x), float(std::atan2(double(y), double(x))))) {
            tally.mismatch("atan2 y, x =", y, x);
        }
    });
}

bool readCount(const char* text, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 1 && value <= (1L << 30);
}

// Prints one part's line and its examples; true when it found nothing.
bool report(const char* part, const Tally& t, double seconds, const char* extra) {
    std::printf("%s: %llu inputs, %llu mismatches%s, %.1f s\n", part, (unsigned long long)t.inputs,
                (unsigned long long)t.mismatches, extra, seconds);
    for (const std::string& e : t.examples) {
        std::printf("  %s\n", e.c_str());
    }
    std::fflush(stdout);
    return t.mismatches == 0;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    long stride = 1;
    long threads = std::max(1u, std::thread::hardware_concurrency());
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--stride") == 0 && hasValue && readCount(argv[i + 1], stride)) {
            ++i;
        } else if (std::strcmp(argv[i], "--threads") == 0 && hasValue &&
                   readCount(argv[i + 1], threads)) {
            ++i;
        } else {
            std::fprintf(stderr, "tumbra-math-sweep: bad argument %s; %s\n", argv[i], Usage);
            return BadArguments;
        }
    }
    const auto floatStride = std::uint32_t(stride);
    const auto gridSpacing = GridSpacing * std::uint32_t(std::lround(std::sqrt(double(stride))));
    const int t = int(threads);

    // Each part is timed on its own: its tally first, then the clock.
    auto start = std::chrono::steady_clock::now();
    const Tally rotations = sweepRotations(floatStride, t);
    bool clean = report("sin, cos, every float |x| <= 2^20", rotations, secondsSince(start), "");
    start = std::chrono::steady_clock::now();
    const Tally tilts = sweepTilts(floatStride, t);
    const std::string oneUlp = " (of more than one ulp); " + std::to_string(tilts.oneUlp) +
                               " one ulp apart, the rest equal";
    clean =
        report("cos in double, every float |x| <= 1", tilts, secondsSince(start), oneUlp.c_str()) &&
        clean;
    start = std::chrono::steady_clock::now();
    const Tally angles = sweepAngles(gridSpacing, t);
    clean = report("atan2, grid over [-1, 1]^2", angles, secondsSince(start), "") && clean;
    return clean ? 0 : 1;
}
