// The records' rules, kept from the game flow as it runs headless: what a game from stage 1,
// a practice game and a paused frame count for.
#include "app/auto_replays.h"
#include "app/records.h"
#include "flow_driver.h"

namespace {

class RecordsKept : public FlowDriver {
  protected:
    void SetUp() override {
        FlowDriver::SetUp();
        recordKeeper = RecordKeeper();
        frameListener = [](bool ran) { recordKeeper.afterFrame(ran); };
    }
    void TearDown() override { frameListener = nullptr; }

    // From the fly-in to the stage's clear; `pauseFrames` paused frames and a life lost on the
    // way when asked.
    static void clearStage(int pauseFrames, bool loseALife) {
        ASSERT_GT(framesUntil(Playing, 200), 0);
        if (loseALife) {
            dropBall(0);
            ASSERT_GT(framesUntil(Playing, 200), 0);
        }
        if (pauseFrames > 0) {
            press('p');
            frames(pauseFrames);
            press('p');
        }
        for (int slot = 1; slot < gameWorld.ballCount; ++slot) {
            dropBall(slot);
        }
        ASSERT_GT(framesUntil(StageClear, 50), 0);
    }
    static const StageRecord& stage(int number) {
        return recordKeeper.records.stages[static_cast<std::size_t>(number - 1)];
    }
};

TEST_F(RecordsKept, APracticeGameCountsForItsStagesAndAGameFromStageOneForEverything) {
    const Records& records = recordKeeper.records;
    // Each game's replay file: a record names the file of the game that set it.
    recordKeeper.gameReplay = "practice5";
    startGame(5);
    clearStage(0, false);
    const int stageFrames = stage(5).fewestFrames;
    EXPECT_GT(stageFrames, 100); // fly-in, "READY ?" and "GO !!" included
    EXPECT_EQ(records.gamesPlayed, 1);
    EXPECT_EQ(records.furthestStage, 0);
    press('q');
    ASSERT_GT(framesUntil(Title, 20), 0);

    recordKeeper.gameReplay = "whole";
    pressSpecial(GLUT_KEY_RIGHT);
    // The stages from their loads to their clears, the "STAGE CLEAR !!" screens between them,
    // and the frame that shows "ALL CLEAR !!".
    constexpr int ClearScreenFrames = 20;
    int framesInGame = (LastStage - 1) * ClearScreenFrames + 1;
    for (int number = 1; number <= LastStage; ++number) {
        // Paused frames do not count: stage 1 takes as long as stage 5 did.
        clearStage(number == 1 ? 50 : 0, number == 3);
        EXPECT_EQ(records.furthestStage, number);
        framesInGame += stage(number).fewestFrames;
    }
    ASSERT_GT(framesUntil(AllClear, 50), 0);
    EXPECT_EQ(records.gamesPlayed, 2);
    EXPECT_EQ(stage(1).fewestFrames, stageFrames);
    EXPECT_EQ(stage(5).fewestFrames, stageFrames);
    EXPECT_EQ(stage(3).fewestLivesLost, 1);
    EXPECT_EQ(stage(4).fewestLivesLost, 0);
    EXPECT_EQ(records.bestGameLivesLost, 1);
    EXPECT_EQ(records.bestGameFrames, framesInGame);
    EXPECT_EQ(stage(5).replay, "practice5"); // equalled, not bettered
    EXPECT_EQ(stage(1).replay, "whole");
    EXPECT_EQ(records.bestGameReplay, "whole");

    // A practice of stage 3 without the fall betters both of its records, and not the game's.
    ASSERT_GT(framesUntil(Title, 2000), 0);
    EXPECT_GT(stage(3).fewestFrames, stageFrames);
    recordKeeper.gameReplay = "practice3";
    startGame(3);
    clearStage(0, false);
    EXPECT_EQ(stage(3).fewestFrames, stageFrames);
    EXPECT_EQ(stage(3).fewestLivesLost, 0);
    EXPECT_EQ(records.bestGameFrames, framesInGame);
    EXPECT_EQ(records.gamesPlayed, 3);
    EXPECT_EQ(stage(3).replay, "practice3");
    EXPECT_EQ(recordReplays(records).size(), RecordedStages + 1);
}

// The replays folder keeps the last games and the records' files; only the games' own files
// are ever removed.
TEST(ReplayRetention, KeepsTheLastGamesAndTheRecordsFiles) {
    const auto game = [](int number) { return autoReplayName(1'800'000'000 + number, 7); };
    std::vector<std::string> twentyFive;
    for (int number = 25; number >= 1; --number) { // any order
        twentyFive.push_back(game(number));
    }
    std::vector<std::string> withOthers = twentyFive;
    for (const char* other : {"notes.txt", "best.replay", "20270115-080000-07.replay",
                              "20270115-080000-007.replay.tmp99-0", "2027011a-080000-007.replay"}) {
        withOthers.push_back(other);
    }
    const std::vector<std::string> firstTwenty(twentyFive.begin() + 5, twentyFive.end());
    struct Case {
        const char* what;
        std::vector<std::string> names;
        std::vector<std::string> kept;
        std::vector<std::string> removed;
    };
    const Case cases[] = {
        {"twenty games", firstTwenty, {}, {}},
        {"twenty-five games", twentyFive, {}, {game(1), game(2), game(3), game(4), game(5)}},
        {"records keep theirs",
         twentyFive,
         {game(2), game(4), game(25)},
         {game(1), game(3), game(5)}},
        {"other files stay", withOthers, {}, {game(1), game(2), game(3), game(4), game(5)}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(replaysToRemove(c.names, c.kept), c.removed) << c.what;
    }
    EXPECT_EQ(game(0), "20270115-080000-007.replay");
    EXPECT_TRUE(isAutoReplayName(game(0)));
}

} // namespace
