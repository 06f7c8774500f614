#include "shell/options.h"
#include "shell/window.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Request = CommandLineRequest;

struct OptionCase {
    std::vector<const char*> args;
    int depth;
    int normalize;
    int silent;
    Request request;
    std::string error;
    std::string record = "";
    std::string replay = "";
};

CommandLine scan(std::vector<const char*> args) {
    optDepthBuffer = optNormalize = optSilent = 0;
    args.insert(args.begin(), "tumbra");
    return scanOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()));
}

} // namespace

TEST(Options, SlashAndGnuSpellingsGlutsOptionsAndBadOnes) {
    const OptionCase cases[] = {
        {{}, 0, 0, 0, Request::Play, ""},
        {{"/d"}, 1, 0, 0, Request::Play, ""},
        {{"/n"}, 0, 1, 0, Request::Play, ""},
        {{"/s", "/d"}, 1, 0, 1, Request::Play, ""},
        {{"x", "/n", "/n", "y"}, 0, 1, 0, Request::Play, ""},
        {{"/D", "/dn", "d", "/x", "/", "", "/s "}, 0, 0, 0, Request::Play, ""},
        {{"/d", "/n", "/s"}, 1, 1, 1, Request::Play, ""},
        {{"-d", "-n", "-s"}, 1, 1, 1, Request::Play, ""},
        {{"--depth-buffer", "--normalize", "--silent"}, 1, 1, 1, Request::Play, ""},
        // GLUT's X options stay for glutInit, and a value is never read as an option.
        {{"-display", "-d", "-geometry", "300x300+5+5", "-direct", "-indirect", "-iconic",
          "-gldebug", "-sync", "-n"},
         0,
         1,
         0,
         Request::Play,
         ""},
        {{"-s", "--", "-x", "--help", "/d"}, 1, 0, 1, Request::Play, ""},
        {{"-h"}, 0, 0, 0, Request::Help, ""},
        {{"/d", "--version", "--bogus"}, 1, 0, 0, Request::Version, ""},
        {{"-V", "-h"}, 0, 0, 0, Request::Version, ""},
        {{"--help", "-x"}, 0, 0, 0, Request::Help, ""},
        {{"-x", "--help"}, 0, 0, 0, Request::BadOption, "unrecognized option '-x'"},
        {{"-D"}, 0, 0, 0, Request::BadOption, "unrecognized option '-D'"},
        {{"-dn"}, 0, 0, 0, Request::BadOption, "unrecognized option '-dn'"},
        {{"--depth"}, 0, 0, 0, Request::BadOption, "unrecognized option '--depth'"},
        {{"-"}, 0, 0, 0, Request::BadOption, "unrecognized option '-'"},
        {{"-display=:0"}, 0, 0, 0, Request::BadOption, "unrecognized option '-display=:0'"},
        {{"/s", "-display"}, 0, 0, 1, Request::BadOption, "option '-display' requires an argument"},
        {{"--silent=yes"},
         0,
         0,
         0,
         Request::BadOption,
         "option '--silent' doesn't allow an argument"},
        {{"--record", "a.replay", "-s"}, 0, 0, 1, Request::Play, "", "a.replay"},
        {{"--replay=b.replay", "--replay", "c"}, 0, 0, 0, Request::Play, "", "", "c"},
        {{"--record"}, 0, 0, 0, Request::BadOption, "option '--record' requires an argument"},
        {{"--replay", ""}, 0, 0, 0, Request::BadOption, "option '--replay' requires an argument"},
        {{"--record", "a", "--replay", "b"},
         0,
         0,
         0,
         Request::BadOption,
         "option '--replay' cannot be used with '--record'"},
    };
    for (const OptionCase& c : cases) {
        const CommandLine line = scan(c.args);
        const std::string args = ::testing::PrintToString(c.args);
        EXPECT_EQ(optDepthBuffer, c.depth) << args;
        EXPECT_EQ(optNormalize, c.normalize) << args;
        EXPECT_EQ(optSilent, c.silent) << args;
        EXPECT_EQ(line.request, c.request) << args;
        EXPECT_EQ(line.error, c.error) << args;
        EXPECT_EQ(line.recordFile, c.record) << args;
        EXPECT_EQ(line.replayFile, c.replay) << args;
    }
}

