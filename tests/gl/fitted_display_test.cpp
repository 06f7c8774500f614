// The scene fitted into windows of any shape, texts scaled pixel for pixel in large ones, and
// the moments drawn between two simulation frames. Needs a screen of 1,600 pixels or more.
#include "engine/ball.h"
#include "engine/characters/character_params.h"
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "flow/frame_view.h"
#include "flow/motion.h"
#include "gl_pixels.h"
#include "shell/frame_display.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace {

constexpr int FlatField = 1;

// The whole window, margins included (readFrame reads the scene's square only).
Frame readWindow() {
    return readPixels(0, 0, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

// Resizes the real window and waits until the server has done it.
void resizeTo(int width, int height) {
    glutReshapeWindow(width, height);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while ((glutGet(GLUT_WINDOW_WIDTH) != width || glutGet(GLUT_WINDOW_HEIGHT) != height) &&
           std::chrono::steady_clock::now() < deadline) {
        glutMainLoopEvent();
    }
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), width);
    ASSERT_EQ(glutGet(GLUT_WINDOW_HEIGHT), height);
    // The driver takes the window's new size for its buffers at a swap.
    glutSwapBuffers();
    onReshape(width, height);
}

// Size and centre of the picture: anything lit but the text.
struct Extent {
    double width, height, centreX, centreY;
};

Extent pictureExtent(const Frame& f) {
    int left = f.width, right = -1, bottom = f.height, top = -1;
    for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
            if (!isBlack(f.at(x, y)) && !isTextCyan(f.at(x, y))) {
                left = std::min(left, x), right = std::max(right, x);
                bottom = std::min(bottom, y), top = std::max(top, y);
            }
        }
    }
    return {right - left + 1.0, top - bottom + 1.0, (left + right) / 2.0, (bottom + top) / 2.0};
}

// Glyph cells of `text` drawn `scale` times larger from the cell corner (x, y): every glyph
// pixel a full block of text colour, every other pixel of the cells not.
int scaledTextMismatches(const Frame& f, const std::string& text, int x, int y, int scale) {
    int wrong = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int code = static_cast<unsigned char>(text[i]);
        for (int row = 0; row < GlyphHeight * scale; ++row) {
            const int bits = glyphRows[(code - FirstGlyphCode) * GlyphHeight + row / scale];
            for (int col = 0; col < GlyphAdvance * scale; ++col) {
                const int glyphCol = col / scale;
                const bool set = glyphCol < GlyphWidth && (bits & (0x80 >> glyphCol)) != 0;
                const int px = x + static_cast<int>(i) * GlyphAdvance * scale + col;
                if (!f.inside(px, y + row) || isTextCyan(f.at(px, y + row)) != set) {
                    ++wrong;
                }
            }
        }
    }
    return wrong;
}

class FittedDisplayTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        gameInit();
        // The events of a resize are handled here; every picture is drawn by the test.
        glutDisplayFunc([] {});
    }

    void SetUp() override {
        gameState = Playing;
        lives = StartingLives;
        stageNumber = 1;
        loadRoster({});
    }

    static void loadRoster(std::vector<RosterEntry> rows) {
        rows.resize(RosterRows, RosterEntry{RosterEnd, 0.0f, 0.0f});
        gameWorld.setupField(FlatField, 10.0f);
        gameWorld.createRoster(rows.data());
    }

    // Where the red ball's pixels are, on average, across the window.
    static double redCentreX(const Frame& f) {
        double sum = 0.0;
        int n = 0;
        for (int y = 0; y < f.height; ++y) {
            for (int x = 0; x < f.width; ++x) {
                const Rgb p = f.at(x, y);
                if (p.r > 50 && p.g == 0 && p.b == 0) {
                    sum += x;
                    ++n;
                }
            }
        }
        return n > 0 ? sum / n : -1.0;
    }
};

