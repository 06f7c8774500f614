// The stage tables, createRoster and loadStage.
#include "engine/characters/characters.h"
#include "engine/game_state.h"
#include "sim_fixture.h"

#include <bit>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Each stage as "kind size: LABEL x y, LABEL x y, ...", written out from the design table.
const char* const StageLayouts[StageCount] = {
    "2 10: DARK 0 4, DARK 0 -4, DARK 4 0, DARK -4 0, DARK 2.82 2.82, DARK 2.82 -2.82, "
    "DARK -2.82 2.82, DARK -2.82 -2.82",
    "1 7.5: PLAYER 0 4, MARS 3.4 -2, MARS -3.4 -2",
    "0 8: PLAYER 4 4, MARS 2 2, MARS -2 -2, MARS -4 -4, MARS 0 0",
    "2 10: PLAYER 5 5, VENUS -5 -5",
    "0 8: PLAYER 5 0, MARS 0 -6, MARS 0 -3, MARS 0 0, MARS 0 3, MARS 0 6, VENUS -5 0",
    "2 7.5: PLAYER 4 0, JUPITER -4 0",
    "1 10: PLAYER 6 0, MARS 2 0, MARS -2 0, MARS -6 0, JUPITER 0 6, JUPITER 0 -6",
    "4 7.5: PLAYER 4 0, VENUS -4 0, VENUS 0 -4, JUPITER 0 4",
    "0 9: PLAYER 0 0, JUPITER 5 0, JUPITER -5 0",
    "2 6: PLAYER -2 -2, PLUTO 1.9 1.9",
    "1 8: PLAYER 0 -5, PLUTO 0 4.9, MARS 5 0, MARS -5 0, MARS 3.5 3.5, MARS 3.5 -3.5, "
    "MARS -3.5 3.5, MARS -3.5 -3.5",
    "4 7.5: PLAYER 0 3, VENUS 0 -3, VENUS 3 0, VENUS -3 0, PLUTO 0 0",
    "3 9: PLAYER -4 4, PLUTO -3.9 -3.9, PLUTO 3.9 -3.9, JUPITER 4 4",
    "2 7: PLAYER -3 3, PLUTO -1 1, PLUTO 1 -1, PLUTO 3 -3",
    "1 8: PLAYER 0 5, SATURN 0.1 0.1",
    "0 10: PLAYER 0 -6, SATURN 5.1 3, SATURN -5.1 3",
    "2 6: PLAYER -5 0, MARS 5 0, MARS 0 -5, MARS 0 5, SATURN 0.1 0.1",
    "4 8: PLAYER 0 -6, VENUS 4.2 -4.2, VENUS -4.2 -4.2, VENUS -6 0, VENUS 6 0, SATURN 0.1 -1",
    "3 9: PLAYER 0 7, JUPITER -7 0, JUPITER 7 0, SATURN 0 -7",
    "0 7: PLAYER 5 0, PLUTO -4 0, PLUTO -4 3, PLUTO -4 -3, SATURN 0.1 0.1",
    "5 9: PLAYER 0 6, MARS 4.2 4.2, MARS -4.2 4.2, MARS 0 3, VENUS 4.2 -4.2, VENUS -4.2 -4.2, "
    "PLUTO 6 0, PLUTO -6 0, SATURN 0 -6",
    "1 5.5: PLAYER 0 0, MARS 3 3, MARS -3 -3, PLUTO -3 3, SATURN 3 -3",
    "2 7.5: PLAYER 0 6, DARK 0 -6",
    "2 7.5: DUMMY 0 5",
};

struct Placed {
    std::string label;
    float x;
    float y;
};

struct Layout {
    int kind = -1;
    float size = 0.0f;
    std::vector<Placed> balls;
};

Layout parseLayout(const char* text) {
    std::string cleaned(text);
    for (char& c : cleaned) {
        c = (c == ':' || c == ',') ? ' ' : c;
    }
    std::istringstream in(cleaned);
    Layout layout;
    in >> layout.kind >> layout.size;
    Placed ball;
    while (in >> ball.label >> ball.x >> ball.y) {
        layout.balls.push_back(ball);
    }
    return layout;
}

class StagesTest : public testing::Test {
  protected:
    void load(int stage) {
        stageNumber = stage;
        loadStage();
    }
};

TEST_F(StagesTest, EveryStageLoadsItsFieldAndItsBallsInRowOrder) {
    for (int stage = 0; stage < StageCount; ++stage) {
        SCOPED_TRACE("stage " + std::to_string(stage));
        const Layout expected = parseLayout(StageLayouts[stage]);
        load(stage);
        EXPECT_EQ(gameWorld.fieldKind, expected.kind);
        EXPECT_EQ(gameWorld.fieldSize, expected.size);
        ASSERT_EQ(gameWorld.ballCount, int(expected.balls.size()));
        for (int i = 0; i < gameWorld.ballCount; ++i) {
            const Ball& ball = *gameWorld.balls[i];
            EXPECT_EQ(ball.label, expected.balls[i].label) << "slot " << i;
            EXPECT_EQ(ball.position.x, expected.balls[i].x) << "slot " << i;
            EXPECT_EQ(ball.position.y, expected.balls[i].y) << "slot " << i;
            EXPECT_EQ(ball.fallen, 0);
            EXPECT_EQ(ball.velocity.length(), 0.0f);
        }
    }
}

