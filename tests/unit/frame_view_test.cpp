// What a frame shows, worked out headless, and the order in which the world is handed to a
// renderer: the pictures themselves are the OpenGL tests' and the golden pictures'.
#include "engine/characters/character_params.h"
#include "flow/frame_view.h"
#include "flow/window_keys.h"
#include "flow_driver.h"
#include "render/world_drawing.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Notes what it is asked to draw, as "material A", "track on", "mesh 7" and so on.
class RecordingRenderer final : public Renderer {
  public:
    std::vector<std::string> calls;

    void setUp(const DrawOptions&) override {}
    void setView(int, int, int, int) override {}
    void beginFrame() override { calls.push_back("frame"); }
    void setMaterial(const Material& m) override {
        calls.push_back(m.shininess > 0.0f ? "material A" : "material B");
    }
    void trackColours(bool on) override { calls.push_back(on ? "track on" : "track off"); }
    void drawMesh(int name, const Placement&, const Colour&) override { mesh(name); }
    void drawMesh(int name, const Placement&) override { mesh(name); }
    void beginTexts() override { calls.push_back("texts"); }
    void drawText(float, float, std::string_view text) override {
        calls.push_back("text " + std::string(text));
    }
    std::vector<unsigned char> readPicture(int, int) override { return {}; }
    int replace(int, const Mesh&) override { return ++lastName; }
    void release(int) override {}

  private:
    void mesh(int name) { calls.push_back("mesh " + std::to_string(name)); }
    int lastName = 0;
};

class FrameViewTest : public FlowDriver {
  protected:
    void SetUp() override {
        FlowDriver::SetUp();
        setTextUnits(StartWindowSize);
        setMeshStore(&renderer);
    }
    void TearDown() override {
        setMeshStore(nullptr);
        FlowDriver::TearDown();
    }

    static std::vector<std::string> textsOf(const FrameView& view) {
        std::vector<std::string> texts;
        for (const PlacedText& line : view.texts) {
            texts.push_back(line.text);
        }
        return texts;
    }

    RecordingRenderer renderer;
};

using Texts = std::vector<std::string>;

TEST_F(FrameViewTest, EachStateShowsItsTextsOverTheWorld) {
    playStage(3);
    lives = 3;
    FrameView view = frameViewNow();
    EXPECT_TRUE(view.showsWorld);
    EXPECT_EQ(textsOf(view), (Texts{"PLAYER : PP", "STAGE : 3"}));

    paused = 1;
    EXPECT_EQ(textsOf(frameViewNow()), (Texts{"PLAYER : PP", "STAGE : 3", "PAUSE"}));
    paused = 0;

    gameState = GameOver;
    waitLevel = 2;
    waitShow = 5;
    EXPECT_EQ(textsOf(frameViewNow()),
              (Texts{"PLAYER : PP", "STAGE : 3", "GAME OVER", "WAIT : **"}));

    resetToTitle();
    EXPECT_EQ(textsOf(frameViewNow()), (Texts{"VELMORANDE 1997", "Tumbra"}));
}

TEST_F(FrameViewTest, TheRecordsPageTakesThePlaceOfTheWorld) {
    ASSERT_TRUE(recordsPageTakes('h', true));
    const FrameView view = frameViewNow();
    EXPECT_FALSE(view.showsWorld);
    const Texts texts = textsOf(view);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts.front(), "RECORDS");
    EXPECT_EQ(texts.back(), "PRESS ANY KEY");
    // Placed about the centre: the widest line starts left of it.
    const auto widest = std::max_element(
        view.texts.begin(), view.texts.end(),
        [](const PlacedText& a, const PlacedText& b) { return a.text.size() < b.text.size(); });
    EXPECT_LT(widest->x, 0.0f);
    for (std::size_t i = 1; i < view.texts.size(); ++i) {
        EXPECT_LT(view.texts[i].y, view.texts[i - 1].y) << "line " << i << " runs downwards";
    }
}

// The fly-in starts far away and edge-on and ends at the camera's own distance, looking down.
TEST_F(FrameViewTest, AStageFliesInFromEdgeOnToTheTopView) {
    startGame(1);
    const FrameView first = frameViewNow();
    ASSERT_EQ(first.camera.count, 4);
    EXPECT_FLOAT_EQ(first.camera.steps[0].z, -50.0f);
    EXPECT_FLOAT_EQ(first.camera.steps[1].z, -24.0f);
    EXPECT_FLOAT_EQ(first.camera.steps[2].degrees, -90.0f);
    EXPECT_FLOAT_EQ(first.camera.steps[3].degrees, 180.0f);
    ASSERT_GT(framesUntil(Ready, 100), 0);
    EXPECT_EQ(frameViewNow().camera.count, 1);
}

// Without a depth buffer the order decides what covers what: the fallen balls first, the
// field over them, the balls on the field last; the re-entering player blinks.
TEST_F(FrameViewTest, TheWorldIsDrawnFallenBallsFieldThenTheBallsOnIt) {
    playStage(2); // the player and four Mars
    ASSERT_EQ(gameWorld.ballCount, 5);
    gameWorld.balls[2]->fallen = 1;
    const auto nameOf = [](int slot) {
        return "mesh " + std::to_string(gameWorld.balls[slot]->displayList);
    };
    const std::string field = "mesh " + std::to_string(gameWorld.fieldList);

    drawWorld(renderer, gameWorld, captureWorldPose(gameWorld), Placement{});
    EXPECT_EQ(renderer.calls,
              (Texts{"material B", "track on", nameOf(2), "track off", "material A", field,
                     "material B", "track on", nameOf(0), nameOf(1), nameOf(3), nameOf(4)}));

    renderer.calls.clear();
    gameWorld.playPhase = ReentryPhase;
    gameWorld.phaseCountdown = 3;
    drawWorld(renderer, gameWorld, captureWorldPose(gameWorld), Placement{});
    EXPECT_EQ(std::count(renderer.calls.begin(), renderer.calls.end(), nameOf(0)), 0)
        << "hidden on an odd countdown";
}

} // namespace