// The dish keeps its shape in any window: the square scene is fitted and centred.
TEST_F(FittedDisplayTest, AnyWindowShapeShowsTheSquareSceneCentred) {
    resizeTo(400, 400);
    drawFrame();
    const Extent square = pictureExtent(readWindow());
    const struct {
        int width;
        int height;
    } shapes[] = {{900, 400}, {400, 900}, {1000, 600}};
    for (const auto& shape : shapes) {
        resizeTo(shape.width, shape.height);
        drawFrame();
        const Extent dish = pictureExtent(readWindow());
        const double scale = std::min(shape.width, shape.height) / 400.0;
        EXPECT_NEAR(dish.width / dish.height, square.width / square.height, 0.02)
            << shape.width << "x" << shape.height;
        EXPECT_NEAR(dish.width, square.width * scale, 2.0 * scale) << shape.width;
        EXPECT_NEAR(dish.centreX, shape.width / 2.0, 1.5) << shape.width;
        EXPECT_NEAR(dish.centreY, shape.height / 2.0, 1.5) << shape.height;
    }
    resizeTo(400, 400);
}

// From 800 pixels on, the font is drawn k times larger, pixel for pixel, and every text
// stands where the 400-pixel picture puts it, k times as far from the centre.
TEST_F(FittedDisplayTest, LargeSquaresScaleTheTextPixelForPixel) {
    gameState = GameOver;
    const struct {
        int size;
        int scale;
    } sizes[] = {{799, 1}, {800, 2}, {1000, 2}, {1200, 3}};
    for (const auto& c : sizes) {
        resizeTo(c.size, c.size);
        EXPECT_EQ(textScale, c.scale);
        drawFrame();
        const Frame f = readWindow();
        // At 400 pixels "GAME OVER" has its first cell at (160, 198): 40 pixels left of the
        // centre, its baseline on the centre line.
        const double centre = c.size / 2.0;
        const int cellX = static_cast<int>(std::floor(centre - 40.0 * c.scale + 0.01));
        const int cellY = static_cast<int>(std::floor(centre + 0.01)) - 2 * c.scale;
        EXPECT_EQ(scaledTextMismatches(f, "GAME OVER", cellX, cellY, c.scale), 0) << c.size;
        const int glyphPixels = textPixelCount("GAME OVER") + textPixelCount("PLAYER : PPP") +
                                textPixelCount("STAGE : 1");
        EXPECT_EQ(countPixels(f, 0, 0, f.width, f.height, isTextCyan),
                  glyphPixels * c.scale * c.scale)
            << c.size;
    }
    resizeTo(400, 400);
}

// Between two simulation frames a ball is drawn on the way from one place to the other; at
// the frame itself the picture is the frame's own, and after a stage load nothing slides.
TEST_F(FittedDisplayTest, MomentsBetweenFramesBlendWhatMoves) {
    resizeTo(400, 400);
    loadRoster({{MarsCode, -4.0f, 0.0f}});
    Ball& mars = *gameWorld.balls[0];
    restartMotion();
    captureMotion();
    mars.position.x = 4.0f;
    captureMotion();
    // Eye x at the ball's depth (-50 + its height) is 4 * 40 / 50 / 9 * 200 pixels from the centre.
    const double step = 4.0 * 40.0 / (50.0 - mars.position.z) / 9.0 * 200.0;
    const struct {
        float blend;
        double x;
    } moments[] = {{0.0f, 200.0 - step}, {0.5f, 200.0}, {0.75f, 200.0 + step / 2.0}};
    for (const auto& m : moments) {
        drawFrameBetween(m.blend);
        EXPECT_NEAR(redCentreX(readFrame()), m.x, 1.0) << "blend " << m.blend;
    }
    drawFrame();
    const Frame frame = readFrame();
    drawFrameBetween(1.0f);
    EXPECT_EQ(readFrame().rgb, frame.rgb) << "the simulation frame itself";

    loadRoster({{MarsCode, -4.0f, 0.0f}});
    restartMotion();
    captureMotion();
    drawFrame();
    const Frame loaded = readFrame();
    drawFrameBetween(0.0f);
    EXPECT_EQ(readFrame().rgb, loaded.rgb) << "after a load";
}

} // namespace
