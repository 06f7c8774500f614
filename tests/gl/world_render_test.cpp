// World drawing read back from the back buffer: the lit field, the balls in their colours,
// covering without a depth buffer, the blinking player, the tilt and the state left behind.
#include "engine/ball.h"
#include "engine/characters/character_params.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "gl_pixels.h"
#include "render/world_drawing.h"
#include "shell/frame_display.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int Bowl = 0;
constexpr int Flat = 1;
constexpr int Dome = 2;
constexpr double CameraDistance = 50.0;
constexpr double DrawnRimShare = 0.9504845; // of the field size
// Global and light ambient, each 0.4, on the field's ambient 0.4.
constexpr int AmbientFloor = 80;

bool isRed(Rgb p) {
    return p.r > 0 && p.g == 0 && p.b == 0;
}
bool isGreen(Rgb p) {
    return p.r == 0 && p.g > 0 && p.b == 0;
}
bool isBlue(Rgb p) {
    return p.r == 0 && p.g > 0 && p.b > p.g;
}
bool isFieldGrey(Rgb p) {
    return isGrey(p, AmbientFloor);
}

// Window position of a point of the camera's frame (the field's centre at the origin).
struct Spot {
    int x;
    int y;
};

// The world as it stands, in the current model-view frame, and the texts begun after it.
void renderWorld() {
    drawWorld(gameRenderer(), gameWorld, captureWorldPose(gameWorld), Placement{});
    gameRenderer().beginTexts();
}

Spot project(double x, double y, double z) {
    const double eyeZ = z - CameraDistance;
    return {static_cast<int>(eyeToWindowX(x, eyeZ, 400)),
            static_cast<int>(eyeToWindowY(y, eyeZ, 400))};
}

class WorldRenderTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        gameInit();
        onReshape(StartWindowSize, StartWindowSize);
    }

    void SetUp() override { load(Flat, 10.0f, {}); }

    static void load(int kind, float size, std::vector<RosterEntry> rows) {
        rows.resize(RosterRows, RosterEntry{RosterEnd, 0.0f, 0.0f});
        gameWorld.setupField(kind, size);
        gameWorld.createRoster(rows.data());
        gameWorld.playPhase = 0;
        gameWorld.phaseCountdown = 0;
    }

    // The world under the game's camera.
    static Frame draw() {
        glClear(GL_COLOR_BUFFER_BIT);
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, static_cast<float>(-CameraDistance));
        renderWorld();
        glPopMatrix();
        return readFrame();
    }

    static Rgb pixelAt(const Frame& f, const Ball& ball) {
        const Spot s = project(ball.position.x, ball.position.y, ball.position.z);
        return f.at(s.x, s.y);
    }
};

