#include "engine/ball.h"
#include "engine/field.h"
#include "engine/world.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr float Tolerance4 = 1e-4f;

// The smallest ball the field can carry: no behaviour, no model.
class TestBall : public Ball {
  public:
    TestBall(World* owner, float x, float y, float r) {
        position = Vector3f(x, y, 0.0f);
        velocity = ZeroVector;
        radius = r;
        mass = 1.0f;
        driveForce = 0.0f;
        label = "TEST";
        displayList = 0;
        stunFrames = 0;
        fallen = 0;
        world = owner;
    }
    int move(const float&, const float&) override { return 0; }
    void buildModel() override {}
};

struct ProfileCase {
    int kind;
    float heights[RingCount];
};

// Ring heights for size 10, to four places.
const ProfileCase Profiles[] = {
    {0, {-2.0f, -1.9319f, -1.7321f, -1.4142f, -1.0f, -0.5176f, 0.0f}},
    {1, {0, 0, 0, 0, 0, 0, 0}},
    {2, {2.0f, 1.9319f, 1.7321f, 1.4142f, 1.0f, 0.5176f, 0.0f}},
    {3, {-2.0f, -1.4142f, 0.0f, 1.4142f, 2.0f, 1.4142f, 0.0f}},
    {4, {2.5f, 2.0833f, 1.6667f, 1.25f, 0.8333f, 0.4167f, 0.0f}},
    {5, {5.0f, 1.6745f, 0.4390f, 0.0781f, 0.0069f, 0.0001f, 0.0f}},
    {7, {-2.0f, -1.9319f, -1.7321f, -1.4142f, -1.0f, -0.5176f, 0.0f}},
    {-1, {-2.0f, -1.9319f, -1.7321f, -1.4142f, -1.0f, -0.5176f, 0.0f}},
};

void expectNormal(const World& w, int ring, float x, float z) {
    SCOPED_TRACE(testing::Message() << "kind " << w.fieldKind << " ring " << ring);
    EXPECT_NEAR(w.ringNormal[ring].x, x, Tolerance4);
    EXPECT_EQ(w.ringNormal[ring].y, 0.0f);
    EXPECT_NEAR(w.ringNormal[ring].z, z, Tolerance4);
}

} // namespace

TEST(Field, EveryKindBuildsItsRingHeights) {
    World w;
    for (const ProfileCase& profile : Profiles) {
        w.setupField(profile.kind, 10.0f);
        EXPECT_EQ(w.fieldKind, profile.kind); // an unknown kind is kept, built as a bowl
        for (int i = 0; i < RingCount; ++i) {
            EXPECT_NEAR(w.ringHeight[i], profile.heights[i], Tolerance4)
                << "kind " << profile.kind << " ring " << i;
        }
        expectNormal(w, 0, 0.0f, 1.0f);
    }
}

TEST(Field, NormalsAreUnitExceptTheFlatOnesWhichAreUp) {
    World w;
    w.setupField(0, 10.0f);
    expectNormal(w, 1, -0.1535f, 0.9882f);
    expectNormal(w, 6, -0.5145f, 0.8575f);
    w.setupField(2, 10.0f);
    expectNormal(w, 6, 0.5145f, 0.8575f);
    w.setupField(3, 10.0f);
    expectNormal(w, 4, 0.0f, 1.0f);
    expectNormal(w, 6, 0.4472f, 0.8944f);
    w.setupField(4, 10.0f);
    for (int i = 1; i < RingCount; ++i) {
        expectNormal(w, i, 0.3162f, 0.9487f);
    }
    w.setupField(5, 10.0f);
    expectNormal(w, 1, 0.8491f, 0.5282f);
    expectNormal(w, 6, 0.0f, 1.0f);
    w.setupField(1, 7.5f);
    for (int i = 0; i < RingCount; ++i) {
        expectNormal(w, i, 0.0f, 1.0f);
    }
}

TEST(Field, ProfilesScaleWithSize) {
    World w;
    w.setupField(4, 7.5f);
    EXPECT_NEAR(w.ringHeight[0], 1.875f, 1e-6f);
    w.setupField(5, 6.0f);
    EXPECT_NEAR(w.ringHeight[0], 3.0f, 1e-6f);
    EXPECT_NEAR(w.ringHeight[1], 1.6745f * 0.6f, Tolerance4);
}

TEST(Field, SetUpResetsTiltPhaseAndDerivedConstants) {
    World w;
    w.tiltX = 0.3f;
    w.tiltY = -0.2f;
    w.tiltRateX = 0.1f;
    w.tiltRateY = 0.4f;
    w.playPhase = 3;
    w.phaseCountdown = 12;
    w.fieldMaterialA.shininess = 99.0f;
    w.setupField(1, 7.5f);
    EXPECT_EQ(w.fieldSize, 7.5f);
    EXPECT_EQ(w.tiltX, 0.0f);
    EXPECT_EQ(w.tiltY, 0.0f);
    EXPECT_EQ(w.tiltRateX, 0.0f);
    EXPECT_EQ(w.tiltRateY, 0.0f);
    EXPECT_EQ(w.playPhase, 0);
    EXPECT_EQ(w.phaseCountdown, 0);
    EXPECT_FLOAT_EQ(w.tiltInertia, 168.75f);
    EXPECT_FLOAT_EQ(w.tiltGain, 1265.625f);
    EXPECT_EQ(w.fieldMaterialA.shininess, 25.0f);
}

