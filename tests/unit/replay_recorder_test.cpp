// The recorder's ends and limits: what it writes is always a file the parser accepts, it is
// written out as the game goes and at exit, and a failed write is said once while the game
// plays on.
#include "flow/input_door.h"
#include "flow/replay_source.h"
#include "flow_driver.h"
#include "platform/user_files.h"
#include "replay/replay_recorder.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class Recorder : public FlowDriver {
  protected:
    void TearDown() override {
        recorder.seal();
        recorder.byteLimit = MaxReplayBytes;
        std::remove(path.c_str());
        FlowDriver::TearDown();
    }

    const std::string path =
        testing::TempDir() + "recorder_test_" + std::to_string(getpid()) + ".replay";
    // The game's own: an exit writes it out.
    ReplayRecorder& recorder = replayRecorder;

    void record(const ReplayStart& start = {}) {
        startAt(start);
        std::string error;
        ASSERT_TRUE(recorder.open(path, start, error)) << error;
        watchInput(&recorder);
    }

    // The recording as written so far: the writer thread has appended every write-out.
    std::string text() const {
        finishSaving();
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    Replay parsed() const {
        Replay replay;
        ReplayError error;
        EXPECT_TRUE(parseReplay(text(), ReplayText::Recording, replay, error))
            << error.line << ": " << error.message;
        return replay;
    }
};

TEST_F(Recorder, WritesOutAboutOnceASecondAndAtExit) {
    record();
    passKey('8', 0, 0);
    frames(29);
    EXPECT_EQ(text().find("key 56"), std::string::npos) << "buffered for now";
    frame();
    EXPECT_NE(text().find("1 key 56"), std::string::npos) << "written out after 30 frames";

    // An exit without a seal (a crash of the window system, say) keeps every input.
    EXPECT_EXIT(
        {
            passKey('2', 0, 0);
            frame();
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_NE(text().find("31 key 50"), std::string::npos);
}

// At the last frame a file can hold, the next frame's start seals the recording, and so does
// a key that would belong to that next frame.
TEST_F(Recorder, StopsSealedAtTheFrameLimitWithANotice) {
    for (const bool keyPressed : {false, true}) {
        record({FirstStage, 0});
        passKey('p', 0, 0); // paused, the frames cost next to nothing
        frames(MaxReplayFrame);
        testing::internal::CaptureStderr();
        if (keyPressed) {
            passKey('8', 0, 0);
        }
        frame();
        const std::string notice = testing::internal::GetCapturedStderr();
        EXPECT_NE(notice.find("frame limit"), std::string::npos) << notice;
        EXPECT_EQ(std::count(notice.begin(), notice.end(), '\n'), 1);
        const Replay replay = parsed();
        EXPECT_TRUE(replay.sealed);
        EXPECT_EQ(replay.endFrame, MaxReplayFrame);
    }
}

TEST_F(Recorder, StopsSealedBeforeTheSizeLimitWithANotice) {
    recorder.byteLimit = 4096;
    record();
    testing::internal::CaptureStderr();
    for (int f = 1; f <= 1000; ++f) {
        passKey(f % 2 == 0 ? '4' : '6', 0, 0);
        frame();
    }
    const std::string notice = testing::internal::GetCapturedStderr();
    EXPECT_NE(notice.find("size limit"), std::string::npos) << notice;
    EXPECT_LE(static_cast<long>(text().size()), recorder.byteLimit);
    EXPECT_TRUE(parsed().sealed);
}

// The header cannot be written: refused. A later write fails: one line, and the game plays on.
TEST_F(Recorder, AFailedWriteIsSaidOnceAndTheGamePlaysOn) {
    std::string error;
    EXPECT_FALSE(recorder.open("/dev/full", {}, error));
    EXPECT_NE(error.find("/dev/full: cannot write"), std::string::npos) << error;

    EXPECT_EXIT(
        {
            record();
            rlimit small;
            small.rlim_cur = small.rlim_max = 1000;
            setrlimit(RLIMIT_FSIZE, &small);
            std::signal(SIGXFSZ, SIG_IGN);
            for (int f = 0; f < 3000; ++f) {
                passKey(f % 2 == 0 ? '4' : '6', 0, 0);
                frame();
            }
            recorder.seal();
            std::exit(0);
        },
        testing::ExitedWithCode(0), "^[^\n]*cannot write: File too large[^\n]*\n$");
}

} // namespace
