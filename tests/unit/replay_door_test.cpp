// Recording and playback at the input door: a game recorded through the key callbacks and the
// idle handler replays to the same state, a recording cut short stays usable, and a replay
// that departs is caught at the first state change that differs.
#include "flow/input_door.h"
#include "flow/replay_source.h"
#include "flow_driver.h"
#include "platform/gamepad.h"
#include "platform/user_files.h"
#include "replay/replay_recorder.h"
#include "replay/state_checksum.h"
#include "shell/replay_window.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

int padReads = 0;
GamepadState countPadRead() {
    // The door is read before the stored keys become inputs.
    EXPECT_EQ(padY, 0.0f);
    ++padReads;
    return {};
}

// The pad during the scripted game: in stage 2 the sticks tip the dish and roll the ball, the
// D-pad pushes, Start pauses and resumes, and the pad is pulled out (which pauses) and put
// back.
GamepadState scriptedPad() {
    const int frame = replayRecorder.frames();
    GamepadState pad;
    if (frame >= 265 && frame < 330) {
        pad.rightX = 0.75f;
        pad.leftY = -0.3f;
    }
    if (frame >= 290 && frame < 300) {
        pad.dpadX = -1;
    }
    if (frame == 275 || frame == 285 || frame == 360) {
        pad.pressed = GamepadStart;
    }
    pad.disconnected = frame == 350;
    return pad;
}

class ReplayDoor : public FlowDriver {
  protected:
    void SetUp() override {
        FlowDriver::SetUp();
        gamepadInput = readGamepad;
    }
    void TearDown() override {
        std::remove(path.c_str());
        FlowDriver::TearDown();
    }

    // A file of this process's own: the tests run side by side, here and in other builds.
    const std::string path =
        testing::TempDir() + "door_test_" + std::to_string(getpid()) + ".replay";

    // Records what follows, with the scripted pad as the game's pad.
    void startScriptRecording() {
        gamepadInput = scriptedPad;
        std::string error;
        ASSERT_TRUE(startRecording(path, {}, error)) << error;
    }

    // A game through the door: stage 1 cleared, stage 2 with speed keys, a pause, arrows and
    // a tipping key, then given up; `atFrame` runs after every frame.
    template <typename AtFrame> static void playScript(AtFrame atFrame) {
        Replay script;
        script.events = {{5, ReplayEvent::Key, '8'},   {86, ReplayEvent::Key, '2'},
                         {96, ReplayEvent::Key, '5'},  {96, ReplayEvent::Special, 103},
                         {250, ReplayEvent::Key, 's'}, {255, ReplayEvent::Key, 's'},
                         {260, ReplayEvent::Key, 'f'}, {300, ReplayEvent::Key, 'p'},
                         {320, ReplayEvent::Key, 'p'}, {330, ReplayEvent::Special, 100},
                         {340, ReplayEvent::Key, '7'}, {380, ReplayEvent::Special, 102},
                         {400, ReplayEvent::Key, 'q'}};
        ReplayFeed feed(script);
        for (int f = 1; f <= 650; ++f) {
            feed.feedFrame(f, {doorKeyboard, doorSpecialKey});
            frame();
            atFrame(f);
        }
    }

    // The recording as written so far: the writer thread has appended every write-out.
    static std::string readFile(const std::string& name) {
        finishSaving();
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static Replay load(const std::string& text) {
        Replay replay;
        ReplayError error;
        EXPECT_TRUE(parseReplay(text, ReplayText::Recording, replay, error))
            << error.line << ": " << error.message;
        return replay;
    }

    // Plays `replay` from a fresh title; the state marks seen are returned.
    std::vector<ReplayCheck> replayFromTitle(ReplayPlayer& player, int nudgeAt = 0) {
        FlowDriver::SetUp();
        std::vector<ReplayCheck> seen;
        playHeadless(player, [&](int frame, const StateMark& mark) {
            seen.push_back({frame, mark, 0});
            if (frame == nudgeAt) {
                gameWorld.balls[1]->velocity.x += 0.001f;
            }
        });
        return seen;
    }
};

TEST_F(ReplayDoor, OnIdleReadsTheGamepadFirstInEveryFrameAlsoWhilePaused) {
    gamepadInput = countPadRead;
    padReads = 0;
    press('8');
    frames(3);
    press('p');
    frames(2);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(padReads, 5);
}

TEST_F(ReplayDoor, ARecordedGameReplaysToTheSameStateAndACutOneUpToItsLastLine) {
    startScriptRecording();
    std::string killedFile;
    playScript([&](int frame) {
        if (frame == 500) {
            // What a killed game leaves: everything up to the last flush.
            replayRecorder.flush();
            killedFile = readFile(path);
        }
    });
    const std::uint64_t finalState = stateChecksum();
    replayRecorder.seal();
    const Replay replay = load(readFile(path));
    ASSERT_TRUE(replay.sealed);
    EXPECT_EQ(replay.endFrame, 650);
    // A line for each change of the pad: the sticks, the D-pad, three presses and the pad
    // pulled out, each with its release.
    EXPECT_EQ(replay.pads.size(), 12u);
    EXPECT_EQ(replay.checksum, finalState);
    // Stage 1 cleared, stage 2 given up, back on the title.
    ASSERT_GE(replay.checks.size(), 3u);
    EXPECT_EQ(replay.checks.back().mark, (StateMark{Title, 0, StartingLives}));

    ReplayPlayer player(replay, ThroughTheDoor);
    const std::vector<ReplayCheck> seen = replayFromTitle(player);
    EXPECT_TRUE(player.matches()) << player.differenceText();
    EXPECT_EQ(player.framesPlayed(), 650);
    EXPECT_EQ(player.finalChecksum(), finalState);
    ASSERT_EQ(seen.size(), replay.checks.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].frame, replay.checks[i].frame);
        EXPECT_EQ(seen[i].mark, replay.checks[i].mark);
    }

    const Replay cut = load(killedFile);
    EXPECT_FALSE(cut.sealed);
    EXPECT_EQ(cut.lastFrame(), replay.checks.back().frame);
    ReplayPlayer cutPlayer(cut, ThroughTheDoor);
    replayFromTitle(cutPlayer);
    EXPECT_TRUE(cutPlayer.matches()) << cutPlayer.differenceText();
    EXPECT_EQ(cutPlayer.framesPlayed(), cut.lastFrame());
}

