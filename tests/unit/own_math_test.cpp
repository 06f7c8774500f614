// The simulation's own sine, cosine, arc tangent and integer power: the C library's special
// values, exact reduction of large arguments, and the library's results (to the last bit for
// nearly every input) on samples. tumbra-math-sweep checks every float the game can reach.
#include "engine/numbers.h"
#include "engine/own_math.h"
#include "engine/stages.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <random>

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// For two finite doubles of the same sign.
std::int64_t ulpsApart(double a, double b) {
    return std::abs(std::bit_cast<std::int64_t>(a) - std::bit_cast<std::int64_t>(b));
}

// A double of random sign with a magnitude in [2^low, 2^high).
double randomDouble(std::mt19937_64& random, int low, int high) {
    std::uniform_real_distribution<double> fraction(1.0, 2.0);
    std::uniform_int_distribution<int> exponent(low, high - 1);
    const double v = std::ldexp(fraction(random), exponent(random));
    return random() % 2 != 0 ? -v : v;
}

} // namespace

TEST(OwnMath, SineAndCosineKeepTheSpecialValues) {
    EXPECT_TRUE(sameBits(ownSin(0.0), 0.0));
    EXPECT_TRUE(sameBits(ownSin(-0.0), -0.0));
    EXPECT_EQ(ownCos(-0.0), 1.0);
    EXPECT_TRUE(sameBits(ownSinCosFloat(-0.0f).sn, -0.0f));
    EXPECT_EQ(ownSinCosFloat(-0.0f).cs, 1.0f);
    for (const double bad : {Infinity, -Infinity, NaN}) {
        EXPECT_TRUE(std::isnan(ownSin(bad)));
        EXPECT_TRUE(std::isnan(ownCos(bad)));
        EXPECT_TRUE(std::isnan(ownSinCos(bad).sn) && std::isnan(ownSinCos(bad).cs));
    }
    // Tiny and subnormal angles: sin x rounds to x, cos x to 1.
    for (const double tiny : {1e-9, -3e-200, 4.9e-324}) {
        EXPECT_TRUE(sameBits(ownSin(tiny), tiny));
        EXPECT_EQ(ownCos(tiny), 1.0);
    }
}

TEST(OwnMath, Atan2KeepsTheSignedZerosAndInfinities) {
    const double values[] = {0.0, -0.0, 1.0, -1.0, Infinity, -Infinity};
    for (const double y : values) {
        for (const double x : values) {
            EXPECT_TRUE(sameBits(ownAtan2(y, x), std::atan2(y, x))) << y << ", " << x;
            EXPECT_TRUE(sameBits(ownAtan2Float(float(y), float(x)), float(std::atan2(y, x))))
                << y << ", " << x;
        }
    }
    EXPECT_TRUE(std::isnan(ownAtan2(NaN, 1.0)) && std::isnan(ownAtan2(1.0, NaN)));
    EXPECT_TRUE(std::isnan(ownAtan2Float(1.0f, std::numeric_limits<float>::quiet_NaN())));
}

TEST(OwnMath, Atan2LandsInTheQuadrantOfItsArguments) {
    // Round the circle: the angle comes back, with the sign of y, and mirrors exactly.
    for (int step = -179; step <= 180; ++step) {
        const double angle = step * std::numbers::pi / 180;
        const double y = std::sin(angle);
        const double x = std::cos(angle);
        EXPECT_NEAR(ownAtan2(y, x), angle, 1e-15) << step;
        EXPECT_TRUE(sameBits(ownAtan2(-y, x), -ownAtan2(y, x))) << step;
    }
    EXPECT_TRUE(sameBits(ownAtan2(1.0, 1.0), std::numbers::pi / 4));
    EXPECT_TRUE(sameBits(ownAtan2(-1.0, -1.0), -3 * std::numbers::pi / 4));
    // Ratios beyond 2^60, and magnitudes that the products could not take unscaled.
    EXPECT_TRUE(sameBits(ownAtan2(1e-300, 1e10), 1e-300 / 1e10));
    EXPECT_TRUE(sameBits(ownAtan2(1e10, -1e-300), std::numbers::pi / 2));
    EXPECT_TRUE(sameBits(ownAtan2(1e-300, -1e10), std::numbers::pi));
    EXPECT_TRUE(sameBits(ownAtan2(3e300, 4e300), std::atan2(3.0, 4.0)));
    EXPECT_TRUE(sameBits(ownAtan2(3e-310, -4e-310), std::atan2(3.0, -4.0)));
}