TEST(Field, ConstructedWorldIsTheDefaultBowlWithoutAList) {
    // The global world was constructed before main, with no OpenGL context.
    EXPECT_EQ(gameWorld.fieldList, 0);
    const World w;
    EXPECT_EQ(w.fieldKind, 0);
    EXPECT_EQ(w.fieldSize, 10.0f);
    EXPECT_EQ(w.ballCount, 0);
    EXPECT_EQ(w.playPhase, 0);
    EXPECT_EQ(w.phaseCountdown, 0);
    EXPECT_EQ(w.tiltX, 0.0f);
    EXPECT_EQ(w.tiltY, 0.0f);
    EXPECT_EQ(w.tiltRateX, 0.0f);
    EXPECT_EQ(w.tiltRateY, 0.0f);
    EXPECT_FLOAT_EQ(w.tiltInertia, 400.0f);
    EXPECT_FLOAT_EQ(w.tiltGain, 3000.0f);
    EXPECT_NEAR(w.ringHeight[3], -1.4142f, Tolerance4);
    EXPECT_EQ(w.fieldList, 0);
    for (Ball* ball : w.balls) {
        EXPECT_EQ(ball, nullptr);
    }
    EXPECT_EQ(w.fieldMaterialB.specular[0], 0.0f);
    EXPECT_EQ(w.fieldMaterialA.diffuse[0], 0.5f);
}

TEST(SurfaceHeight, OnTheFieldTheCentreStandsARadiusAboveTheSurface) {
    World w;
    w.setupField(0, 10.0f);
    TestBall atRing3(&w, 5.0f, 0.0f, 1.0f);
    EXPECT_NEAR(w.surfaceHeight(atRing3), -0.4142f, Tolerance4);
    TestBall atCentre(&w, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(w.surfaceHeight(atCentre), -1.0f, 1e-6f);
    TestBall between(&w, 0.0f, -2.5f, 0.5f); // halfway between rings 1 and 2
    EXPECT_NEAR(w.surfaceHeight(between), (-1.9319f - 1.7321f) / 2 + 0.5f, Tolerance4);
    w.setupField(1, 7.5f);
    TestBall flat(&w, 3.4f, -2.0f, 0.7f);
    EXPECT_FLOAT_EQ(w.surfaceHeight(flat), 0.7f);
    EXPECT_EQ(flat.fallen, 0);
}

TEST(SurfaceHeight, OnTheRimEdgeTheBallRestsOnTheRimCircle) {
    World w;
    w.setupField(0, 10.0f);
    TestBall onEdge(&w, 10.5f, 0.0f, 1.0f);
    EXPECT_NEAR(w.surfaceHeight(onEdge), 0.8660f, Tolerance4);
    EXPECT_EQ(onEdge.fallen, 0);
    TestBall justInside(&w, 0.0f, 10.999f, 1.0f);
    EXPECT_NEAR(w.surfaceHeight(justInside), std::sqrt(1.0f - 0.999f * 0.999f), 1e-3f);
    EXPECT_EQ(justInside.fallen, 0);
}

TEST(SurfaceHeight, BeyondTheRimTheBallFallsIntoTheWorldFrame) {
    World w;
    w.setupField(0, 10.0f);
    TestBall level(&w, 11.0f, 0.0f, 1.0f); // exactly S + R counts as beyond
    level.position.z = 0.25f;
    // With no tilt the conversion keeps the position, to a rounding step.
    EXPECT_FLOAT_EQ(w.surfaceHeight(level), 0.25f);
    EXPECT_EQ(level.fallen, 1);
    EXPECT_FLOAT_EQ(level.position.x, 11.0f);

    w.tiltX = 0.1f;
    w.tiltY = -0.2f;
    TestBall tilted(&w, 0.0f, 12.0f, 1.0f);
    tilted.position.z = 1.0f;
    tilted.velocity = Vector3f(1.0f, 2.0f, 3.0f);
    const float z = w.surfaceHeight(tilted);
    // About X by tiltX, then about Y by tiltY.
    const double y1 = 12.0 * std::cos(0.1) - 1.0 * std::sin(0.1);
    const double z1 = 12.0 * std::sin(0.1) + 1.0 * std::cos(0.1);
    const double x2 = z1 * std::sin(-0.2);
    const double z2 = z1 * std::cos(-0.2);
    EXPECT_NEAR(tilted.position.x, x2, 1e-5);
    EXPECT_NEAR(tilted.position.y, y1, 1e-5);
    EXPECT_NEAR(tilted.position.z, z2, 1e-5);
    EXPECT_EQ(z, tilted.position.z);
    EXPECT_EQ(tilted.velocity.z, 3.0f); // the velocity stays in the field frame

    // A fallen ball keeps its own height, even back over the field.
    tilted.position = Vector3f(0.0f, 0.0f, -7.0f);
    EXPECT_EQ(w.surfaceHeight(tilted), -7.0f);
}

TEST(SurfaceHeight, RingIndexIsHeldInsideTheProfile) {
    EXPECT_EQ(ringPosition(10.0f, 0.0f).k, 0);
    EXPECT_EQ(ringPosition(10.0f, 5.0f).k, 2); // 5 / 1.6666667 is just below 3
    EXPECT_EQ(ringPosition(10.0f, std::nextafter(10.0f, 0.0f)).k, 5);
    EXPECT_EQ(ringPosition(10.0f, 10.0f).k, 5); // t = 6 would index a ring past the rim
    EXPECT_NEAR(ringPosition(10.0f, 10.0f).t, 6.0, 1e-6);
}
