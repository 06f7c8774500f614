// Construction of the eight characters and the behaviours of the opponents. On a level flat
// field the surface force is exactly the drive, so a ball's velocity after one move from
// rest shows the direction and size of its drive.
#include "engine/characters/characters.h"
#include "sim_fixture.h"

#include <cmath>

namespace {

constexpr float Tolerance = 1e-5f;

class CharacterTest : public SimTest {
  protected:
    void SetUp() override { world.setupField(FlatKind, 10.0f); }
    // A stand-in for the player in slot 0, held at p.
    StubBall& placePlayer(const Vector3f& p) {
        StubBall& player = addStub(0.0f, 0.0f);
        player.position = p;
        return player;
    }
};

// Each code builds its own class at rest at (x, y), its sphere resting on the level field, and
// the code comes back from the ball.
TEST_F(CharacterTest, EveryCodeBuildsItsCharacterAtRestOnTheSurface) {
    Characters::forEach([this]<typename C>(C*) {
        Ball& ball = add(createCharacter(C::params.code, &world, 1.5f, -2.5f));
        const char* label = C::params.label;
        EXPECT_NE(dynamic_cast<C*>(&ball), nullptr) << label;
        EXPECT_EQ(characterCode(ball), C::params.code) << label;
        EXPECT_EQ(ball.position.x, 1.5f) << label;
        EXPECT_EQ(ball.position.y, -2.5f) << label;
        EXPECT_FLOAT_EQ(ball.position.z, C::params.sphereRadius) << label;
        EXPECT_EQ(ball.velocity.length(), 0.0f) << label;
        EXPECT_EQ(ball.stunFrames, 0) << label;
        EXPECT_EQ(ball.fallen, 0) << label;
        EXPECT_EQ(ball.world, &world) << label;
        EXPECT_EQ(ball.displayList, 0) << label << ": headless, no list is built";
    });
}

TEST_F(CharacterTest, CodesOutsideOneToEightBuildNothing) {
    for (const int code : {0, 9, -1, 100}) {
        EXPECT_EQ(createCharacter(code, &world, 0.0f, 0.0f), nullptr) << code;
    }
}

TEST_F(CharacterTest, SaturnRestsOnItsSphereButCollidesAndFallsWithItsRing) {
    Saturn& onRim = add(new Saturn(&world, 11.2f, 0.0f));
    EXPECT_EQ(onRim.fallen, 0);
    EXPECT_NEAR(onRim.position.z, std::sqrt(1.3f * 1.3f - 1.2f * 1.2f), Tolerance);
    EXPECT_EQ(onRim.radius, 2.4f);
    EXPECT_EQ(onRim.mode, 0);
    // 1.3 beyond the rim is off the field for the sphere, though the ring would reach back.
    Saturn& off = add(new Saturn(&world, 11.3f, 0.0f));
    EXPECT_EQ(off.fallen, 1);
}

TEST_F(CharacterTest, SaturnDropsOutOnlyBelowTheFallLevelOfItsRing) {
    placePlayer(ZeroVector);
    Saturn& saturn = add(new Saturn(&world, 30.0f, 0.0f));
    ASSERT_EQ(saturn.fallen, 1);
    // Gravity cancels the upward speed: the ball holds -17.0, below -15 - 1.3 but not -15 - 2.4.
    saturn.position = Vector3f(30.0f, 0.0f, -17.0f);
    saturn.velocity = Vector3f(0.0f, 0.0f, 1.0f);
    EXPECT_EQ(saturn.move(0.0f, 0.0f), 0);
    EXPECT_EQ(saturn.radius, 2.4f);
    saturn.position.z = -17.5f;
    saturn.velocity = Vector3f(0.0f, 0.0f, 1.0f);
    EXPECT_EQ(saturn.move(0.0f, 0.0f), 1);
}

TEST_F(CharacterTest, SaturnKeepsItsSphereOnTheSurfaceAsItMoves) {
    placePlayer(Vector3f(5.0f, 0.0f, 1.0f));
    Saturn& saturn = add(new Saturn(&world, -3.0f, 0.0f));
    saturn.move(0.0f, 0.0f);
    EXPECT_FLOAT_EQ(saturn.position.z, 1.3f);
    EXPECT_EQ(saturn.radius, 2.4f);
    EXPECT_GT(saturn.velocity.x, 0.0f) << "charging at the player";
}

TEST_F(CharacterTest, JupiterSetsItsOrbitForceOnTheLevelField) {
    Jupiter& flat = add(new Jupiter(&world, 3.0f, 4.0f));
    const float rho = 6.66f;
    EXPECT_NEAR(flat.orbitForce, -300.0f / rho, Tolerance);
    EXPECT_EQ(flat.position.x, 3.0f) << "the position is restored after the set-up";
    EXPECT_EQ(flat.position.y, 4.0f);

    // On a bowl the slope already pulls inward at the orbit radius (here more than the orbit
    // needs): the force set up is that much larger.
    World bowl;
    bowl.setupField(BowlKind, 10.0f);
    Jupiter onBowl(&bowl, 3.0f, 4.0f);
    EXPECT_GT(onBowl.orbitForce, 0.0f);
}

TEST_F(CharacterTest, DarkStartsCirclingWithItsFullBonus) {
    Dark& dark = add(new Dark(&world, 5.0f, 0.0f));
    EXPECT_EQ(dark.mode, 0);
    EXPECT_EQ(dark.bonusDrive, 600);
}

// Mars and Venus head for the centre once the player is not inside the rim radius.
TEST_F(CharacterTest, MarsChasesThePlayerUntilThePlayerIsOffTheField) {
    StubBall& player = placePlayer(Vector3f(9.99f, 0.0f, 0.0f));
    Mars& chasing = add(new Mars(&world, 0.0f, 3.0f));
    chasing.move(0.0f, 0.0f);
    EXPECT_GT(chasing.velocity.x, 0.0f);
    // The chase is three-dimensional: the player's centre stands higher.
    player.position = Vector3f(3.0f, 3.0f, 1.0f);
    Mars& rising = add(new Mars(&world, 0.0f, 3.0f));
    rising.move(0.0f, 0.0f);
    EXPECT_GT(rising.velocity.z, 0.0f);

    player.position = Vector3f(10.0f, 0.0f, 0.0f); // exactly at the rim radius: off
    Mars& homing = add(new Mars(&world, 0.0f, 3.0f));
    homing.move(0.0f, 0.0f);
    EXPECT_EQ(homing.velocity.x, 0.0f);
    EXPECT_LT(homing.velocity.y, 0.0f);
    EXPECT_NEAR(homing.velocity.length(), 0.1f * 4.7f / 0.35f, Tolerance);
}

TEST_F(CharacterTest, VenusKeepsAwayFromThePlayerUntilThePlayerIsOffTheField) {
    StubBall& player = placePlayer(Vector3f(3.0f, 0.0f, 1.0f));
    Venus& evading = add(new Venus(&world, 0.0f, 0.0f));
    evading.move(0.0f, 0.0f);
    EXPECT_LT(evading.velocity.x, 0.0f);

    player.position = Vector3f(0.0f, -10.0f, 0.0f);
    Venus& homing = add(new Venus(&world, 4.0f, 0.0f));
    homing.move(0.0f, 0.0f);
    EXPECT_LT(homing.velocity.x, 0.0f);
    EXPECT_EQ(homing.velocity.y, 0.0f);
}

TEST_F(CharacterTest, PlutoAttacksFromInsideAndRepositionsFromLevelOrOutside) {
    placePlayer(Vector3f(5.0f, 0.0f, 0.0f));
    Pluto& inside = add(new Pluto(&world, 0.0f, 4.9f));
    inside.position.z = 0.0f;
    inside.move(0.0f, 0.0f);
    EXPECT_GT(inside.velocity.x, 0.0f) << "towards the player";

    Pluto& level = add(new Pluto(&world, 0.0f, 5.0f));
    level.position.z = 0.0f; // exactly as far out as the player
    level.move(0.0f, 0.0f);
    EXPECT_LT(level.velocity.x, 0.0f) << "away from the player";
    EXPECT_LT(level.velocity.y, 0.0f) << "and hard towards the centre";
}

TEST_F(CharacterTest, PlutoHeadsHomeWhileThePlayerIsOff) {
    placePlayer(Vector3f(10.0f, 0.0f, 0.0f));
    Pluto& pluto = add(new Pluto(&world, 0.0f, 2.0f));
    pluto.move(0.0f, 0.0f);
    EXPECT_EQ(pluto.velocity.x, 0.0f);
    EXPECT_LT(pluto.velocity.y, 0.0f);
}

TEST_F(CharacterTest, SaturnRetreatsAtOnceWhenThePlayerIsBeyondTheRimRadius) {
    StubBall& player = placePlayer(Vector3f(10.0f, 0.0f, 0.0f));
    Saturn& saturn = add(new Saturn(&world, 3.0f, 0.0f));
    saturn.move(0.0f, 0.0f);
    EXPECT_EQ(saturn.mode, 0) << "exactly at the rim radius is not beyond";
    EXPECT_GT(saturn.velocity.x, 0.0f);

    player.position = Vector3f(std::nextafter(10.0f, 11.0f), 0.0f, 0.0f);
    Saturn& retreating = add(new Saturn(&world, 3.0f, 0.0f));
    retreating.move(0.0f, 0.0f);
    EXPECT_EQ(retreating.mode, 1);
    EXPECT_LT(retreating.velocity.x, 0.0f) << "the switch takes effect in the same frame";
}

TEST_F(CharacterTest, SaturnTurnsBackOnlyAfterAHitCloserThanItsContactDistance) {
    const float contact = 4.4f; // just above the double 4.4
    placePlayer(Vector3f(contact, 0.0f, 1.3f));
    Saturn& atContact = add(new Saturn(&world, 0.0f, 0.0f));
    atContact.stunFrames = 2;
    atContact.move(0.0f, 0.0f);
    EXPECT_EQ(atContact.mode, 0);

    world.balls[0]->position.x = std::nextafter(contact, 0.0f);
    Saturn& close = add(new Saturn(&world, 0.0f, 0.0f));
    close.stunFrames = 2;
    close.move(0.0f, 0.0f);
    EXPECT_EQ(close.mode, 1);

    // A stun that runs out in this frame's countdown no longer counts.
    Saturn& unhurt = add(new Saturn(&world, 0.0f, 0.0f));
    unhurt.stunFrames = 1;
    unhurt.move(0.0f, 0.0f);
    EXPECT_EQ(unhurt.mode, 0);
}

TEST_F(CharacterTest, ARetreatingSaturnChargesAgainOnceFartherThanTheRimRadius) {
    placePlayer(Vector3f(-6.0f, 0.0f, 1.3f));
    Saturn& near = add(new Saturn(&world, 4.0f, 0.0f));
    near.mode = 1;
    near.move(0.0f, 0.0f); // 10 apart: not farther
    EXPECT_EQ(near.mode, 1);
    EXPECT_GT(near.velocity.x, 0.0f) << "away from the player";

    Saturn& far = add(new Saturn(&world, 4.1f, 0.0f));
    far.mode = 1;
    far.move(0.0f, 0.0f);
    EXPECT_EQ(far.mode, 0);
    EXPECT_GT(far.velocity.x, 0.0f) << "this frame still retreats";
}

TEST_F(CharacterTest, JupiterAtRestStartsClockwiseWithItsSteeringCountedTwice) {
    Jupiter& jupiter = add(new Jupiter(&world, 6.66f, 0.0f));
    jupiter.move(0.0f, 0.0f);
    // Tangential drive 2 x 70 along -y; the radial parts lie along x and z only.
    EXPECT_NEAR(jupiter.velocity.y, 0.1f * -140.0f / 12.0f, Tolerance);
}

TEST_F(CharacterTest, JupiterKeepsACounterClockwiseSenseOfRotation) {
    Jupiter& jupiter = add(new Jupiter(&world, 6.66f, 0.0f));
    jupiter.velocity = Vector3f(0.0f, 1.0f, 0.0f);
    jupiter.move(0.0f, 0.0f);
    EXPECT_GT(jupiter.velocity.y, 1.0f);
}

TEST_F(CharacterTest, JupiterOnTheCentralAxisSteersAlongX) {
    Jupiter& jupiter = add(new Jupiter(&world, 0.0f, 0.0f));
    jupiter.move(0.0f, 0.0f);
    EXPECT_NEAR(jupiter.velocity.x, 0.1f * 140.0f / 12.0f, Tolerance);
    EXPECT_EQ(jupiter.velocity.y, 0.0f);
}

TEST_F(CharacterTest, AStunnedJupiterOrDummyIsNotDriven) {
    Jupiter& jupiter = add(new Jupiter(&world, 6.66f, 0.0f));
    Dummy& dummy = add(new Dummy(&world, 5.0f, 0.0f));
    jupiter.stunFrames = 2;
    dummy.stunFrames = 2;
    jupiter.move(0.0f, 0.0f);
    dummy.move(0.0f, 0.0f);
    EXPECT_EQ(jupiter.velocity.length(), 0.0f);
    EXPECT_EQ(dummy.velocity.length(), 0.0f);
    EXPECT_EQ(jupiter.stunFrames, 1);
}

TEST_F(CharacterTest, DarkCirclesClockwiseWithItsBonusAndLosesItInCollisions) {
    Dark& dark = add(new Dark(&world, 5.0f, 0.0f));
    dark.move(0.0f, 0.0f);
    EXPECT_NEAR(dark.velocity.y, 0.1f * -950.0f / 15.0f, Tolerance);
    EXPECT_NEAR(dark.velocity.x, 0.0f, Tolerance);

    Dark& hit = add(new Dark(&world, 5.0f, 0.0f));
    hit.stunFrames = 4;
    hit.move(0.0f, 0.0f);
    EXPECT_EQ(hit.stunFrames, 0) << "never stunned";
    EXPECT_EQ(hit.bonusDrive, 590);
    EXPECT_NEAR(hit.velocity.y, 0.1f * -940.0f / 15.0f, Tolerance);

    Dark& spent = add(new Dark(&world, 5.0f, 0.0f));
    spent.bonusDrive = 0;
    spent.stunFrames = 4;
    spent.move(0.0f, 0.0f);
    EXPECT_EQ(spent.bonusDrive, 0);
    EXPECT_NEAR(spent.velocity.y, 0.1f * -350.0f / 15.0f, Tolerance);
}

TEST_F(CharacterTest, DarkTurnsInwardBeyondNineTenthsAndStopsWithinAThirdOrSo) {
    ASSERT_EQ(double(9.0f), 0.9 * 10.0);
    ASSERT_EQ(double(3.5f), 0.35 * 10.0);
    Dark& atOuter = add(new Dark(&world, 9.0f, 0.0f));
    atOuter.move(0.0f, 0.0f);
    EXPECT_EQ(atOuter.mode, 0);

    Dark& beyond = add(new Dark(&world, std::nextafter(9.0f, 10.0f), 0.0f));
    beyond.move(0.0f, 0.0f);
    EXPECT_EQ(beyond.mode, 1);
    EXPECT_NEAR(beyond.velocity.x, 0.0f, Tolerance) << "the new mode applies next frame";

    Dark& atInner = add(new Dark(&world, 3.5f, 0.0f));
    atInner.mode = 1;
    atInner.move(0.0f, 0.0f);
    EXPECT_EQ(atInner.mode, 1);
    EXPECT_LT(atInner.velocity.x, 0.0f) << "turning inward";

    Dark& within = add(new Dark(&world, std::nextafter(3.5f, 0.0f), 0.0f));
    within.mode = 1;
    within.move(0.0f, 0.0f);
    EXPECT_EQ(within.mode, 0);
}

TEST_F(CharacterTest, DarkOnTheAxisHasNoTangentUnlessItsWholePositionIsZero) {
    Dark& raised = add(new Dark(&world, 0.0f, 0.0f)); // centre 0.8 above the axis' foot
    raised.move(0.0f, 0.0f);
    EXPECT_EQ(raised.velocity.length(), 0.0f);

    Dark& atOrigin = add(new Dark(&world, 0.0f, 0.0f));
    atOrigin.position = ZeroVector;
    atOrigin.move(0.0f, 0.0f);
    EXPECT_NEAR(atOrigin.velocity.y, 0.1f * -950.0f / 15.0f, Tolerance);
}

TEST_F(CharacterTest, DummyCirclesSlowlyClockwiseWithASlightInwardPull) {
    Dummy& dummy = add(new Dummy(&world, 5.0f, 0.0f));
    dummy.move(0.0f, 0.0f);
    EXPECT_LT(dummy.velocity.y, 0.0f);
    EXPECT_LT(dummy.velocity.x, 0.0f);
    EXPECT_GT(-dummy.velocity.y, -3.0f * dummy.velocity.x);
    EXPECT_NEAR(dummy.velocity.length(), 0.1f * 20.0f, Tolerance);
    for (int frame = 0; frame < 20; ++frame) {
        dummy.move(0.0f, 0.0f);
        EXPECT_NEAR(dummy.velocity.length(), 2.5f, Tolerance);
    }
}

} // namespace
