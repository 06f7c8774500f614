// The automatic replays, headless through the real game flow: recording a game never changes
// it, the game's file replays to its checksum, and the replay of the game just played is kept
// whatever the names of the others say.
#include "flow/input_door.h"
#include "flow/player_frames.h"
#include "flow/replay_source.h"
#include "flow_driver.h"
#include "platform/user_files.h"
#include "player/auto_replays.h"
#include "player/player_files.h"
#include "replay/replay_feed.h"
#include "replay/state_checksum.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A game from the title: a stored key and the demonstration first, the up arrow, the speed
// changed during the fly-in, tipping keys and arrows in play, then given up; back on the title
// by the last frame.
const Replay Script = [] {
    Replay script;
    script.events = {{25, ReplayEvent::Key, 'q'},      {41, ReplayEvent::Special, 101},
                     {45, ReplayEvent::Key, 's'},      {130, ReplayEvent::Key, '8'},
                     {180, ReplayEvent::Special, 100}, {220, ReplayEvent::Key, '3'},
                     {300, ReplayEvent::Key, 'q'}};
    return script;
}();
constexpr int ScriptFrames = 340;
constexpr int StartFrame = 41;

void followGamesOnly(bool) {
    followGames();
}
constexpr FrameListener FollowGamesOnly[] = {followGamesOnly};

// One frame of a game: its state, and the whole state's checksum after it.
struct FrameSeen {
    int state;
    std::uint64_t checksum;

    bool operator==(const FrameSeen&) const = default;
};

class AutoReplays : public FlowDriver {
  protected:
    void SetUp() override {
        FlowDriver::SetUp();
        char name[] = "/tmp/tumbra-auto-replays-XXXXXX";
        home = ::mkdtemp(name);
        if (const char* old = std::getenv("HOME")) {
            oldHome = old;
        }
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
    }
    void TearDown() override {
        std::system(("rm -rf " + home).c_str());
        ::setenv("HOME", oldHome.c_str(), 1);
        FlowDriver::TearDown();
    }

    // Plays the script from a fresh title, the keys through the door.
    static std::vector<FrameSeen> playScript() {
        resetToTitle();
        ReplayFeed feed(Script);
        std::vector<FrameSeen> seen;
        for (int f = 1; f <= ScriptFrames; ++f) {
            feed.feedFrame(f, {doorKeyboard, doorSpecialKey});
            frame();
            seen.push_back({gameState, stateChecksum()});
        }
        return seen;
    }

    // The script with every game recorded, in a process of its own: the writer thread that
    // saves the replays must not run on here, where a later test forks (a child cannot take a
    // thread over). The frames come back through a file.
    std::vector<FrameSeen> playScriptRecorded() const {
        const std::string path = home + "/frames";
        EXPECT_EXIT(
            {
                recordEveryGame();
                frameListeners = FollowGamesOnly;
                std::ofstream out(path);
                for (const FrameSeen& f : playScript()) {
                    out << f.state << ' ' << f.checksum << '\n';
                }
                out.close();
                stopRecordingGames();
                finishSaving();
                std::exit(0);
            },
            testing::ExitedWithCode(0), "");
        std::vector<FrameSeen> seen;
        std::ifstream in(path);
        for (FrameSeen f{}; in >> f.state >> f.checksum;) {
            seen.push_back(f);
        }
        return seen;
    }

    static std::vector<std::string> gameFiles() {
        std::vector<std::string> names = filesIn(replaysFolder());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string home;
    std::string oldHome;
};

// The fly-in lasts as long whether the game is recorded or not: the title's frame that starts
// it and 59 more.
TEST_F(AutoReplays, AGameRecordedIsFrameForFrameTheGameUnrecordedAndItsFileReplays) {
    const std::vector<FrameSeen> unrecorded = playScript();
    const std::vector<FrameSeen> recorded = playScriptRecorded();
    ASSERT_EQ(recorded.size(), unrecorded.size());
    for (std::size_t f = 0; f < recorded.size(); ++f) {
        ASSERT_EQ(recorded[f], unrecorded[f]) << "frame " << f + 1;
    }
    EXPECT_EQ(std::count_if(recorded.begin(), recorded.end(),
                            [](const FrameSeen& f) { return f.state == StageIntro; }),
              60);

    const std::vector<std::string> names = gameFiles();
    ASSERT_EQ(names.size(), 1u);
    Replay replay;
    ReplayError error;
    ASSERT_TRUE(loadReplay(replaysFolder() + "/" + names[0], ReplayText::Recording, replay, error))
        << error.line << ": " << error.message;
    EXPECT_EQ(replay.start, (ReplayStart{FirstStage, 0, true}));
    // Sealed on the frame that comes back to the title.
    ASSERT_TRUE(replay.sealed);
    ASSERT_LT(replay.endFrame, ScriptFrames - StartFrame);
    ReplayPlayer player(replay, ThroughTheDoor);
    playHeadless(player, [](int, const StateMark&) {});
    EXPECT_TRUE(player.matches()) << player.differenceText();
    const FrameSeen& sealed = recorded[StartFrame + replay.endFrame - 1];
    EXPECT_EQ(sealed.state, Title);
    EXPECT_EQ(player.finalChecksum(), sealed.checksum);
}

// The clock went back: the other games' names come later than this one's, and by name it is
// the oldest of 21. It is kept all the same, and so are the 20 others.
TEST_F(AutoReplays, TheReplayOfTheGameJustPlayedIsNeverRemoved) {
    std::string error;
    ASSERT_TRUE(makeFolders(replaysFolder(), error)) << error;
    std::vector<std::string> later;
    for (int game = 0; game < LastGamesKept; ++game) {
        later.push_back(autoReplayName(4'000'000'000 + game, 0));
        std::ofstream(replaysFolder() + "/" + later.back()) << "a game of the future\n";
    }
    playScriptRecorded();
    const std::vector<std::string> names = gameFiles();
    ASSERT_EQ(names.size(), later.size() + 1);
    EXPECT_EQ(std::vector<std::string>(names.begin() + 1, names.end()), later);
    EXPECT_TRUE(isAutoReplayName(names[0])) << names[0];
}

} // namespace
