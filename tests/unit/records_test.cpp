// The records' rules, kept from the game flow as it runs headless: what a game from stage 1,
// a practice game and a paused frame count for.
#include "flow_driver.h"
#include "player/auto_replays.h"
#include "player/records.h"

namespace {

class RecordsKept : public FlowDriver {
  protected:
    void SetUp() override {
        FlowDriver::SetUp();
        recordKeeper = RecordKeeper();
        static constexpr FrameListener Keeper[] = {[](bool ran) { recordKeeper.afterFrame(ran); }};
        frameListeners = Keeper;
    }
    void TearDown() override { FlowDriver::TearDown(); }

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
    pressSpecial(RightKey);
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
    EXPECT_EQ(recordReplays(records).size(), LastStage + 1);
}

// The keeper alone, fed by hand the globals it follows, as the game flow sets them: quicker
// than playing, and exact to the frame.
class RecordRules : public testing::Test {
  protected:
    void TearDown() override {
        recordKeeper = keeperBefore;
        gameState = stateBefore;
        stageNumber = stageBefore;
        lives = livesBefore;
    }

    struct Clear {
        int frames;
        int livesLost;
    };

    static void frame(GameState state) {
        gameState = state;
        recordKeeper.afterFrame(true);
    }

    // A game from stage `first` whose file is `replay`, clearing a stage for each of `clears`:
    // on to the all-clear screen after the last stage, else back to the title.
    static void play(int first, const std::vector<Clear>& clears, const char* replay) {
        recordKeeper.gameReplay = replay;
        for (std::size_t i = 0; i < clears.size(); ++i) {
            stageNumber = first + static_cast<int>(i);
            lives = StartingLives;
            frame(StageIntro);
            lives = StartingLives - clears[i].livesLost;
            for (int n = 1; n < clears[i].frames; ++n) {
                frame(Playing);
            }
            frame(StageClear);
        }
        frame(stageNumber == LastStage ? AllClear : Title);
        stageNumber = 0;
        frame(Title);
    }

    static std::vector<Clear> wholeGame(Clear each, Clear first) {
        std::vector<Clear> clears(LastStage, each);
        clears[0] = first;
        return clears;
    }

    static const StageRecord& stage(int number) {
        return recordKeeper.records.stages[static_cast<std::size_t>(number - 1)];
    }

  private:
    const RecordKeeper keeperBefore = recordKeeper;
    const GameState stateBefore = gameState;
    const int stageBefore = stageNumber;
    const int livesBefore = lives;
};

// A practice game reaching the all-clear screen counts for its stage, never for the whole
// game.
TEST_F(RecordRules, APracticeGameNeverSetsTheBestWholeGame) {
    recordKeeper = RecordKeeper();
    play(LastStage, {{50, 0}}, "practice");
    EXPECT_EQ(recordKeeper.records.bestGameFrames, 0);
    EXPECT_EQ(recordKeeper.records.bestGameReplay, "");
    EXPECT_EQ(stage(LastStage).fewestFrames, 50);
    EXPECT_EQ(recordKeeper.records.gamesPlayed, 1);
}

// A tie keeps the older record and its replay; fewer lives lost betters the lives alone and
// leaves the replay, which shows the clear of the fewest frames; fewer frames better both.
TEST_F(RecordRules, ARecordAndItsReplayChangeOnlyWhenBettered) {
    recordKeeper = RecordKeeper();
    const Records& records = recordKeeper.records;
    play(1, wholeGame({10, 0}, {30, 2}), "first");
    const int gameFrames = records.bestGameFrames;
    EXPECT_GT(gameFrames, 22 * 10);
    EXPECT_EQ(records.bestGameLivesLost, 2);
    play(1, wholeGame({10, 0}, {30, 2}), "tie");
    EXPECT_EQ(records.bestGameReplay, "first");
    EXPECT_EQ(stage(2).replay, "first");
    EXPECT_EQ(stage(1), (StageRecord{30, 2, "first"}));

    // The same frames with fewer lives lost: the whole game is better, where lives decide at
    // equal frames; stage 1 betters its lives only, and keeps its replay.
    play(1, wholeGame({10, 0}, {30, 1}), "fewer lives");
    EXPECT_EQ(records.bestGameFrames, gameFrames);
    EXPECT_EQ(records.bestGameLivesLost, 1);
    EXPECT_EQ(records.bestGameReplay, "fewer lives");
    EXPECT_EQ(stage(1), (StageRecord{30, 1, "first"}));

    // More frames, none lost: no better game, and stage 1's lives only.
    play(1, wholeGame({10, 0}, {40, 0}), "slower");
    EXPECT_EQ(records.bestGameReplay, "fewer lives");
    EXPECT_EQ(stage(1), (StageRecord{30, 0, "first"}));

    // Fewer frames: stage 1's frames and its replay, and the game.
    play(1, wholeGame({10, 0}, {20, 3}), "faster");
    EXPECT_EQ(stage(1), (StageRecord{20, 0, "faster"}));
    EXPECT_EQ(records.bestGameFrames, gameFrames - 10);
    EXPECT_EQ(records.bestGameReplay, "faster");
    EXPECT_EQ(stage(2).replay, "first");
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
