#include "app/options.h"
#include "app/window.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct Options {
    int depth;
    int normalize;
    int silent;
};

Options scan(std::vector<const char*> args) {
    optDepthBuffer = optNormalize = optSilent = 0;
    args.insert(args.begin(), "tumbra");
    scanOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()));
    return {optDepthBuffer, optNormalize, optSilent};
}

void expectOptions(const Options& o, int depth, int normalize, int silent) {
    EXPECT_EQ(o.depth, depth);
    EXPECT_EQ(o.normalize, normalize);
    EXPECT_EQ(o.silent, silent);
}

} // namespace

TEST(Options, EachOptionIsExactlyTwoCharactersAndCaseSensitive) {
    expectOptions(scan({}), 0, 0, 0);
    expectOptions(scan({"/d"}), 1, 0, 0);
    expectOptions(scan({"/n"}), 0, 1, 0);
    expectOptions(scan({"/s", "/d"}), 1, 0, 1);
    expectOptions(scan({"x", "/n", "/n", "y"}), 0, 1, 0);
    expectOptions(scan({"/D", "/dn", "-d", "d", "/x", "/", "", "/s "}), 0, 0, 0);
}

TEST(Reshape, TextUnitsFollowTheWindowSize) {
    onReshape(400, 400);
    EXPECT_EQ(windowWidth, 400);
    EXPECT_EQ(windowHeight, 400);
    EXPECT_FLOAT_EQ(charWidth, 0.45f);
    EXPECT_FLOAT_EQ(lineHeight, 0.75f);
    EXPECT_EQ(charWidth, static_cast<float>(179.99999999999997 / 400));

    onReshape(800, 400);
    EXPECT_FLOAT_EQ(charWidth, 0.225f);
    EXPECT_FLOAT_EQ(lineHeight, 0.75f);

    onReshape(100, 2000);
    EXPECT_FLOAT_EQ(charWidth, 1.8f);
    EXPECT_FLOAT_EQ(lineHeight, 0.15f);
}

TEST(Reshape, AMinimisedWindowKeepsTheLastGoodUnits) {
    onReshape(500, 250);
    onReshape(0, 0);
    EXPECT_EQ(windowWidth, 0);
    EXPECT_TRUE(std::isfinite(charWidth));
    EXPECT_FLOAT_EQ(charWidth, 0.36f);
    EXPECT_FLOAT_EQ(lineHeight, 1.2f);
    onReshape(0, 300);
    EXPECT_FLOAT_EQ(charWidth, 0.36f);
    EXPECT_FLOAT_EQ(lineHeight, 1.0f);
}
