// The whole displayed frame, read back from the back buffer: texts of every state, the
// heads-up display, the wait indicator, the fly-in and the depth-tested picture.
#include "engine/ball.h"
#include "engine/characters/character_params.h"
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "gl_pixels.h"
#include "render/renderer.h"
#include "shell/frame_display.h"
#include "shell/options.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double TextDepth = -45.0;
constexpr int FlatField = 1;

struct Line {
    double column; // character widths from the centre
    double row;    // line heights from the centre
    std::string text;
};

class FrameDisplayTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        gameInit();
        onReshape(StartWindowSize, StartWindowSize);
    }

    void SetUp() override {
        gameState = Playing;
        paused = 0;
        lives = StartingLives;
        stageNumber = 1;
        countdown = 0;
        waitLevel = 0;
        waitShow = 0;
    }

    // A test that sets the renderer up with other options sets it back.
    void TearDown() override { gameRenderer().setUp({}); }

    // In the frame read back: the scene's square.
    static bool shownAtEye(const Frame& f, const std::string& text, double x, double y) {
        return textShownAt(f, text, eyeToWindowX(x, TextDepth, f.width),
                           eyeToWindowY(y, TextDepth, f.height));
    }

    static bool shown(const Frame& f, const Line& line) {
        return shownAtEye(f, line.text, static_cast<float>(line.column * charWidth),
                          static_cast<float>(line.row * lineHeight));
    }

    static int cyanPixels(const Frame& f) {
        return countPixels(f, 0, 0, f.width, f.height, isTextCyan);
    }

    // Draws a frame in `state` and checks that exactly `lines` (and the HUD, where it
    // belongs) are written, each where it should stand.
    void expectScreen(GameState state, int frames, const std::vector<Line>& lines) {
        gameState = state;
        countdown = frames;
        drawFrame();
        const Frame f = readFrame();
        int textPixels = 0;
        for (const Line& line : lines) {
            EXPECT_TRUE(shown(f, line))
                << "state " << state << " countdown " << frames << ": " << line.text;
            textPixels += textPixelCount(line.text);
        }
        if (state != Title && state != Ending) {
            textPixels += textPixelCount("PLAYER : PPP") + textPixelCount("STAGE : 1");
        }
        EXPECT_EQ(cyanPixels(f), textPixels) << "state " << state << " countdown " << frames;
    }

    static void loadRoster(std::vector<RosterEntry> rows) {
        rows.resize(RosterRows, RosterEntry{RosterEnd, 0.0f, 0.0f});
        gameWorld.setupField(FlatField, 10.0f);
        gameWorld.createRoster(rows.data());
    }
};

// "GAME OVER" starts at -4.5 character widths, eye x = -2.025 at 400 pixels: column 160.
TEST_F(FrameDisplayTest, GameOverStartsAtColumn160) {
    gameState = GameOver;
    drawFrame();
    EXPECT_FLOAT_EQ(-4.5f * charWidth, -2.025f);
    EXPECT_NEAR(eyeToWindowX(-2.025, TextDepth, 400), 160.0, 1e-9);
    EXPECT_EQ(textMismatches(readFrame(), "GAME OVER", 160, 198, Backdrop::Picture), 0);
}

TEST_F(FrameDisplayTest, HeadsUpShowsSpareLivesAndTheStage) {
    const struct {
        int lives;
        int stage;
        std::string player;
        std::string stageLine;
    } cases[] = {
        {4, 1, "PLAYER : PPP", "STAGE : 1"},
        {2, 9, "PLAYER : P", "STAGE : 9"},
        {1, 22, "PLAYER : ", "STAGE : 22"},
        {0, 22, "PLAYER : ", "STAGE : 22"},
    };
    for (const auto& c : cases) {
        lives = c.lives;
        stageNumber = c.stage;
        drawFrame();
        const Frame f = readFrame();
        // Bottom right at (3.25, -9.25), top left at (-9.55, 9.25) in a 400-pixel window.
        EXPECT_TRUE(shownAtEye(f, c.player, 3.25, -9.25)) << c.player;
        EXPECT_TRUE(shownAtEye(f, c.stageLine, -9.55, 9.25)) << c.stageLine;
        EXPECT_EQ(cyanPixels(f), textPixelCount(c.player) + textPixelCount(c.stageLine))
            << c.player << " / " << c.stageLine;
    }
}

