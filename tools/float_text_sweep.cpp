// tumbra-float-text-sweep: shows, float by float, that the replay file's own float text
// (floatText, readFloatText) writes and reads every stick value a pad line can hold as
// std::to_chars and std::from_chars did before it: every float within -1..1, both zeros and
// every subnormal among them.
//
//   tumbra-float-text-sweep [--stride N] [--threads T]
//
// For each float f: floatText(f) against std::to_chars, and readFloatText of that text against
// std::from_chars and against f itself. For every 16th float also the decimal exactly halfway
// to the next float up, which must round to the one with an even significand. With --stride N
// only every N-th float is taken (./check runs that). Where the C++ library has no floating
// std::to_chars (emscripten's), the texts are checked against their own reading only; the
// digest of every text written, in order, then tells whether both builds write the same.
// Exit status 0 when nothing differs, 1 when something does, 2 for bad arguments.
#include "engine/float_bits.h"
#include "replay/replay_file.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int BadArguments = 2;
constexpr const char* Usage = "usage: tumbra-float-text-sweep [--stride N] [--threads T]";
constexpr std::uint32_t SignBit = 0x80000000u;
constexpr std::uint32_t OneBits = 0x3f800000u;
// The floats of 0..1 (both ends), then the same negated.
constexpr std::uint64_t PerSign = OneBits + 1ull;
constexpr std::uint64_t Block = 1u << 20;
constexpr std::uint64_t MidpointEvery = 16;
// Enough digits for the exact decimal of any midpoint within 0..1.
constexpr int ExactDigits = 160;
constexpr int ExamplesKept = 5;
constexpr std::uint64_t DigestStart = 0xcbf29ce484222325ull;
constexpr std::uint64_t DigestPrime = 0x100000001b3ull;

#if defined(__cpp_lib_to_chars)
constexpr bool HasLibraryText = true;
#else
constexpr bool HasLibraryText = false;
#endif

std::uint64_t digestOf(std::uint64_t digest, std::string_view text) {
    for (const char c : text) {
        digest = (digest ^ static_cast<unsigned char>(c)) * DigestPrime;
    }
    return digest;
}

// What one block of the sweep found.
struct Tally {
    std::uint64_t floats = 0;
    std::uint64_t midpoints = 0;
    std::uint64_t mismatches = 0;
    std::uint64_t digest = DigestStart;
    std::vector<std::string> examples;

    void mismatch(const char* what, float value, const std::string& text) {
        ++mismatches;
        if (examples.size() < ExamplesKept) {
            char line[300];
            std::snprintf(line, sizeof line, "%s: %a (%08x) \"%.200s\"", what, value,
                          floatBits(value), text.c_str());
            examples.push_back(line);
        }
    }
};

float floatAt(std::uint64_t index) {
    const auto magnitude = static_cast<std::uint32_t>(index % PerSign);
    return floatFromBits(index < PerSign ? magnitude : magnitude | SignBit);
}

#if defined(__cpp_lib_to_chars)
// The library's text of `value` against floatText's.
void compareText(float value, const std::string& text, Tally& tally) {
    char library[64];
    const auto written = std::to_chars(library, library + sizeof library, value);
    const std::string libraryText(library, written.ptr);
    if (libraryText != text) {
        tally.mismatch(("to_chars wrote " + libraryText).c_str(), value, text);
    }
}

// The library's reading of `text` against readFloatText's: both refuse it, or both read the
// same bits.
void compareReading(const std::string& text, bool read, float value, Tally& tally) {
    float libraryValue = 0.0f;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), libraryValue);
    const bool libraryRead = parsed.ec == std::errc{} && parsed.ptr == text.data() + text.size();
    if (libraryRead != read || (read && floatBits(libraryValue) != floatBits(value))) {
        tally.mismatch("from_chars reads otherwise", value, text);
    }
}
#else
void compareText(float, const std::string&, Tally&) {}
void compareReading(const std::string&, bool, float, Tally&) {}
#endif

