// The characters' models in a real window: their display lists, what they draw, and that
// lists do not pile up over many stage loads.
#include "engine/characters/character_params.h"
#include "engine/characters/characters.h"
#include "engine/game_state.h"
#include "engine/mesh.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "render/renderer.h"
#include "shell/frame_display.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int WindowSize = 400;
constexpr double ViewHalfWidth = 5.0; // the ortho view shows -5 to 5 on both axes

struct Rgb {
    int r;
    int g;
    int b;
};

// Window pixel of a point of the horizontal plane, seen from above.
Rgb pixelAt(double x, double y) {
    const double scale = WindowSize / (2.0 * ViewHalfWidth);
    unsigned char rgb[3] = {};
    glFinish();
    glReadPixels(int((x + ViewHalfWidth) * scale), int((y + ViewHalfWidth) * scale), 1, 1, GL_RGB,
                 GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

void expectColour(const Rgb& actual, const Rgb& expected, const char* what) {
    EXPECT_NEAR(actual.r, expected.r, 1) << what;
    EXPECT_NEAR(actual.g, expected.g, 1) << what;
    EXPECT_NEAR(actual.b, expected.b, 1) << what;
}

const Rgb Black{0, 0, 0};

// A ball's model where the ball stands, as the world is drawn.
void drawModel(const Ball& ball) {
    Placement place;
    place.move(ball.position.x, ball.position.y, ball.position.z);
    gameRenderer().drawMesh(ball.displayList, place, {0.0f, 0.6f, 0.0f});
}

// Flat colours, no lighting, looking down the z axis at the horizontal plane.
void beginPicture() {
    glViewport(0, 0, WindowSize, WindowSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-ViewHalfWidth, ViewHalfWidth, -ViewHalfWidth, ViewHalfWidth, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Every name up to `highest` that is a display list.
int liveLists(int highest) {
    int count = 0;
    for (int name = 1; name <= highest; ++name) {
        count += glIsList(name) ? 1 : 0;
    }
    return count;
}

int highestName(const World& world, int sofar) {
    int highest = sofar > world.fieldList ? sofar : world.fieldList;
    for (int i = 0; i < world.ballCount; ++i) {
        highest = highest > world.balls[i]->displayList ? highest : world.balls[i]->displayList;
    }
    return highest;
}

void load(int stage) {
    stageNumber = stage;
    lives = StartingLives;
    loadStage();
}

TEST(BallModelsTest, EveryBallOfAStageHasItsOwnModelList) {
    load(20);
    for (int i = 0; i < gameWorld.ballCount; ++i) {
        const int list = gameWorld.balls[i]->displayList;
        EXPECT_TRUE(glIsList(list)) << "slot " << i;
        EXPECT_NE(list, DisplayListSentinel);
        for (int j = 0; j < i; ++j) {
            EXPECT_NE(list, gameWorld.balls[j]->displayList);
        }
    }
}

TEST(BallModelsTest, StageAfterStageTheListsInUseStayBounded) {
    int highest = 0;
    for (int round = 0; round < 10; ++round) {
        for (int stage = 0; stage < StageCount; ++stage) {
            load(stage);
            highest = highestName(gameWorld, highest);
        }
    }
    // The field and one list per ball of the last stage, and nothing left of the others.
    EXPECT_EQ(liveLists(highest + 50), 1 + gameWorld.ballCount);
}

TEST(BallModelsTest, AnOpponentThatDropsOutTakesItsListWithIt) {
    load(9);
    ASSERT_EQ(gameWorld.ballCount, 2);
    Ball& pluto = *gameWorld.balls[1];
    const int list = pluto.displayList;
    ASSERT_TRUE(glIsList(list));
    pluto.fallen = 1;
    pluto.position = Vector3f(30.0f, 0.0f, -100.0f);
    EXPECT_EQ(gameWorld.step(0.0f, 0.0f, 0.0f, 0.0f), StageClear);
    EXPECT_FALSE(glIsList(list));
}

TEST(BallModelsTest, ABallIsDrawnInItsOwnColourAtItsPosition) {
    gameWorld.setupField(1, 10.0f);
    std::unique_ptr<Ball> mars(createCharacter(MarsCode, &gameWorld, 2.0f, 1.0f));
    beginPicture();
    drawModel(*mars);
    expectColour(pixelAt(2.0, 1.0), {153, 0, 0}, "centre");
    expectColour(pixelAt(2.6, 1.0), {153, 0, 0}, "inside the radius 0.7");
    expectColour(pixelAt(2.8, 1.0), Black, "outside the radius");
    expectColour(pixelAt(0.0, 0.0), Black, "the origin");
}

TEST(BallModelsTest, SaturnsRingLiesFlatAroundItsSphereFacingUp) {
    gameWorld.setupField(1, 10.0f);
    std::unique_ptr<Ball> saturn(createCharacter(SaturnCode, &gameWorld, 0.0f, 0.0f));
    const Rgb sphere{179, 77, 0};
    const Rgb ring{255, 255, 51};

    beginPicture();
    drawModel(*saturn);
    expectColour(pixelAt(0.0, 0.0), sphere, "sphere");
    expectColour(pixelAt(1.2, 0.0), sphere, "sphere edge");
    expectColour(pixelAt(1.42, 0.0), Black, "gap between sphere and ring");
    expectColour(pixelAt(2.0, 0.0), ring, "ring east");
    expectColour(pixelAt(0.0, -2.0), ring, "ring south");
    expectColour(pixelAt(-1.4, 1.4), ring, "ring north-west");
    expectColour(pixelAt(2.5, 0.0), Black, "beyond the ring");

    // From below the ring shows its back and is culled; the sphere is still there.
    beginPicture();
    glRotatef(180.0f, 1.0f, 0.0f, 0.0f);
    drawModel(*saturn);
    expectColour(pixelAt(0.0, 0.0), sphere, "sphere from below");
    expectColour(pixelAt(2.0, 0.0), Black, "ring from below");
}

} // namespace