TEST_F(FrameDisplayTest, EveryStateShowsItsCentreText) {
    expectScreen(Playing, 0, {});
    expectScreen(StageIntro, 0, {});
    expectScreen(GameOver, 5, {{-4.5, 0.0, "GAME OVER"}});
    expectScreen(StageClear, 5, {{-7.0, 0.0, "STAGE CLEAR !!"}});
    expectScreen(Reentry, 0, {{-2.5, 0.0, "GO !!"}});
    expectScreen(Go, 5, {{-2.5, 0.0, "GO !!"}});
    expectScreen(Ready, 5, {{-3.5, 0.0, "READY ?"}});
    expectScreen(AllClear, 5, {{-9.0, 1.0, "CONGRATURATIONS !!"}, {-6.0, -1.0, "ALL CLEAR !!"}});
    expectScreen(Title, 0, {{-7.5, -1.0, "VELMORANDE 1997"}, {-3.0, 1.0, "Tumbra"}});
}

TEST_F(FrameDisplayTest, CreditsTurnAPageEvery200Frames) {
    const std::vector<Line> gameDesign = {{-5.5, 1.0, "GAME DESIGN"}, {-5.0, -1.0, "VELMORANDE"}};
    expectScreen(Ending, 1200, gameDesign);
    expectScreen(Ending, 1000, gameDesign);
    expectScreen(Ending, 999, {{-8.0, 1.0, "CHARACTER DESIGN"}, {-5.0, -1.0, "VELMORANDE"}});
    expectScreen(Ending, 600, {{-5.5, 1.0, "STAGE DESIGN"}, {-5.0, -1.0, "VELMORANDE"}});
    expectScreen(Ending, 599, {{-8.0, 1.0, "SOUND EFFECT (?)"}, {-5.0, -1.0, "VELMORANDE"}});
    expectScreen(Ending, 200, {{-5.5, 1.0, "PROGRAMMING"}, {-5.0, -1.0, "VELMORANDE"}});
    expectScreen(Ending, 199, {{-3.0, 1.0, "Tumbra"}, {-7.5, -1.0, "VELMORANDE 1997"}});
    expectScreen(Ending, 0, {{-3.0, 1.0, "Tumbra"}, {-7.5, -1.0, "VELMORANDE 1997"}});
    expectScreen(Ending, 1400, {});
}

TEST_F(FrameDisplayTest, PauseReplacesTheStateTextAndKeepsTheHeadsUp) {
    paused = 1;
    expectScreen(GameOver, 5, {{-2.5, 0.0, "PAUSE"}});
    expectScreen(Playing, 0, {{-2.5, 0.0, "PAUSE"}});
    expectScreen(AllClear, 5, {{-2.5, 0.0, "PAUSE"}});
}

TEST_F(FrameDisplayTest, WaitIndicatorCountsItsFramesDown) {
    waitLevel = 3;
    waitShow = 2;
    for (const int left : {1, 0}) {
        drawFrame();
        EXPECT_EQ(waitShow, left);
        EXPECT_TRUE(shownAtEye(readFrame(), "WAIT : ***", -9.55, -9.25));
    }
    drawFrame();
    EXPECT_EQ(waitShow, 0);
    EXPECT_EQ(cyanPixels(readFrame()),
              textPixelCount("PLAYER : PPP") + textPixelCount("STAGE : 1"));
}

// Without a depth buffer the field covers a fallen ball even where the ball is nearer; with
// "/d" the nearer ball shows, and the frame clears the depth buffer itself.
TEST_F(FrameDisplayTest, DepthOptionDrawsWithDepthTesting) {
    loadRoster({{MarsCode, 0.0f, 0.0f}});
    Ball& mars = *gameWorld.balls[0];
    mars.fallen = 1;
    mars.position = Vector3f(0.0f, 0.0f, 3.0f);
    const auto ballShows = [] {
        const Rgb p = readFrame().at(200, 200);
        return p.r > 50 && p.g == 0 && p.b == 0;
    };

    drawFrame();
    EXPECT_FALSE(ballShows());

    gameRenderer().setUp({.depthBuffer = true});
    glClearDepth(0.0); // a stale depth buffer that would hide everything
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    drawFrame();
    EXPECT_TRUE(ballShows());
}

struct Seen {
    int fieldWidth = 0; // extent of the grey pixels
    int fieldHeight = 0;
    int redPixels = 0;  // Mars
    int bluePixels = 0; // Venus
    double redX = 0.0;  // mean positions
    double redY = 0.0;
    double blueY = 0.0;
};

Seen look(const Frame& f) {
    Seen s;
    int left = f.width, right = -1, bottom = f.height, top = -1;
    for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
            const Rgb p = f.at(x, y);
            if (isGrey(p, 1)) {
                left = std::min(left, x);
                right = std::max(right, x);
                bottom = std::min(bottom, y);
                top = std::max(top, y);
            }
            if (p.r > 0 && p.g == 0 && p.b == 0) {
                ++s.redPixels;
                s.redX += x + 0.5;
                s.redY += y + 0.5;
            }
            if (p.r == 0 && p.b > p.g) {
                ++s.bluePixels;
                s.blueY += y + 0.5;
            }
        }
    }
    s.fieldWidth = right - left + 1;
    s.fieldHeight = top - bottom + 1;
    s.redX = s.redPixels > 0 ? s.redX / s.redPixels : -1.0;
    s.redY = s.redPixels > 0 ? s.redY / s.redPixels : -1.0;
    s.blueY = s.bluePixels > 0 ? s.blueY / s.bluePixels : -1.0;
    return s;
}