// The decimal exactly halfway from |value| to the next float up rounds to the even one; the
// one above zero is refused, as it rounds to nothing.
void checkMidpoint(float value, Tally& tally) {
    const float magnitude = std::fabs(value);
    const float next = std::nextafter(magnitude, 2.0f);
    const double halfway = (static_cast<double>(magnitude) + next) / 2.0;
    char text[ExactDigits + 16];
    std::snprintf(text, sizeof text, "%.*e", ExactDigits, halfway);
    const float even = (floatBits(magnitude) & 1u) == 0 ? magnitude : next;
    float read = 0.0f;
    const bool readable = readFloatText(text, read);
    ++tally.midpoints;
    if (readable != (even != 0.0f) || (readable && floatBits(read) != floatBits(even))) {
        tally.mismatch("a midpoint reads otherwise", magnitude, text);
    }
    compareReading(text, readable, read, tally);
}

void checkFloat(std::uint64_t index, Tally& tally) {
    const float value = floatAt(index);
    const std::string text = floatText(value);
    tally.digest = digestOf(tally.digest, text + "\n");
    ++tally.floats;
    float read = 0.0f;
    const bool readable = readFloatText(text, read);
    if (!readable || floatBits(read) != floatBits(value)) {
        tally.mismatch("does not read back", value, text);
    }
    compareText(value, text, tally);
    compareReading(text, readable, read, tally);
    if (index % MidpointEvery == 0) {
        checkMidpoint(value, tally);
    }
}

// Every stride-th float, a block at a time on `threads` threads (none of its own for one);
// the digests of the blocks are joined in their order.
Tally sweep(std::uint64_t stride, int threads) {
    const std::uint64_t count = (2 * PerSign + stride - 1) / stride;
    const std::uint64_t blocks = (count + Block - 1) / Block;
    std::vector<Tally> tallies(blocks);
    std::atomic<std::uint64_t> next{0};
    const auto work = [&] {
        for (std::uint64_t b = next++; b < blocks; b = next++) {
            const std::uint64_t end = std::min(count, (b + 1) * Block);
            for (std::uint64_t i = b * Block; i < end; ++i) {
                checkFloat(i * stride, tallies[b]);
            }
        }
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
        workers.emplace_back(work);
    }
    work();
    for (std::thread& worker : workers) {
        worker.join();
    }
    Tally total;
    for (const Tally& tally : tallies) {
        total.floats += tally.floats;
        total.midpoints += tally.midpoints;
        total.mismatches += tally.mismatches;
        total.digest = digestOf(total.digest, std::to_string(tally.digest));
        for (const std::string& example : tally.examples) {
            if (total.examples.size() < ExamplesKept) {
                total.examples.push_back(example);
            }
        }
    }
    return total;
}

bool readCount(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return *text != '\0' && *end == '\0' && value >= 1;
}

} // namespace

int main(int argc, char** argv) {
    long long stride = 1;
    long long threads = std::max(1u, std::thread::hardware_concurrency());
    for (int i = 1; i < argc; i += 2) {
        long long* value = std::strcmp(argv[i], "--stride") == 0    ? &stride
                           : std::strcmp(argv[i], "--threads") == 0 ? &threads
                                                                    : nullptr;
        if (value == nullptr || i + 1 == argc || !readCount(argv[i + 1], *value)) {
            std::fprintf(stderr, "%s\n", Usage);
            return BadArguments;
        }
    }
    const Tally total = sweep(static_cast<std::uint64_t>(stride), static_cast<int>(threads));
    std::printf("%llu floats, %llu midpoints, against %s: %llu differ; digest %016llx\n",
                static_cast<unsigned long long>(total.floats),
                static_cast<unsigned long long>(total.midpoints),
                HasLibraryText ? "std::to_chars and std::from_chars" : "their own reading",
                static_cast<unsigned long long>(total.mismatches),
                static_cast<unsigned long long>(total.digest));
    for (const std::string& example : total.examples) {
        std::printf("  %s\n", example.c_str());
    }
    return total.mismatches == 0 ? 0 : 1;
}
