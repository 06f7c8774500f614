// The records' rules, kept from the game flow as it runs headless: what a game from stage 1,
// a practice game and a paused frame count for.
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
    startGame(5);
    clearStage(0, false);
    const int stageFrames = stage(5).fewestFrames;
    EXPECT_GT(stageFrames, 100); // fly-in, "READY ?" and "GO !!" included
    EXPECT_EQ(records.gamesPlayed, 1);
    EXPECT_EQ(records.furthestStage, 0);
    press('q');
    ASSERT_GT(framesUntil(Title, 20), 0);

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

    // A practice of stage 3 without the fall betters both of its records, and not the game's.
    ASSERT_GT(framesUntil(Title, 2000), 0);
    EXPECT_GT(stage(3).fewestFrames, stageFrames);
    startGame(3);
    clearStage(0, false);
    EXPECT_EQ(stage(3).fewestFrames, stageFrames);
    EXPECT_EQ(stage(3).fewestLivesLost, 0);
    EXPECT_EQ(records.bestGameFrames, framesInGame);
    EXPECT_EQ(records.gamesPlayed, 3);
}

} // namespace