TEST(OwnMath, LargeArgumentsAreReducedExactly) {
    // Correctly rounded values (from 3,000-bit arithmetic).
    EXPECT_TRUE(sameBits(ownSin(1e22), -0x1.b453ab76bf397p-1));
    EXPECT_TRUE(sameBits(ownCos(1e22), 0x1.0be2cef01c8f4p-1));
    EXPECT_TRUE(sameBits(ownSin(-1e22), 0x1.b453ab76bf397p-1));
    EXPECT_TRUE(sameBits(ownSin(std::numeric_limits<double>::max()), 0x1.452fc98b34e97p-8));
    EXPECT_TRUE(sameBits(ownCos(std::numeric_limits<double>::max()), -0x1.fffe62ecfab75p-1));
    // The double nearest to a multiple of pi/2: 2^-61 from it, which a reduction with fewer
    // bits of pi would get wrong.
    const double nearest = 6381956970095103.0 * 0x1p797;
    EXPECT_TRUE(sameBits(ownCos(nearest), -0x1.14ae72e6ba22fp-61));
    EXPECT_TRUE(sameBits(ownSin(nearest), 1.0));
    // Either side of the switch from Cody and Waite's reduction to Payne and Hanek's.
    for (const double x : {std::nextafter(0x1p20, 0.0), 0x1p20, 1048576.75, -3.0e9}) {
        EXPECT_LE(ulpsApart(ownSin(x), std::sin(x)), 1) << x;
        EXPECT_LE(ulpsApart(ownCos(x), std::cos(x)), 1) << x;
    }
}

TEST(OwnMath, AgreesWithTheCLibraryOnASample) {
    std::mt19937_64 random(23);
    int equal = 0;
    constexpr int Samples = 20000;
    for (int i = 0; i < Samples; ++i) {
        const double x = randomDouble(random, -30, 30);
        const double y = randomDouble(random, -30, 30);
        ASSERT_LE(ulpsApart(ownSin(x), std::sin(x)), 1) << x;
        ASSERT_LE(ulpsApart(ownCos(x), std::cos(x)), 1) << x;
        ASSERT_LE(ulpsApart(ownAtan2(y, x), std::atan2(y, x)), 1) << y << ", " << x;
        equal += sameBits(ownSin(x), std::sin(x)) && sameBits(ownCos(x), std::cos(x)) &&
                         sameBits(ownAtan2(y, x), std::atan2(y, x))
                     ? 1
                     : 0;
    }
    // Where they differ, the library has rounded the wrong way: about one call in a thousand.
    EXPECT_GT(equal, Samples * 99 / 100);
}

TEST(OwnMath, FloatEntryPointsRoundAsTheFullFunctions) {
    // Found by a search: results within 2^-48 of the midpoint between two floats, which the
    // plain double evaluation hands to the full one.
    for (const float x : {0x1.20ffccp-7f, 0x1.0ca1d4p-5f, 0x1.e64002p-2f, 0x1.589f8p-4f}) {
        const SinCosFloat f = ownSinCosFloat(x);
        EXPECT_TRUE(sameBits(f.sn, float(std::sin(double(x))))) << x;
        EXPECT_TRUE(sameBits(f.cs, float(std::cos(double(x))))) << x;
    }
    EXPECT_TRUE(
        sameBits(ownAtan2Float(0x1.1ad646p-4f, 1.0f), float(std::atan2(0x1.1ad646p-4, 1.0))));
    EXPECT_TRUE(
        sameBits(ownAtan2Float(0x1.f260cep-4f, -0.75f), float(std::atan2(0x1.f260cep-4, -0.75))));

    std::mt19937_64 random(5);
    for (int i = 0; i < 20000; ++i) {
        const auto x = float(randomDouble(random, -20, 21));
        const auto y = float(randomDouble(random, -40, 1));
        const SinCos full = ownSinCos(x);
        const SinCosFloat f = ownSinCosFloat(x);
        ASSERT_TRUE(sameBits(f.sn, float(full.sn)) && sameBits(f.cs, float(full.cs))) << x;
        ASSERT_TRUE(sameBits(ownAtan2Float(y, x), float(ownAtan2(y, x)))) << y << ", " << x;
    }
}

TEST(OwnMath, IntegerPowerIsCorrectlyRounded) {
    EXPECT_EQ(integerPower(2.0, 10), 1024.0);
    EXPECT_EQ(integerPower(-3.0, 5), -243.0);
    EXPECT_EQ(integerPower(0.7, 0), 1.0);
    // (5/6 in single precision)^5: a plain product of doubles rounds up here.
    const auto fiveSixths = float(5 * OneSixthF);
    EXPECT_TRUE(sameBits(integerPower(fiveSixths, 5), 0x1.9b85d1c15128dp-2));
    // Every input the field's set-up gives it: the stages' sizes cubed, the rings' fractions
    // to the fifth and sixth. The library's pow gave the same.
    for (const float size : stageFieldSize) {
        EXPECT_TRUE(sameBits(integerPower(size, 3), std::pow(double(size), 3.0))) << size;
    }
    for (int i = 0; i <= 6; ++i) {
        const auto fraction = float(i * OneSixthF);
        EXPECT_TRUE(sameBits(integerPower(fraction, 5), std::pow(double(fraction), 5.0))) << i;
        EXPECT_TRUE(sameBits(integerPower(fraction, 6), std::pow(double(fraction), 6.0))) << i;
    }
}
