// The force of the surface on a ball, the rolling step and the player's drive.
#include "engine/characters/characters.h"
#include "sim_fixture.h"

#include <cmath>

namespace {

constexpr float Tolerance = 1e-4f;

void expectNear(const Vector3f& actual, const Vector3f& expected, float tolerance = Tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectExactly(const Vector3f& actual, const Vector3f& expected) {
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.z, expected.z);
}

class SurfaceForceTest : public SimTest {};

TEST_F(SurfaceForceTest, OnTheBowlGravityPullsAlongTheSurfaceTowardsTheCentre) {
    world.setupField(BowlKind, 10.0f);
    StubBall& ball = addStub(5.0f, 0.0f);
    const Vector3f force = world.surfaceForce(ball, ZeroVector);
    expectNear(force, {-3.5955f, 0.0f, -1.5254f});
    // Along the surface: nothing of it presses into the ring normal there.
    EXPECT_NEAR(force.dot(world.ringNormal[3]), 0.0f, Tolerance);
    EXPECT_EQ(ball.fallen, 0);
}

TEST_F(SurfaceForceTest, OnTheRimEdgeTheNormalChangesOverWhereTheEdgeLeansFurtherOut) {
    world.setupField(BowlKind, 10.0f);
    StubBall& inside = addStub(10.5f, 0.0f);
    expectNear(world.surfaceForce(inside, ZeroVector), {-4.4118f, 0.0f, -2.6471f});
    StubBall& outside = addStub(10.6f, 0.0f);
    expectNear(world.surfaceForce(outside, ZeroVector), {4.8f, 0.0f, -3.6f});
    EXPECT_EQ(inside.fallen, 0);
    EXPECT_EQ(outside.fallen, 0);
}

TEST_F(SurfaceForceTest, OnALevelFlatFieldTheForceIsExactlyTheDrive) {
    world.setupField(FlatKind, 10.0f);
    StubBall& ball = addStub(0.0f, 0.0f);
    expectExactly(world.surfaceForce(ball, {3.0f, -4.0f, 0.5f}), {3.0f, -4.0f, 0.5f});
}

TEST_F(SurfaceForceTest, AStunnedBallGetsNoDriveOnTheFieldNorOnTheRim) {
    world.setupField(BowlKind, 10.0f);
    // Pressing down onto the surface and sideways: taken on the field and on both parts
    // of the rim while the ball is not stunned.
    const Vector3f drive(0.0f, 3.0f, -20.0f);
    for (const float x : {5.0f, 10.5f, 10.6f}) {
        StubBall& ball = addStub(x, 0.0f);
        const Vector3f undriven = world.surfaceForce(ball, ZeroVector);
        ball.stunFrames = 1;
        expectExactly(world.surfaceForce(ball, drive), undriven);
        ball.stunFrames = 0;
        const Vector3f driven = world.surfaceForce(ball, drive);
        EXPECT_NEAR(driven.y - undriven.y, 3.0f, Tolerance) << "at x = " << x;
    }
}

TEST_F(SurfaceForceTest, OnTheRimADriveOutwardsIsDroppedAndOneInwardsRunsAlongTheEdge) {
    world.setupField(BowlKind, 10.0f);
    StubBall& ball = addStub(10.6f, 0.0f);
    const Vector3f undriven = world.surfaceForce(ball, ZeroVector);
    expectExactly(world.surfaceForce(ball, {30.0f, 0.0f, 0.0f}), undriven);

    const Vector3f edgeNormal(0.6f, 0.0f, 0.8f);
    const Vector3f inward(-30.0f, 0.0f, 0.0f);
    const Vector3f driven = world.surfaceForce(ball, inward);
    // The part of the drive pressing into the edge is taken out; the rest is added.
    const Vector3f added = driven - undriven;
    EXPECT_NEAR(added.dot(edgeNormal), 0.0f, Tolerance);
    expectNear(added, inward - inward.dot(edgeNormal) * edgeNormal);
}

TEST_F(SurfaceForceTest, ARadiusBeyondTheRimMarksTheBallFallenInTheWorldFrame) {
    world.setupField(FlatKind, 10.0f);
    world.tiltX = 0.2f;
    world.tiltY = -0.1f;
    StubBall& ball = addStub(0.0f, 5.0f);
    ball.position = Vector3f(0.0f, 11.0f, 1.0f); // exactly rim + radius: beyond
    // (0, 11, 1) turned by 0.2 about x, then by -0.1 about y; gravity the other way round.
    const Vector3f worldPosition(-0.316016f, 10.582063f, 3.149615f);
    const Vector3f fieldGravity(-0.978434f, -1.986693f, -9.751703f);

    const Vector3f leaving = world.surfaceForce(ball, {5.0f, 0.0f, 0.0f});
    EXPECT_EQ(ball.fallen, 1);
    expectNear(ball.position, worldPosition, 1e-5f);
    expectNear(leaving, fieldGravity, 1e-5f);
    // From then on only world gravity acts, whatever the drive.
    expectExactly(world.surfaceForce(ball, {5.0f, 0.0f, 0.0f}), {0.0f, 0.0f, -10.0f});
}

class AdvanceTest : public SimTest {};

TEST_F(AdvanceTest, TheSpeedIsCappedAndThePositionMovesATenthOfTheVelocity) {
    world.setupField(FlatKind, 10.0f);
    StubBall& ball = addStub(0.0f, 0.0f);
    ball.velocity = Vector3f(10.0f, 0.0f, 0.0f);
    EXPECT_EQ(ball.advance(ZeroVector, 6.5f), 0);
    expectNear(ball.velocity, {6.5f, 0.0f, 0.0f}, 1e-6f);
    expectNear(ball.position, {0.65f, 0.0f, 1.0f}, 1e-6f);
}

TEST_F(AdvanceTest, ABallHasDroppedOutOnlyBelowTheFallLevel) {
    world.setupField(FlatKind, 10.0f);
    StubBall& ball = addStub(0.0f, 0.0f);
    ball.fallen = 1;
    // Gravity takes exactly the upward speed away, so the ball stays where it is.
    ball.position = Vector3f(20.0f, 0.0f, -16.0f);
    ball.velocity = Vector3f(0.0f, 0.0f, 1.0f);
    EXPECT_EQ(ball.advance(ZeroVector, 6.5f), 0);
    EXPECT_EQ(ball.position.z, -16.0f);
    ball.position.z = std::nextafter(-16.0f, -20.0f);
    ball.velocity = Vector3f(0.0f, 0.0f, 1.0f);
    EXPECT_EQ(ball.advance(ZeroVector, 6.5f), 1);
}

class PlayerTest : public SimTest {};

TEST_F(PlayerTest, AHeldArrowAcceleratesTheBallToTheSpeedCap) {
    world.setupField(FlatKind, 10.0f);
    Player& player = add(new Player(&world, 0.0f, 0.0f));
    EXPECT_EQ(player.move(1.0f, 0.0f), 0);
    expectNear(player.velocity, {2.5f, 0.0f, 0.0f}, 1e-6f);
    expectNear(player.position, {0.25f, 0.0f, 1.0f}, 1e-6f);
    player.move(1.0f, 0.0f);
    expectNear(player.velocity, {5.0f, 0.0f, 0.0f}, 1e-5f);
    player.move(1.0f, 0.0f);
    expectNear(player.velocity, {6.5f, 0.0f, 0.0f}, 1e-5f);
    for (int frame = 0; frame < 10; ++frame) {
        player.move(1.0f, 0.0f);
        EXPECT_NEAR(player.velocity.length(), 6.5f, 1e-5f);
    }
}

TEST_F(PlayerTest, BothArrowsTogetherGiveTheSameDriveAsOne) {
    world.setupField(FlatKind, 10.0f);
    Player& player = add(new Player(&world, 0.0f, 0.0f));
    player.move(-1.0f, 1.0f);
    EXPECT_NEAR(player.velocity.length(), 2.5f, 1e-5f);
    EXPECT_NEAR(player.velocity.x, -player.velocity.y, 1e-6f);
}

TEST_F(PlayerTest, AStunnedPlayerIgnoresTheArrowsUntilTheCountdownRunsOut) {
    world.setupField(FlatKind, 10.0f);
    Player& player = add(new Player(&world, 0.0f, 0.0f));
    player.stunFrames = 2;
    player.move(1.0f, 0.0f);
    EXPECT_EQ(player.stunFrames, 1);
    expectExactly(player.velocity, ZeroVector);
    // The countdown comes first: the frame that takes it to 0 already drives.
    player.move(1.0f, 0.0f);
    EXPECT_EQ(player.stunFrames, 0);
    EXPECT_NEAR(player.velocity.x, 2.5f, 1e-6f);
}

TEST_F(PlayerTest, WithNoArrowTheBallRollsDownTheSlopeAlone) {
    world.setupField(BowlKind, 10.0f);
    Player& player = add(new Player(&world, 5.0f, 0.0f));
    player.move(0.0f, 0.0f);
    EXPECT_LT(player.velocity.x, 0.0f);
    EXPECT_NEAR(player.velocity.y, 0.0f, 1e-6f);
}

} // namespace