TEST(Options, DisplayOptionsAndTheTimedemo) {
    const struct {
        std::vector<const char*> args;
        int fullscreen;
        int classic;
        double refresh;
        std::string timedemo;
        std::string error;
    } cases[] = {
        {{}, 0, 0, 0.0, "", ""},
        {{"-F", "--classic-frames", "--refresh", "144"}, 1, 1, 144.0, "", ""},
        {{"--fullscreen", "--refresh=59.94", "--timedemo", "t.replay"},
         1,
         0,
         59.94,
         "t.replay",
         ""},
        {{"--refresh", "0"}, 0, 0, 0.0, "", "invalid refresh rate '0' (1 to 1000 Hz)"},
        {{"--refresh", "60Hz"}, 0, 0, 0.0, "", "invalid refresh rate '60Hz' (1 to 1000 Hz)"},
        {{"--timedemo", "a", "--replay", "b"},
         0,
         0,
         0.0,
         "",
         "option '--timedemo' cannot be used with '--record', '--replay' or '--stage'"},
        {{"--stage", "3", "--timedemo", "a"},
         0,
         0,
         0.0,
         "",
         "option '--timedemo' cannot be used with '--record', '--replay' or '--stage'"},
    };
    for (const auto& c : cases) {
        optFullscreen = optClassicFrames = 0;
        optRefreshHz = 0.0;
        const CommandLine line = scan(c.args);
        const std::string args = ::testing::PrintToString(c.args);
        EXPECT_EQ(optFullscreen, c.fullscreen) << args;
        EXPECT_EQ(optClassicFrames, c.classic) << args;
        EXPECT_DOUBLE_EQ(optRefreshHz, c.refresh) << args;
        EXPECT_EQ(line.error, c.error) << args;
        if (c.error.empty()) {
            EXPECT_EQ(line.timedemoFile, c.timedemo) << args;
        }
    }
    optFullscreen = optClassicFrames = 0;
    optRefreshHz = 0.0;
}

// The text units follow the scene's square, the window's shorter side, and grow with the
// text scale from 800 pixels on.
TEST(Reshape, TextUnitsFollowTheSquare) {
    onReshape(400, 400);
    EXPECT_EQ(windowWidth, 400);
    EXPECT_EQ(windowHeight, 400);
    EXPECT_FLOAT_EQ(charWidth, 0.45f);
    EXPECT_FLOAT_EQ(lineHeight, 0.75f);
    EXPECT_EQ(charWidth, static_cast<float>(179.99999999999997 / 400));

    const struct {
        int width;
        int height;
        int scale;
        float charWidth;
        float lineHeight;
    } table[] = {
        {800, 400, 1, 0.45f, 0.75f},           {100, 2000, 1, 1.8f, 3.0f},
        {799, 799, 1, 0.2252816f, 0.3754693f}, {800, 800, 2, 0.45f, 0.75f},
        {2000, 1200, 3, 0.45f, 0.75f},         {1000, 1000, 2, 0.36f, 0.6f},
    };
    for (const auto& row : table) {
        onReshape(row.width, row.height);
        EXPECT_EQ(windowWidth, row.width);
        EXPECT_EQ(textScale, row.scale) << row.width << "x" << row.height;
        EXPECT_FLOAT_EQ(charWidth, row.charWidth) << row.width << "x" << row.height;
        EXPECT_FLOAT_EQ(lineHeight, row.lineHeight) << row.width << "x" << row.height;
    }
    onReshape(400, 400);
}

TEST(Reshape, AMinimisedWindowKeepsTheLastGoodUnits) {
    onReshape(500, 250);
    onReshape(0, 0);
    EXPECT_EQ(windowWidth, 0);
    EXPECT_TRUE(std::isfinite(charWidth));
    EXPECT_FLOAT_EQ(charWidth, 0.72f);
    EXPECT_FLOAT_EQ(lineHeight, 1.2f);
    onReshape(0, 300);
    EXPECT_FLOAT_EQ(charWidth, 0.72f);
    EXPECT_FLOAT_EQ(lineHeight, 1.2f);
    onReshape(400, 400);
}