TEST_F(StagesTest, NoRosterHasMoreThanNineBallsAndAllEndWithZeroRows) {
    for (int stage = 0; stage < StageCount; ++stage) {
        int rows = 0;
        while (rows < RosterRows && stageRoster[stage][rows].kind != 0) {
            ++rows;
        }
        EXPECT_LE(rows, 9) << "stage " << stage;
        for (int row = rows; row < RosterRows; ++row) {
            EXPECT_EQ(stageRoster[stage][row].kind, 0);
            EXPECT_EQ(stageRoster[stage][row].x, 0.0f);
            EXPECT_EQ(stageRoster[stage][row].y, 0.0f);
        }
    }
}

TEST_F(StagesTest, StageOnePutsEveryCentreItsRadiusAboveTheFlatField) {
    load(1);
    EXPECT_EQ(gameWorld.balls[0]->position.z, 1.0f);
    EXPECT_FLOAT_EQ(gameWorld.balls[1]->position.z, 0.7f);
    EXPECT_FLOAT_EQ(gameWorld.balls[2]->position.z, 0.7f);
}

TEST_F(StagesTest, LoadingAStageResetsTheFieldAndTheReentryAndClearsTheStoredKeys) {
    load(5);
    gameWorld.tiltX = 0.3f;
    gameWorld.tiltRateY = 0.2f;
    gameWorld.playPhase = 3;
    gameWorld.phaseCountdown = 12;
    lastKey = '8';
    lastSpecialKey = 101;
    load(5);
    EXPECT_EQ(gameWorld.tiltX, 0.0f);
    EXPECT_EQ(gameWorld.tiltRateY, 0.0f);
    EXPECT_EQ(gameWorld.playPhase, 0);
    EXPECT_EQ(gameWorld.phaseCountdown, 0);
    EXPECT_EQ(lastKey, 0);
    EXPECT_EQ(lastSpecialKey, 0);
}

// Everything a step can change, as bit patterns.
std::vector<std::uint32_t> snapshot(const World& world) {
    std::vector<float> values = {world.tiltX,
                                 world.tiltY,
                                 world.tiltRateX,
                                 world.tiltRateY,
                                 float(world.playPhase),
                                 float(world.phaseCountdown),
                                 float(world.ballCount)};
    for (int i = 0; i < world.ballCount; ++i) {
        const Ball& b = *world.balls[i];
        values.insert(values.end(),
                      {b.position.x, b.position.y, b.position.z, b.velocity.x, b.velocity.y,
                       b.velocity.z, float(b.stunFrames), float(b.fallen)});
    }
    std::vector<std::uint32_t> bits;
    for (const float v : values) {
        bits.push_back(std::bit_cast<std::uint32_t>(v));
    }
    return bits;
}

std::vector<std::vector<std::uint32_t>> run(int stage, int frames) {
    lives = StartingLives;
    stageNumber = stage;
    loadStage();
    std::vector<std::vector<std::uint32_t>> states{snapshot(gameWorld)};
    for (int frame = 1; frame <= frames; ++frame) {
        const float push = frame % 40 < 20 ? 1.0f : -1.0f;
        const int result = gameWorld.step(0.0f, 0.0f, push, 0.0f);
        states.push_back(snapshot(gameWorld));
        if (result == GameOver || result == StageClear) {
            break;
        }
    }
    return states;
}

TEST_F(StagesTest, TheSameStageLoadedTwiceRunsTheSameWay) {
    for (const int stage : {0, 5, 14, 18, 20, 22}) {
        const auto first = run(stage, 400);
        run(stage == 20 ? 3 : 20, 50); // something else in between
        const auto second = run(stage, 400);
        EXPECT_GT(first.size(), 10u);
        EXPECT_TRUE(first == second) << "stage " << stage;
    }
}

class RosterTest : public SimTest {};

TEST_F(RosterTest, UnknownCodesAreSkippedAndTheRestKeepTheirOrder) {
    world.setupField(1, 10.0f);
    const RosterEntry rows[RosterRows] = {
        {PlayerCode, 0.0f, 1.0f}, {9, 1.0f, 1.0f},         {MarsCode, 2.0f, 1.0f}, {-3, 3.0f, 1.0f},
        {DummyCode, 4.0f, 1.0f},  {RosterEnd, 0.0f, 0.0f}, {MarsCode, 5.0f, 1.0f}};
    world.createRoster(rows);
    ASSERT_EQ(world.ballCount, 3);
    EXPECT_STREQ(world.balls[0]->label, "PLAYER");
    EXPECT_STREQ(world.balls[1]->label, "MARS");
    EXPECT_EQ(world.balls[1]->position.x, 2.0f);
    EXPECT_STREQ(world.balls[2]->label, "DUMMY");
}

TEST_F(RosterTest, AFullRosterFillsAllTenSlotsAndANewOneReplacesIt) {
    world.setupField(1, 10.0f);
    RosterEntry full[RosterRows];
    for (int row = 0; row < RosterRows; ++row) {
        full[row] = {MarsCode, float(row) - 5.0f, 0.0f};
    }
    world.createRoster(full);
    EXPECT_EQ(world.ballCount, 10);
    world.createRoster(stageRoster[3]);
    ASSERT_EQ(world.ballCount, 2);
    EXPECT_STREQ(world.balls[1]->label, "VENUS");
}

} // namespace