TEST_F(WorldRenderTest, FieldIsLitGreyOutToItsDrawnRadius) {
    for (const int kind : {Flat, Bowl, Dome}) {
        for (const float size : {10.0f, 7.5f}) {
            load(kind, size, {});
            const Frame f = draw();
            const auto lit = [](Rgb p) { return !isBlack(p); };
            EXPECT_EQ(countPixels(f, 0, 0, 400, 400, lit),
                      countPixels(f, 0, 0, 400, 400, isFieldGrey))
                << "kind " << kind << " size " << size;

            // Along the row through the centre the rim is a vertex of the 30-sided mesh; straight
            // up it is the middle of an edge, 6 degrees from the vertices.
            const double rim = size * DrawnRimShare * 40.0 / CameraDistance / 9.0 * 200.0;
            int left = 400, right = -1, top = -1;
            for (int x = 0; x < 400; ++x) {
                if (lit(f.at(x, 200))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
            for (int y = 0; y < 400; ++y) {
                if (lit(f.at(200, y))) {
                    top = std::max(top, y);
                }
            }
            EXPECT_NEAR(left, 200.0 - rim, 1.0) << "kind " << kind << " size " << size;
            EXPECT_NEAR(right + 1, 200.0 + rim, 1.0) << "kind " << kind << " size " << size;
            EXPECT_NEAR(top + 1, 200.0 + rim * std::cos(std::numbers::pi / 30.0), 1.0)
                << "kind " << kind << " size " << size;
        }
    }
}

TEST_F(WorldRenderTest, CurvedFieldShowsTheLightsHighlight) {
    load(Dome, 10.0f, {});
    const Frame f = draw();
    int darkest = 255, brightest = 0;
    for (int y = 60; y < 340; y += 4) {
        for (int x = 60; x < 340; x += 4) {
            if ((x - 200) * (x - 200) + (y - 200) * (y - 200) > 150 * 150) {
                continue;
            }
            darkest = std::min(darkest, f.at(x, y).r);
            brightest = std::max(brightest, f.at(x, y).r);
        }
    }
    EXPECT_GE(darkest, AmbientFloor);
    EXPECT_GT(brightest, 240); // the shiny surface catches the light from the upper right
    EXPECT_GT(f.at(300, 300).r, f.at(100, 100).r);
}

// Colour tracking gives each ball its own colour, matte: no highlight on any of its pixels.
TEST_F(WorldRenderTest, BallsShowTheirOwnColours) {
    load(Flat, 10.0f, {{PlayerCode, 0.0f, 4.0f}, {MarsCode, 4.0f, 0.0f}, {VenusCode, -4.0f, 0.0f}});
    const Frame f = draw();
    const struct {
        const Ball& ball;
        bool (*colour)(Rgb);
    } cases[] = {{*gameWorld.balls[0], isGreen},
                 {*gameWorld.balls[1], isRed},
                 {*gameWorld.balls[2], isBlue}};
    for (const auto& c : cases) {
        EXPECT_TRUE(c.colour(pixelAt(f, c.ball))) << c.ball.label;
        const Spot s = project(c.ball.position.x, c.ball.position.y, c.ball.position.z);
        const int box = 25;
        const int ballPixels = countPixels(f, s.x - box, s.y - box, s.x + box, s.y + box, c.colour);
        const int fieldPixels =
            countPixels(f, s.x - box, s.y - box, s.x + box, s.y + box, isFieldGrey);
        EXPECT_GT(ballPixels, 400) << c.ball.label;
        EXPECT_EQ(ballPixels + fieldPixels, 4 * box * box) << c.ball.label;
    }
}

// Without a depth buffer the drawing order decides: the field covers fallen balls, and a
// ball of a higher index covers a lower one.
TEST_F(WorldRenderTest, DrawingOrderDecidesWhatCoversWhat) {
    load(Flat, 10.0f, {{MarsCode, 0.0f, 0.0f}, {MarsCode, 0.0f, 0.0f}});
    Ball& under = *gameWorld.balls[0];
    Ball& beside = *gameWorld.balls[1];
    under.fallen = beside.fallen = 1;
    under.position = Vector3f(0.0f, 0.0f, -3.0f);
    beside.position = Vector3f(11.3f, 0.0f, -3.0f);
    // Fallen balls stay in the world frame whatever the field's tilt.
    gameWorld.tiltX = 0.3f;
    Frame f = draw();
    EXPECT_TRUE(isFieldGrey(pixelAt(f, under)));
    EXPECT_TRUE(isRed(pixelAt(f, beside)));
    gameWorld.tiltX = 0.0f;

    load(Flat, 10.0f, {{MarsCode, 0.0f, 0.0f}, {VenusCode, 0.8f, 0.0f}});
    f = draw();
    EXPECT_TRUE(isBlue(f.at(project(0.4, 0.0, 0.8).x, 200)));
    load(Flat, 10.0f, {{VenusCode, 0.8f, 0.0f}, {MarsCode, 0.0f, 0.0f}});
    f = draw();
    EXPECT_TRUE(isRed(f.at(project(0.4, 0.0, 0.8).x, 200)));
}

TEST_F(WorldRenderTest, ReenteringPlayerBlinksOnOddCountdowns) {
    load(Flat, 10.0f, {{PlayerCode, 4.0f, 0.0f}, {MarsCode, -4.0f, 0.0f}});
    const Ball& player = *gameWorld.balls[0];
    const Ball& mars = *gameWorld.balls[1];
    const struct {
        int phase;
        int countdown;
        bool shown;
    } cases[] = {{3, 20, true}, {3, 19, false}, {3, 18, true}, {3, 1, false},
                 {3, 0, true},  {3, -1, true},  {0, 19, true}, {0, 1, true}};
    for (const auto& c : cases) {
        gameWorld.playPhase = c.phase;
        gameWorld.phaseCountdown = c.countdown;
        const Frame f = draw();
        EXPECT_EQ(isGreen(pixelAt(f, player)), c.shown)
            << "phase " << c.phase << " countdown " << c.countdown;
        EXPECT_TRUE(isFieldGrey(pixelAt(f, player)) != c.shown);
        EXPECT_TRUE(isRed(pixelAt(f, mars)));
    }

    // A fallen player is drawn whatever the phase.
    gameWorld.balls[0]->fallen = 1;
    gameWorld.balls[0]->position = Vector3f(10.5f, 0.0f, 0.0f);
    gameWorld.playPhase = 3;
    gameWorld.phaseCountdown = 19;
    EXPECT_TRUE(isGreen(pixelAt(draw(), player)));
}

// A point of the field is turned about X by tiltX, then about Y by tiltY.
TEST_F(WorldRenderTest, TiltTurnsTheFieldAndItsBalls) {
    load(Flat, 10.0f, {{MarsCode, 5.0f, 5.0f}});
    const double tiltX = 0.5;
    const double tiltY = -0.6;
    gameWorld.tiltX = static_cast<float>(tiltX);
    gameWorld.tiltY = static_cast<float>(tiltY);
    const Ball& mars = *gameWorld.balls[0];
    const double x = mars.position.x;
    const double y1 = mars.position.y * std::cos(tiltX) - mars.position.z * std::sin(tiltX);
    const double z1 = mars.position.y * std::sin(tiltX) + mars.position.z * std::cos(tiltX);
    const double x2 = x * std::cos(tiltY) + z1 * std::sin(tiltY);
    const double z2 = -x * std::sin(tiltY) + z1 * std::cos(tiltY);

    const Frame f = draw();
    gameWorld.tiltX = gameWorld.tiltY = 0.0f;
    double sumX = 0.0, sumY = 0.0;
    int red = 0;
    for (int py = 0; py < 400; ++py) {
        for (int px = 0; px < 400; ++px) {
            if (isRed(f.at(px, py))) {
                sumX += px + 0.5;
                sumY += py + 0.5;
                ++red;
            }
        }
    }
    ASSERT_GT(red, 0);
    EXPECT_NEAR(sumX / red, eyeToWindowX(x2, z2 - CameraDistance, 400), 1.0);
    EXPECT_NEAR(sumY / red, eyeToWindowY(y1, z2 - CameraDistance, 400), 1.0);
}

// The texts after the world are lit with cyan in the front material, and the world leaves
// the model-view matrix as it found it.
TEST_F(WorldRenderTest, TextsAreLitCyanAfterTheWorldAndTheMatrixStaysAsItWas) {
    // With balls drawn, with none, and with only the re-entering player on a hidden frame;
    // each case twice, as in consecutive frames.
    const std::vector<RosterEntry> rosters[] = {
        {{PlayerCode, 0.0f, 4.0f}, {SaturnCode, 4.0f, 0.0f}}, {}, {{PlayerCode, 0.0f, 4.0f}}};
    for (int frame = 0; frame < 6; ++frame) {
        load(Dome, 10.0f, rosters[frame / 2]);
        gameWorld.playPhase = 3;
        gameWorld.phaseCountdown = 7;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, -50.0f);
        float before[16], after[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, before);
        renderWorld();
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(before[i], after[i]);
        }
        glLoadIdentity();

        EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
        float colour[4], ambient[4], diffuse[4], specular[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
        const float cyan[4] = {0.0f, 1.0f, 1.0f, 1.0f};
        const float none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(colour[i], cyan[i]);
            EXPECT_EQ(ambient[i], cyan[i]);
            EXPECT_EQ(diffuse[i], cyan[i]);
            EXPECT_EQ(specular[i], none[i]);
        }
    }
}

} // namespace
