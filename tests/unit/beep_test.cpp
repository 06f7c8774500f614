// The beep through SDL's real audio path: the disk driver writes what would be heard.
#include "platform/beep.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Silence longer than this (in samples) separates two bursts.
constexpr size_t BurstGap = 1000;

std::string diskFile() {
    return testing::TempDir() + "beep_test_" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + ".raw";
}

void useDiskAudio(const std::string& path) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
}

std::vector<float> readSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<float> samples;
    float v = 0.0f;
    while (in.read(reinterpret_cast<char*>(&v), sizeof v)) {
        samples.push_back(v);
    }
    return samples;
}

struct Burst {
    size_t length = 0;
    float peak = 0.0f;
};

std::vector<Burst> bursts(const std::vector<float>& samples) {
    std::vector<Burst> found;
    size_t quiet = BurstGap;
    for (float v : samples) {
        if (v == 0.0f) {
            ++quiet;
            continue;
        }
        if (quiet >= BurstGap) {
            found.emplace_back();
        }
        quiet = 0;
        ++found.back().length;
        found.back().peak = std::max(found.back().peak, std::fabs(v));
    }
    return found;
}

} // namespace

TEST(Beep, EachBeepWritesOneShortAudibleBurst) {
    const std::string path = diskFile();
    useDiskAudio(path);
    ASSERT_TRUE(openBeep());
    std::this_thread::sleep_for(100ms);
    beep(440);
    std::this_thread::sleep_for(300ms);
    beep(880);
    std::this_thread::sleep_for(300ms);
    closeBeep();

    const std::vector<float> samples = readSamples(path);
    std::remove(path.c_str());
    const std::vector<Burst> found = bursts(samples);
    ASSERT_EQ(found.size(), 2u);
    for (const Burst& b : found) {
        // About 80 ms at whatever rate the device runs (8 to 48 kHz would be 640 to 3840).
        EXPECT_GT(b.length, 500u);
        EXPECT_LT(b.length, 8000u);
        EXPECT_GT(b.peak, 0.1f);
    }
}

TEST(Beep, BeepsInConsecutiveFramesMakeOneRestartedTone) {
    const std::string path = diskFile();
    useDiskAudio(path);
    ASSERT_TRUE(openBeep());
    for (int frame = 0; frame < 5; ++frame) {
        beep(880);
        std::this_thread::sleep_for(33ms);
    }
    std::this_thread::sleep_for(300ms);
    closeBeep();
    const std::vector<float> samples = readSamples(path);
    std::remove(path.c_str());
    EXPECT_EQ(bursts(samples).size(), 1u);
}

TEST(Beep, LeavesTheTerminalSignalsAlone) {
    const std::string path = diskFile();
    useDiskAudio(path);
    ASSERT_TRUE(openBeep());
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        sigaction(signal, nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
    closeBeep();
    std::remove(path.c_str());
}

TEST(Beep, WithoutAnAudioDeviceEveryBeepIsSilentAndNothingIsPrinted) {
    // An ALSA device that does not exist: ALSA would complain on stderr.
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    setenv("AUDIODEV", "hw:99", 1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(openBeep());
    beep(440);
    closeBeep();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Beep, WithoutAnyAudioDriverEveryBeepIsSilent) {
    setenv("SDL_AUDIODRIVER", "none-such", 1);
    EXPECT_FALSE(openBeep());
    beep(440);
    closeBeep();
}