TEST_F(ReplayDoor, AReplayThatDepartsIsCaughtAtTheFirstStateChangeThatDiffers) {
    startScriptRecording();
    playScript([](int) {});
    replayRecorder.seal();
    const Replay replay = load(readFile(path));
    // A tiny push to an opponent when stage 2's play starts: its first lost life comes out
    // otherwise.
    const int playStarts = 262;
    ReplayPlayer player(replay, ThroughTheDoor);
    replayFromTitle(player, playStarts);
    EXPECT_FALSE(player.matches());
    EXPECT_GT(player.firstDifference(), playStarts);
    EXPECT_LT(player.firstDifference(), 400);
    EXPECT_NE(player.differenceText().find("at frame " + std::to_string(player.firstDifference())),
              std::string::npos);
}

// One recorder writes one file per game, each from the start of its game at a stage and speed
// level; each replays from that start to its checksum.
TEST_F(ReplayDoor, GamesRecordedFromTheirStartsReplayFromThere) {
    for (const ReplayStart start : {ReplayStart{5, 3}, ReplayStart{22, 0}}) {
        startAt(start);
        std::string error;
        ASSERT_TRUE(replayRecorder.open(path, start, error)) << error;
        watchInput(&replayRecorder);
        doorSpecialKey(100, 0, 0);
        frames(150);
        doorKeyboard('7', 0, 0);
        frames(100);
        const std::uint64_t finalState = stateChecksum();
        replayRecorder.seal();
        watchInput(nullptr);
        const Replay replay = load(readFile(path));
        EXPECT_EQ(replay.start, start);
        EXPECT_EQ(replay.formatVersion, ReplayFormatVersion);
        ReplayPlayer player(replay, ThroughTheDoor);
        replayFromTitle(player);
        EXPECT_TRUE(player.matches()) << player.differenceText();
        EXPECT_EQ(player.framesPlayed(), 250);
        EXPECT_EQ(player.finalChecksum(), finalState);
        EXPECT_EQ(waitLevel, start.level);
    }
}

// Without a window the GLUT calls are skipped; the key callbacks are the e2e tests' part.
TEST_F(ReplayDoor, TheWindowShowsARecordingThenReturnsToTheTitleOrExitsOnAMismatch) {
    startScriptRecording();
    playScript([](int) {});
    replayRecorder.seal();
    finishSaving();
    SetUp();
    std::string error;
    ASSERT_TRUE(loadWindowReplay(path, error)) << error;
    startWindowReplay();
    frames(650);
    EXPECT_EQ(waitLevel, 1); // the recorded speed level
    EXPECT_FALSE(inputSource().takesWindowKeys());
    frame(); // the recording is over: the title with the defaults, and the live door
    EXPECT_EQ(&inputSource(), &liveInput());
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(waitLevel, 0);

    std::string text = readFile(path);
    text[text.size() - 2] ^= 1; // the end record's checksum
    std::ofstream(path, std::ios::binary) << text;
    ASSERT_TRUE(loadWindowReplay(path, error)) << error;
    EXPECT_EXIT(
        {
            SetUp();
            startWindowReplay();
            frames(651);
        },
        testing::ExitedWithCode(ReplayMismatchStatus), "checksum mismatch");

    text.resize(text.size() - 1); // cut short: refused with its line
    std::ofstream(path, std::ios::binary) << text;
    EXPECT_FALSE(loadWindowReplay(path, error));
    EXPECT_NE(error.find(path + ":" +
                         std::to_string(std::count(text.begin(), text.end(), '\n') + 1) + ": "),
              std::string::npos)
        << error;
}

} // namespace
