// One frame of the world: the field's tilt, moves and drop-outs, re-entry and collisions.
#include "engine/characters/characters.h"
#include "engine/game_state.h"
#include "sim_fixture.h"

#include <cmath>

namespace {

constexpr float MaxTiltRate = 0.942477822303772f;
constexpr float MaxTilt = 0.5340707659721375f;
constexpr float Still = 0.0f;

class WorldStepTest : public SimTest {
  protected:
    void SetUp() override {
        lives = StartingLives;
        beepRequest = 0;
        world.setupField(FlatKind, 10.0f);
    }
    int stepStill() { return world.step(Still, Still, Still, Still); }
};

TEST_F(WorldStepTest, TheWeightsOfStageOneTipTheFieldTowardsThePlayer) {
    stageNumber = 1;
    loadStage();
    EXPECT_EQ(gameWorld.step(Still, Still, Still, Still), Playing);
    EXPECT_NEAR(gameWorld.tiltRateX, -0.0043852f, 1e-7f);
    EXPECT_NEAR(gameWorld.tiltX, -0.00043852f, 1e-8f);
    // The two Mars stand mirrored about x = 0: their moments cancel exactly.
    EXPECT_EQ(gameWorld.tiltRateY, 0.0f);
    EXPECT_EQ(gameWorld.tiltY, 0.0f);
}

TEST_F(WorldStepTest, ABallOffCentreTipsTheFieldItsWay) {
    addStub(2.0f, 0.0f);
    stepStill();
    EXPECT_FLOAT_EQ(world.tiltRateY, 2.0f / 400.0f * 0.1f);
    EXPECT_FLOAT_EQ(world.tiltY, world.tiltRateY * 0.1f);
    EXPECT_EQ(world.tiltX, 0.0f);
}

TEST_F(WorldStepTest, TheKeypadTurnsTheFieldNoFasterThanTheRateLimit) {
    world.step(Still, 1.0f, Still, Still);
    EXPECT_FLOAT_EQ(world.tiltRateX, -0.75f);
    EXPECT_FLOAT_EQ(world.tiltX, -0.075f);
    world.step(Still, 1.0f, Still, Still);
    EXPECT_EQ(world.tiltRateX, -MaxTiltRate);
    world.step(-1.0f, -1.0f, Still, Still);
    world.step(-1.0f, -1.0f, Still, Still);
    world.step(-1.0f, -1.0f, Still, Still);
    EXPECT_EQ(world.tiltRateY, -MaxTiltRate);
}

TEST_F(WorldStepTest, AtTheTiltLimitTheFieldStopsDeadKeepingItsDirection) {
    world.tiltX = 0.4f;
    world.tiltY = -0.1f;
    world.tiltRateX = 0.5f;
    world.tiltRateY = -0.2f;
    stepStill(); // 0.45 and -0.12: beyond the limit
    // Scaled back to |x| + |y| = 0.534 in the same direction: 0.45 and -0.12 times 0.534 / 0.57.
    EXPECT_NEAR(world.tiltX, 0.42163482f, 1e-7f);
    EXPECT_NEAR(world.tiltY, -0.11243595f, 1e-7f);
    EXPECT_EQ(world.tiltRateX, 0.0f);
    EXPECT_EQ(world.tiltRateY, 0.0f);
}

TEST_F(WorldStepTest, JustInsideTheLimitTheFieldKeepsTurning) {
    world.tiltX = 0.44f;
    world.tiltRateX = 0.9f; // 0.44 + 0.09 = 0.53, below the limit
    stepStill();
    EXPECT_NEAR(world.tiltX, 0.53f, 1e-6f);
    EXPECT_EQ(world.tiltRateX, 0.9f);
}

TEST_F(WorldStepTest, OverlappingBallsAreSeparatedAndKickedApart) {
    StubBall& resting = addStub(0.0f, 0.0f, 2.0f);
    StubBall& moving = addStub(1.5f, 0.0f, 2.0f);
    resting.position = ZeroVector;
    resting.velocity = ZeroVector;
    moving.position = Vector3f(1.5f, 0.0f, 0.0f);
    moving.velocity = Vector3f(-1.0f, 0.0f, 0.0f);
    EXPECT_EQ(stepStill(), Playing);
    EXPECT_FLOAT_EQ(resting.position.x, -0.25f);
    EXPECT_FLOAT_EQ(moving.position.x, 1.75f);
    EXPECT_FLOAT_EQ(resting.velocity.x, -2.0f);
    EXPECT_FLOAT_EQ(moving.velocity.x, 1.0f);
    EXPECT_EQ(resting.stunFrames, 4);
    EXPECT_EQ(moving.stunFrames, 4);
    EXPECT_EQ(beepRequest, 250 - 10 * 4);
}

TEST_F(WorldStepTest, BallsMovingApartWhileOverlappingArePushedAllTheSame) {
    StubBall& a = addStub(0.0f, 0.0f);
    StubBall& b = addStub(1.0f, 0.0f);
    a.position = ZeroVector;
    b.position = Vector3f(1.0f, 0.0f, 0.0f);
    a.velocity = Vector3f(-1.0f, 0.0f, 0.0f);
    b.velocity = Vector3f(1.0f, 0.0f, 0.0f);
    stepStill();
    // Relative speed along the line of centres: 2 apart becomes 6 together.
    EXPECT_FLOAT_EQ(a.velocity.x, 3.0f);
    EXPECT_FLOAT_EQ(b.velocity.x, -3.0f);
    EXPECT_FLOAT_EQ(b.position.x - a.position.x, 2.0f);
}

TEST_F(WorldStepTest, BallsJustTouchingDoNotCollide) {
    StubBall& a = addStub(0.0f, 0.0f);
    StubBall& b = addStub(2.0f, 0.0f);
    a.position = ZeroVector;
    b.position = Vector3f(2.0f, 0.0f, 0.0f);
    stepStill();
    EXPECT_EQ(a.stunFrames, 0);
    EXPECT_EQ(beepRequest, 0);
}

TEST_F(WorldStepTest, CoincidentCentresArePushedApartAlongXWithoutNaN) {
    StubBall& a = addStub(3.0f, 1.0f, 1.0f, 1.0f);
    StubBall& b = addStub(3.0f, 1.0f, 3.0f, 0.5f);
    b.position = a.position;
    a.velocity = Vector3f(0.0f, 2.0f, 0.0f);
    b.velocity = Vector3f(1.0f, 0.0f, 0.0f);
    const Vector3f centre = a.position;
    stepStill();
    EXPECT_FLOAT_EQ(a.position.x, centre.x - 1.0f);
    EXPECT_FLOAT_EQ(b.position.x, centre.x + 0.5f);
    EXPECT_FLOAT_EQ(a.position.y, centre.y);
    EXPECT_FLOAT_EQ(b.position.z, centre.z);
    // Along x: a's 0 against b's 1 gives a 4 x 3 x 1 / 4 = 3 back, b 4 x 1 x -1 / 4 = -1.
    EXPECT_FLOAT_EQ(a.velocity.x, 3.0f);
    EXPECT_FLOAT_EQ(a.velocity.y, 2.0f);
    EXPECT_FLOAT_EQ(b.velocity.x, 0.0f);
    EXPECT_EQ(beepRequest, 250 - 10 * 4);
}

TEST_F(WorldStepTest, APlayerDroppingOutWithLivesLeftReentersAtTheCentre) {
    StubBall& player = addStub(5.0f, 0.0f);
    StubBall& other = addStub(-5.0f, 0.0f);
    lives = 2;
    player.dropOut = 1;
    player.fallen = 1;
    player.velocity = Vector3f(1.0f, 2.0f, -3.0f);
    EXPECT_EQ(stepStill(), Reentry);
    EXPECT_EQ(lives, 1);
    EXPECT_EQ(world.playPhase, 3);
    EXPECT_EQ(world.phaseCountdown, 20);
    EXPECT_EQ(player.position.length(), 0.0f);
    EXPECT_EQ(player.velocity.length(), 0.0f);
    EXPECT_EQ(player.stunFrames, 10);
    EXPECT_EQ(player.fallen, 0);
    EXPECT_EQ(other.moves, 0) << "the others wait in the frame the player drops out";

    player.dropOut = 0;
    for (int frame = 1; frame < 20; ++frame) {
        EXPECT_EQ(stepStill(), Reentry) << "frame " << frame;
    }
    EXPECT_EQ(world.phaseCountdown, 1);
    EXPECT_EQ(stepStill(), Playing);
    EXPECT_EQ(world.playPhase, 0);
    EXPECT_EQ(other.moves, 20);
}

TEST_F(WorldStepTest, TheLastLifeLostEndsTheStepAtOnce) {
    StubBall& player = addStub(5.0f, 0.0f);
    StubBall& other = addStub(-5.0f, 0.0f);
    lives = 1;
    player.dropOut = 1;
    EXPECT_EQ(stepStill(), GameOver);
    EXPECT_EQ(lives, 0);
    EXPECT_EQ(other.moves, 0);
}

TEST_F(WorldStepTest, ARealPlayerFallingOffTheFieldCostsALife) {
    Player& player = add(new Player(&world, 20.0f, 0.0f)); // placed beyond the rim
    EXPECT_EQ(player.fallen, 1);
    int result = Playing;
    int frames = 0;
    while (result == Playing && frames < 100) {
        result = stepStill();
        ++frames;
    }
    EXPECT_EQ(result, Reentry);
    EXPECT_EQ(lives, StartingLives - 1);
    // Free fall from height 0 to below -16 takes 17 frames at the speed cap's pace.
    EXPECT_GT(frames, 10);
    stepStill();
    EXPECT_FLOAT_EQ(player.position.z, 1.0f) << "lifted onto the centre of the flat field";
}

TEST_F(WorldStepTest, DuringReentryThePlayerTouchesNobody) {
    StubBall& player = addStub(0.0f, 0.0f);
    StubBall& other = addStub(0.5f, 0.0f);
    world.playPhase = 3;
    world.phaseCountdown = 10;
    const Vector3f otherPosition = other.position;
    EXPECT_EQ(stepStill(), Reentry);
    EXPECT_EQ(other.position.x, otherPosition.x);
    EXPECT_EQ(player.stunFrames, 0);
    EXPECT_EQ(beepRequest, 0);
}

TEST_F(WorldStepTest, ADroppedOpponentLeavesTheOthersInOrderAndTheNextStillMoves) {
    addStub(0.0f, 5.0f);
    StubBall& a = addStub(5.0f, 0.0f);
    StubBall& b = addStub(-5.0f, 0.0f);
    StubBall& c = addStub(0.0f, -5.0f);
    b.dropOut = 1;
    EXPECT_EQ(stepStill(), Playing);
    ASSERT_EQ(world.ballCount, 3);
    EXPECT_EQ(world.balls[1], &a);
    EXPECT_EQ(world.balls[2], &c);
    EXPECT_EQ(c.moves, 1) << "the ball that moved up into the slot moves in the same frame";

    a.dropOut = 1;
    c.dropOut = 1;
    EXPECT_EQ(stepStill(), StageClear);
    EXPECT_EQ(world.ballCount, 1);
}

TEST_F(WorldStepTest, DuringReentryAnOpponentDroppingOutStillCountsAsReentry) {
    addStub(0.0f, 0.0f);
    addStub(5.0f, 0.0f);
    StubBall& c = addStub(-5.0f, 0.0f);
    world.playPhase = 3;
    world.phaseCountdown = 10;
    c.dropOut = 1;
    EXPECT_EQ(stepStill(), Reentry);
    EXPECT_EQ(world.ballCount, 2);
}

} // namespace
