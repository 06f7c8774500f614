// The bitmap font, drawn for real and read back pixel by pixel.
#include "gl_pixels.h"
#include "render/font.h"
#include "render/gl_font.h"
#include "render/gl_renderer.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int Size = 400;

// Lit cyan text as the game draws it, on a pixel-exact orthographic projection.
class FontTest : public testing::Test {
  protected:
    // The game's light and font.
    static void SetUpTestSuite() {
        static GlRenderer renderer;
        renderer.setUp({});
    }

    void SetUp() override {
        glViewport(0, 0, Size, Size);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, Size, 0.0, Size, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        const float cyan[4] = {0.0f, 1.0f, 1.0f, 1.0f};
        const float noSpecular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, cyan);
        glMaterialfv(GL_FRONT, GL_SPECULAR, noSpecular);
        glNormal3f(1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    static float rasterX() {
        float p[4];
        glGetFloatv(GL_CURRENT_RASTER_POSITION, p);
        return p[0];
    }

    static int litPixels(const Frame& f) {
        return countPixels(f, 0, 0, f.width, f.height, [](Rgb p) { return !isBlack(p); });
    }
};

TEST_F(FontTest, ShownRowsAreExact) {
    const struct {
        char code;
        unsigned char rows[GlyphHeight];
    } shown[] = {
        {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {'!', {0x00, 0x00, 0x18, 0x18, 0x00, 0x00, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18}},
        {'0', {0x00, 0x00, 0x3c, 0x66, 0xc3, 0xe3, 0xf3, 0xdb, 0xcf, 0xc7, 0xc3, 0x66, 0x3c}},
        {'A', {0x00, 0x00, 0xc3, 0xc3, 0xc3, 0xc3, 0xff, 0xc3, 0xc3, 0xc3, 0x66, 0x3c, 0x18}},
        {'P', {0x00, 0x00, 0xc0, 0xc0, 0xc0, 0xc0, 0xc0, 0xfe, 0xc7, 0xc3, 0xc3, 0xc7, 0xfe}},
        {'R', {0x00, 0x00, 0xc3, 0xc6, 0xcc, 0xd8, 0xf0, 0xfe, 0xc7, 0xc3, 0xc3, 0xc7, 0xfe}},
        {'g', {0x7e, 0xc3, 0x03, 0x03, 0x7f, 0xc3, 0xc3, 0xc3, 0x7e, 0x00, 0x00, 0x00, 0x00}},
        {'j', {0x38, 0x6c, 0x0c, 0x0c, 0x0c, 0x0c, 0x0c, 0x0c, 0x0c, 0x00, 0x00, 0x0c, 0x00}},
        {'_', {0xff, 0xff, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {'|', {0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18}},
        {'~', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0x8f, 0xf1, 0x60, 0x00, 0x00, 0x00}},
    };
    for (const auto& glyph : shown) {
        for (int row = 0; row < GlyphHeight; ++row) {
            EXPECT_EQ(glyphRows[(glyph.code - FirstGlyphCode) * GlyphHeight + row], glyph.rows[row])
                << "'" << glyph.code << "' row " << row;
        }
    }
}

TEST_F(FontTest, GlyphsKeepTheirRows) {
    for (int code = FirstGlyphCode; code <= LastGlyphCode; ++code) {
        const unsigned char* rows = &glyphRows[(code - FirstGlyphCode) * GlyphHeight];
        const bool descends =
            std::string("gjpqy_/\\|").find(static_cast<char>(code)) != std::string::npos;
        if (!descends) {
            EXPECT_EQ(rows[0] | rows[1], 0) << "'" << static_cast<char>(code) << "'";
        }
        const bool capitalOrDigit = (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
        if (capitalOrDigit) {
            EXPECT_NE(rows[GlyphBaselineRow], 0) << static_cast<char>(code);
            EXPECT_NE(rows[GlyphHeight - 1], 0) << static_cast<char>(code);
        }
    }
    for (const char wide : {'#', 'M', 'W'}) {
        unsigned char columns = 0;
        for (int row = 0; row < GlyphHeight; ++row) {
            columns |= glyphRows[(wide - FirstGlyphCode) * GlyphHeight + row];
        }
        EXPECT_EQ(columns, 0xff) << wide;
    }
}

// Every printable code in rows of 32, each row one drawText: each cell must hold exactly
// its glyph, which also pins the 10-pixel advance and the baseline two rows up.
TEST_F(FontTest, EveryGlyphDrawsItsRowsTenPixelsApart) {
    constexpr int PerLine = 32;
    constexpr int Left = 20;
    constexpr int FirstBaseline = 300;
    constexpr int LineStep = 40;
    for (int line = 0; line * PerLine < GlyphCount; ++line) {
        std::string text;
        for (int code = FirstGlyphCode + line * PerLine;
             code <= LastGlyphCode && code < FirstGlyphCode + (line + 1) * PerLine; ++code) {
            text += static_cast<char>(code);
        }
        glRasterPos2i(Left, FirstBaseline - line * LineStep);
        drawText(text.c_str());
        EXPECT_EQ(rasterX(), Left + GlyphAdvance * static_cast<float>(text.size()));
    }
    const Frame f = readFrame();
    for (int code = FirstGlyphCode; code <= LastGlyphCode; ++code) {
        const int index = code - FirstGlyphCode;
        const int x = Left + (index % PerLine) * GlyphAdvance;
        const int y = FirstBaseline - (index / PerLine) * LineStep - GlyphBaselineRow;
        EXPECT_EQ(glyphMismatches(f, static_cast<unsigned char>(code), x, y), 0)
            << "'" << static_cast<char>(code) << "'";
        if (code > ' ') {
            EXPECT_GT(countPixels(f, x, y, x + GlyphWidth, y + GlyphHeight, isTextCyan), 0)
                << "'" << static_cast<char>(code) << "'";
        }
    }
}

TEST_F(FontTest, TextsContinueWhereThePreviousEnded) {
    glRasterPos2i(50, 100);
    drawText("PLAYER : ");
    for (int i = 0; i < 3; ++i) {
        drawText("P");
    }
    EXPECT_EQ(rasterX(), 50.0f + 12 * GlyphAdvance);
    EXPECT_EQ(textMismatches(readFrame(), "PLAYER : PPP", 50, 100 - GlyphBaselineRow), 0);
}

TEST_F(FontTest, BytesWithoutAGlyphDrawNothingAndDoNotAdvance) {
    // A list in the names just above the font's block must never be reached through text.
    const unsigned char highByte = 0xc1;
    glNewList(fontBase + highByte, GL_COMPILE);
    glRecti(0, 0, Size, Size);
    glEndList();

    glRasterPos2i(50, 100);
    drawText("");
    EXPECT_EQ(rasterX(), 50.0f);
    drawText("\x01\x1f\x7f\xc1\xff\x80");
    EXPECT_EQ(rasterX(), 50.0f);
    EXPECT_EQ(litPixels(readFrame()), 0);

    drawText("A\x7f\xc1\x01"
             "B\xe9");
    EXPECT_EQ(rasterX(), 50.0f + 2 * GlyphAdvance);
    const Frame f = readFrame();
    EXPECT_EQ(textMismatches(f, "AB", 50, 100 - GlyphBaselineRow), 0);
    EXPECT_EQ(litPixels(f), countPixels(f, 50, 98, 70, 111, isTextCyan));
    glDeleteLists(fontBase + highByte, 1);
}

TEST_F(FontTest, RasterPositionOutsideTheViewDrawsNothing) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-9.0, 9.0, -9.0, 9.0, 40.0, 65.0);
    glMatrixMode(GL_MODELVIEW);
    // Just left of the view at the text depth: the glyphs would reach well into the window.
    glRasterPos3f(-10.2f, 0.0f, -45.0f);
    GLboolean valid = GL_TRUE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    EXPECT_FALSE(valid);
    drawText("GAME OVER");
    EXPECT_EQ(litPixels(readFrame()), 0);

    glRasterPos3f(-10.0f, 0.0f, -45.0f);
    drawText("GAME OVER");
    EXPECT_GT(litPixels(readFrame()), 0);
}

} // namespace
