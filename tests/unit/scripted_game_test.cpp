// Whole games played through the key callbacks and the idle handler, as GLUT would run them.
#include "flow_driver.h"

#include <algorithm>

namespace {

class ScriptedGame : public FlowDriver {
  protected:
    // From the title to the first frame of "GO !!", where the world starts to run.
    static void startFirstStage() {
        press('8');
        frame();
        ASSERT_EQ(gameState, StageIntro);
        ASSERT_EQ(framesUntil(Go, 100), 80);
    }

    // Runs world frames until the state is neither Go, Playing nor Reentry; returns how many
    // world steps that took and records every state passed through.
    static int playUntilOutcome(int limit, std::vector<GameState>& path) {
        for (int steps = 1; steps <= limit; ++steps) {
            frame();
            if (path.empty() || path.back() != gameState) {
                path.push_back(gameState);
            }
            if (gameState != Go && gameState != Playing && gameState != Reentry) {
                return steps;
            }
        }
        return -1;
    }
};

} // namespace

// Found with tumbra-trace: "tumbra-trace 1 400 1:0,-1,0,0 11:0,0,0,-1" clears stage 1 at
// step 57 without a fall. The keypad's "2" tips the Mars off the near rim while the player's
// weight holds the far side; then the down arrow brings the player to the centre.
TEST_F(ScriptedGame, StageOneClearedLeadsToStageTwoWithFourLives) {
    startFirstStage();
    press('2');
    frames(10);
    press('5');
    pressSpecial(DownKey);
    std::vector<GameState> path;
    EXPECT_EQ(10 + playUntilOutcome(200, path), 57);
    EXPECT_EQ(path, (std::vector<GameState>{Go, Playing, StageClear}));
    EXPECT_EQ(lives, StartingLives);
    EXPECT_EQ(gameWorld.ballCount, 1);

    EXPECT_EQ(framesUntilStateChanges(100), 20);
    EXPECT_EQ(gameState, StageIntro);
    EXPECT_EQ(stageNumber, 2);
    EXPECT_EQ(lives, StartingLives);
    EXPECT_EQ(gameWorld.ballCount, 5);
    EXPECT_EQ(std::count(beepsHeard.begin(), beepsHeard.end(), DefaultBeepPitch), 20);

    // And on through the new stage's opening.
    EXPECT_EQ(framesUntil(Playing, 200), 100);
    EXPECT_EQ(stageNumber, 2);
}

// Holding the up arrow drives the player over the far rim, again after each re-entry.
TEST_F(ScriptedGame, LosingEveryLifeEndsTheGameAndReturnsToTheTitle) {
    startFirstStage();
    pressSpecial(UpKey);
    std::vector<GameState> path;
    EXPECT_EQ(playUntilOutcome(400, path), 168);
    EXPECT_EQ(path, (std::vector<GameState>{Go, Playing, Reentry, Playing, Reentry, Playing,
                                            Reentry, Playing, GameOver}));
    EXPECT_EQ(lives, 0);

    beepsHeard.clear();
    EXPECT_EQ(framesUntilStateChanges(100), 20);
    EXPECT_EQ(beepsHeard.size(), 20u);
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(stageNumber, 0);
    EXPECT_EQ(lives, StartingLives);
    EXPECT_EQ(gameWorld.ballCount, 8);

    // A new game can start straight away.
    pressSpecial(LeftKey);
    frame();
    EXPECT_EQ(gameState, StageIntro);
    EXPECT_EQ(stageNumber, 1);
}
