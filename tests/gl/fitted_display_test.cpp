// The scene fitted into windows of any shape, texts scaled pixel for pixel in large ones, and
// the moments drawn between two simulation frames. Needs a screen of 1,600 pixels or more.
#include "app/frame_display.h"
#include "app/game_state.h"
#include "app/window.h"
#include "characters/character_params.h"
#include "gl_pixels.h"
#include "sim/ball.h"
#include "sim/stages.h"
#include "sim/world.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace {

constexpr double TextDepth = -45.0;
constexpr int FlatField = 1;

// The whole window, margins included (readFrame reads the viewport only).
Frame readWindow() {
    Frame f;
    f.width = glutGet(GLUT_WINDOW_WIDTH);
    f.height = glutGet(GLUT_WINDOW_HEIGHT);
    f.rgb.resize(static_cast<std::size_t>(f.width) * f.height * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, f.width, f.height, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
    return f;
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

struct Box {
    int left = 1 << 30, bottom = 1 << 30, right = -1, top = -1;
    int width() const { return right - left + 1; }
    int height() const { return top - bottom + 1; }
};

// Where the picture (anything lit but the text) lies.
Box pictureBox(const Frame& f) {
    Box box;
    for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
            const Rgb p = f.at(x, y);
            if (!isBlack(p) && !isTextCyan(p)) {
                box = {std::min(box.left, x), std::min(box.bottom, y), std::max(box.right, x),
                       std::max(box.top, y)};
            }
        }
    }
    return box;
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
        paused = 0;
        lives = StartingLives;
        stageNumber = 1;
        countdown = 0;
        waitShow = 0;
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

// The dish keeps its shape in any window: the square scene is fitted, centred, between
// black margins.
TEST_F(FittedDisplayTest, AnyWindowShapeShowsTheSquareSceneCentred) {
    resizeTo(400, 400);
    drawFrame();
    const Box square = pictureBox(readWindow());
    const double squareRatio = static_cast<double>(square.width()) / square.height();
    const struct {
        int width;
        int height;
    } shapes[] = {{900, 400}, {400, 900}, {1000, 600}};
    for (const auto& shape : shapes) {
        resizeTo(shape.width, shape.height);
        drawFrame();
        const Frame f = readWindow();
        const Box dish = pictureBox(f);
        const double ratio = static_cast<double>(dish.width()) / dish.height();
        EXPECT_NEAR(ratio / squareRatio, 1.0, 0.02) << shape.width << "x" << shape.height;
        EXPECT_NEAR((dish.left + dish.right) / 2.0, shape.width / 2.0, 1.5) << shape.width;
        EXPECT_NEAR((dish.bottom + dish.top) / 2.0, shape.height / 2.0, 1.5) << shape.height;
        const int side = std::min(shape.width, shape.height);
        EXPECT_NEAR(dish.width(), square.width() * side / 400.0, 2.0 * side / 400.0);
        // The HUD keeps its place in the square: the stage line at its top left.
        const double squareLeft = (shape.width - side) / 2.0;
        const double squareBottom = (shape.height - side) / 2.0;
        EXPECT_TRUE(textShownAt(f, "STAGE : 1",
                                squareLeft + eyeToWindowX(charWidth - 10.0, TextDepth, side),
                                squareBottom + eyeToWindowY(10.0 - lineHeight, TextDepth, side)))
            << shape.width << "x" << shape.height;
        EXPECT_EQ(countPixels(f, 0, 0, static_cast<int>(squareLeft), shape.height,
                              [](Rgb p) { return !isBlack(p); }),
                  0)
            << "left margin";
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
