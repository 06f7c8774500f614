#include "engine/vector3f.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr float Pi = 3.14159265358979f;
constexpr float Tolerance = 1e-6f;

void expectNear(const Vector3f& v, float x, float y, float z, float tolerance = Tolerance) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

Vector3f rotated(Vector3f v, const Vector3f& axis, float angle) {
    v.rotate(axis, angle);
    return v;
}

Vector3f normalized(Vector3f v) {
    v.normalize();
    return v;
}

} // namespace

TEST(Vector3f, DefaultIsOnesAndConstantsAreReady) {
    const Vector3f v;
    expectNear(v, 1.0f, 1.0f, 1.0f, 0.0f);
    expectNear(ZeroVector, 0, 0, 0, 0);
    expectNear(UnitX, 1, 0, 0, 0);
    expectNear(UnitY, 0, 1, 0, 0);
    expectNear(UnitZ, 0, 0, 1, 0);
}

TEST(Vector3f, ArithmeticRoundsEachComponentOnce) {
    const Vector3f a(1.0f, 2.0f, 3.0f);
    const Vector3f b(4.0f, -5.0f, 6.0f);
    expectNear(a + b, 5, -3, 9, 0);
    expectNear(a - b, -3, 7, -3, 0);
    expectNear(-a, -1, -2, -3, 0);
    expectNear(2.0f * a, 2, 4, 6, 0);
    expectNear(a / 2.0f, 0.5f, 1, 1.5f, 0);
    expectNear(a.cross(b), 27, 6, -13, 0);
    EXPECT_EQ(a.dot(b), 12.0f);
    EXPECT_EQ(Vector3f(0, 3, 4).length(), 5.0f);
    // The dot product is summed in double: float accumulation would lose the small term.
    const Vector3f big(16777216.0f, 1.0f, 0.0f);
    EXPECT_EQ(big.dot(Vector3f(1.0f, 1.0f, 0.0f)), 16777216.0f);
    EXPECT_EQ(Vector3f(1e20f, 1e20f, 0).length(), static_cast<float>(std::sqrt(2.0) * 1e20));
}

TEST(Vector3f, DivisionByZeroFollowsIeee) {
    const Vector3f v = Vector3f(1.0f, -1.0f, 0.0f) / 0.0f;
    EXPECT_TRUE(std::isinf(v.x) && v.x > 0);
    EXPECT_TRUE(std::isinf(v.y) && v.y < 0);
    EXPECT_TRUE(std::isnan(v.z));
}

TEST(Vector3f, NormalizeLeavesNearZeroVectorsAlone) {
    expectNear(normalized(ZeroVector), 0, 0, 0, 0);
    expectNear(normalized(Vector3f(0.0000005f, 0, 0)), 0.0000005f, 0, 0, 0);
    expectNear(normalized(Vector3f(0, 3, 4)), 0, 0.6f, 0.8f);
    EXPECT_NEAR(normalized(Vector3f(-7, 2, 0.5f)).length(), 1.0f, Tolerance);
}

TEST(Vector3f, NearZeroBoundsAreStrictAndCompareInDouble) {
    EXPECT_TRUE(isNearZero(0.0f));
    EXPECT_TRUE(isNearZero(0.0000009f));
    EXPECT_TRUE(isNearZero(-0.0000009f));
    const float justBelow = 1e-6f; // 9.99999997e-7, below the double bound
    EXPECT_TRUE(isNearZero(justBelow));
    const float justAbove = std::nextafter(justBelow, 1.0f);
    EXPECT_FALSE(isNearZero(justAbove));
    EXPECT_FALSE(isNearZero(-justAbove));
    EXPECT_FALSE(isNearZero(std::numeric_limits<float>::quiet_NaN()));
}

TEST(Vector3f, RotateTurnsRightHandedAboutAnyLengthAxis) {
    expectNear(rotated(UnitX, UnitZ, Pi / 2), 0, 1, 0);
    expectNear(rotated(UnitX, Vector3f(0, 0, 5), Pi / 2), 0, 1, 0);
    expectNear(rotated(UnitY, UnitX, Pi / 2), 0, 0, 1);
    expectNear(rotated(Vector3f(1, 0, 1), UnitZ, Pi), -1, 0, 1);
    // Rotation by 0 is exact only up to rounding.
    expectNear(rotated(Vector3f(3, -2, 7), Vector3f(1, 2, 3), 0.0f), 3, -2, 7, 1e-5f);
    // Length is kept for a general axis and angle.
    EXPECT_NEAR(rotated(Vector3f(3, -2, 7), Vector3f(1, 2, 3), 1.234f).length(),
                Vector3f(3, -2, 7).length(), 1e-5f);
}

TEST(Vector3f, RotateLeavesVectorAlongAxisOrWithZeroAxisUnchanged) {
    expectNear(rotated(UnitX, Vector3f(2, 0, 0), 1.0f), 1, 0, 0, 0);
    expectNear(rotated(Vector3f(1, 2, 3), ZeroVector, 1.0f), 1, 2, 3, 0);
    expectNear(rotated(ZeroVector, UnitZ, 1.0f), 0, 0, 0, 0);
}

TEST(Vector3f, SignedAngleIsMeasuredAboutTheReference) {
    EXPECT_NEAR(signedAngle(UnitX, UnitY, UnitZ), Pi / 2, Tolerance);
    EXPECT_NEAR(signedAngle(UnitX, UnitY, -UnitZ), -Pi / 2, Tolerance);
    EXPECT_EQ(signedAngle(ZeroVector, UnitY, UnitZ), 0.0f);
    EXPECT_EQ(signedAngle(UnitX, ZeroVector, UnitZ), 0.0f);
    EXPECT_EQ(signedAngle(Vector3f(2, 3, 0), Vector3f(2, 3, 0), UnitZ), 0.0f);
    EXPECT_NEAR(std::fabs(signedAngle(UnitX, -UnitX, UnitZ)), Pi, Tolerance);
    // The azimuth of a point below the x axis is negative.
    EXPECT_NEAR(signedAngle(UnitX, Vector3f(1, -1, 0), UnitZ), -Pi / 4, Tolerance);
}