// The first intro frame shows the field edge-on and turned half round, so far away that only
// its near rim is inside the view (the rest lies beyond the far plane); the last frame shows
// the plain top view.
TEST_F(FrameDisplayTest, StageFliesInFromEdgeOnToTheTopView) {
    loadRoster({{MarsCode, 0.0f, 9.0f}, {VenusCode, 0.0f, -9.0f}});
    gameState = StageIntro;

    countdown = 59;
    drawFrame();
    const Seen first = look(readFrame());
    EXPECT_GT(first.fieldWidth, 60);
    EXPECT_LT(first.fieldHeight * 3, first.fieldWidth);
    // The half turn (177 degrees) brings Mars from the far side of the top view to the near
    // rim, a little left of the centre; Venus goes out of sight behind the far plane. Mars's
    // centre: (0, 9, 0.7) turned, tipped by -88.5 degrees and set 73.6 units away.
    EXPECT_EQ(first.bluePixels, 0);
    const double spin = 177.0 * std::numbers::pi / 180.0;
    const double tip = -88.5 * std::numbers::pi / 180.0;
    const double y = 9.0 * std::cos(spin);
    const double marsX = -9.0 * std::sin(spin);
    const double marsY = y * std::cos(tip) - 0.7 * std::sin(tip);
    const double marsZ = -73.6 + y * std::sin(tip) + 0.7 * std::cos(tip);
    EXPECT_NEAR(first.redX, eyeToWindowX(marsX, marsZ, 400), 1.0);
    EXPECT_NEAR(first.redY, eyeToWindowY(marsY, marsZ, 400), 1.0);

    countdown = 0;
    drawFrame();
    const Seen last = look(readFrame());
    const double rimPixels = 9.504845 * 40.0 / 50.0 / 9.0 * 200.0;
    EXPECT_NEAR(last.fieldWidth, 2.0 * rimPixels, 2.0);
    EXPECT_NEAR(last.fieldHeight, 2.0 * rimPixels, 3.0);
    const double marsPixels = 9.0 * 40.0 / (50.0 - 0.7) / 9.0 * 200.0;
    const double venusPixels = 9.0 * 40.0 / (50.0 - 1.0) / 9.0 * 200.0;
    EXPECT_NEAR(last.redX, 200.0, 1.0);
    EXPECT_NEAR(last.redY, 200.0 + marsPixels, 1.5);
    EXPECT_NEAR(last.blueY, 200.0 - venusPixels, 1.5);
}

// The texts keep their offsets in pixels from the centre of the scene's square whatever the
// window's size.
TEST_F(FrameDisplayTest, TextsKeepTheirPixelOffsetsAfterAReshape) {
    constexpr int Width = 600;
    constexpr int Height = 500;
    glutDisplayFunc([] {});
    glutReshapeWindow(Width, Height);
    for (int i = 0;
         i < 200 && (glutGet(GLUT_WINDOW_WIDTH) != Width || glutGet(GLUT_WINDOW_HEIGHT) != Height);
         ++i) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), Width);
    // Mesa takes the new window size for the back buffer at the next swap, as the game's
    // own frames do.
    glutSwapBuffers();
    onReshape(Width, Height);

    gameState = GameOver;
    drawFrame();
    const Frame f = readFrame();
    constexpr int Side = std::min(Width, Height);
    ASSERT_EQ(f.width, Side);
    // 40 pixels left of the centre with the baseline on it, as at 400 by 400.
    EXPECT_EQ(textMismatches(f, "GAME OVER", Side / 2 - 40, Side / 2 - 2, Backdrop::Picture), 0);
    // The heads-up display stands in from the edges of the view by fixed character widths.
    EXPECT_TRUE(shownAtEye(f, "PLAYER : PPP", 10.0 - 15.0 * charWidth, lineHeight - 10.0));
    EXPECT_TRUE(shownAtEye(f, "STAGE : 1", charWidth - 10.0, 10.0 - lineHeight));
    expectScreen(AllClear, 5, {{-9.0, 1.0, "CONGRATURATIONS !!"}, {-6.0, -1.0, "ALL CLEAR !!"}});

    glutReshapeWindow(StartWindowSize, StartWindowSize);
    glutMainLoopEvent();
    glutSwapBuffers();
    onReshape(StartWindowSize, StartWindowSize);
}

} // namespace
