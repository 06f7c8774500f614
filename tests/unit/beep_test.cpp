// The beep through SDL's real audio path: the disk driver writes what would be heard.
#include "../support/bursts.h"
#include "flow_driver.h"
#include "platform/beep.h"
#include "platform/tone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// After the last pip this much silence (about 85 ms) shows that no more are coming.
constexpr std::size_t SettledSilence = 4096;

std::string diskFile() {
    return testing::TempDir() + "beep_test_" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + ".raw";
}

void useDiskAudio(const std::string& path) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
}

// Polls the disk file until at least `expected` pips and the silence after them are written
// (at most 3 s), then closes the device and returns the pips.
std::vector<Burst> pipsWritten(const std::string& path, std::size_t expected) {
    std::vector<Burst> found;
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::vector<float> samples = readSamples(path);
        found = findBursts(samples);
        const std::size_t end = found.empty() ? 0 : found.back().start + found.back().length;
        if (found.size() >= expected && samples.size() >= end + SettledSilence) {
            break;
        }
        std::this_thread::sleep_for(10ms);
    }
    closeBeep();
    std::remove(path.c_str());
    return found;
}

} // namespace

TEST(Beep, EachBeepIsOneShortAudiblePip) {
    const std::string path = diskFile();
    useDiskAudio(path);
    ASSERT_TRUE(openBeep());
    beep(440);
    std::this_thread::sleep_for(50ms);
    beep(880);
    const std::vector<Burst> found = pipsWritten(path, 2);
    ASSERT_EQ(found.size(), 2u);
    for (const Burst& b : found) {
        // About 22 ms at whatever rate the device runs (8 to 48 kHz would be 176 to 1056).
        EXPECT_GT(b.length, 150u);
        EXPECT_LT(b.length, 1200u);
        EXPECT_GT(b.peak, 0.1f);
    }
}

TEST(Beep, OpensInTheBackgroundAndClosesSafelyWhileOpening) {
    const std::string path = diskFile();
    useDiskAudio(path);
    openBeepInBackground();
    // Most likely while the opening still runs: it waits for the opening, then closes, and
    // the device stays closed (the disk driver opens within milliseconds).
    closeBeep();
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(beepOpen());
    beep(440);
    openBeepInBackground();
    for (int poll = 0; poll < 200 && !beepOpen(); ++poll) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(beepOpen());
    beep(440);
    EXPECT_EQ(pipsWritten(path, 1).size(), 1u);
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
    openBeepInBackground();
    closeBeep();
    EXPECT_FALSE(beepOpen());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Beep, WithoutAnyAudioDriverEveryBeepIsSilent) {
    setenv("SDL_AUDIODRIVER", "none-such", 1);
    EXPECT_FALSE(openBeep());
    beep(440);
    closeBeep();
}

// While the device opens the program's own stderr stays its own: only the audio library's
// messages are dropped. The main thread writes lines while the opening runs (about a tenth of
// a second for a missing ALSA device), then waits for it to end.
TEST(Beep, OpeningTheDeviceLosesNoLineOfTheProgramsStderr) {
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    setenv("AUDIODEV", "hw:99", 1);
    testing::internal::CaptureStderr();
    openBeepInBackground();
    const int written = 2000;
    for (int line = 1; line <= written; ++line) {
        std::fprintf(stderr, "line %d\n", line);
        std::this_thread::sleep_for(100us);
    }
    closeBeep();
    const std::string captured = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(captured.begin(), captured.end(), '\n'), written);
    EXPECT_EQ(captured.find("ALSA"), std::string::npos) << captured.substr(0, 300);
}

// The game's frames, with the audio rendered between them as a device at 48 kHz and 30
// frames a second would: every beeping frame is one pip. No thread and no clock: the same
// pips on the busiest machine.
class GamePips : public FlowDriver {
  protected:
    static constexpr int SampleRate = 48000;
    static constexpr int SamplesPerFrame = SampleRate / 30;

    static std::size_t pipsOf(void (*start)(), int frameCount) {
        static std::optional<PipMixer> mixer;
        mixer.emplace(SampleRate);
        beepOutput = [](int pitch) { mixer->request(pitch); };
        start();
        std::vector<float> samples;
        for (int n = 0; n < frameCount + 5; ++n) {
            if (n < frameCount) {
                frame();
            }
            samples.resize(samples.size() + SamplesPerFrame);
            mixer->fill(samples.data() + samples.size() - SamplesPerFrame, SamplesPerFrame);
        }
        return findBursts(samples).size();
    }
};

TEST_F(GamePips, GivingUpInPlayGivesElevenPips) {
    const auto giveUp = [] {
        playStage(3);
        press('q');
    };
    EXPECT_EQ(pipsOf(giveUp, 15), 11u);
}

TEST_F(GamePips, AStageClearGivesTwentyPips) {
    const auto clear = [] {
        playStage(1);
        dropBall(1);
        dropBall(2);
    };
    EXPECT_EQ(pipsOf(clear, 25), 20u);
}
