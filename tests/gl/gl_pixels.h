#pragma once
// Reading the drawn picture back, and where the game's projection puts things.
#include "render/font.h"

#include <GL/gl.h>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    int r;
    int g;
    int b;
};

// The back buffer as drawn so far (before any swap), rows from the bottom: the viewport, where
// the scene's square stands.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Rgb at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// The back buffer's rectangle from (x, y), width by height.
inline Frame readPixels(int x, int y, int width, int height) {
    Frame f;
    f.width = width;
    f.height = height;
    f.rgb.resize(static_cast<std::size_t>(f.width) * f.height * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, f.width, f.height, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
    return f;
}

inline Frame readFrame() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    return readPixels(viewport[0], viewport[1], viewport[2], viewport[3]);
}

inline bool isBlack(Rgb p) {
    return p.r == 0 && p.g == 0 && p.b == 0;
}
inline bool isTextCyan(Rgb p) {
    return p.r == 0 && p.g == 255 && p.b == 255;
}
inline bool isGrey(Rgb p, int minLevel) {
    return std::abs(p.r - p.g) <= 1 && std::abs(p.g - p.b) <= 1 && p.r >= minLevel;
}

// Pixels in the rectangle [x0, x1) x [y0, y1) that satisfy `test`.
template <typename Test>
int countPixels(const Frame& f, int x0, int y0, int x1, int y1, Test test) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (f.inside(x, y) && test(f.at(x, y))) {
                ++n;
            }
        }
    }
    return n;
}

// The fixed frustum (-9, 9, -9, 9, 40, 65): window coordinates of an eye-space point.
inline double eyeToWindowX(double x, double z, int width) {
    return (x * 40.0 / -z / 9.0 + 1.0) * width / 2.0;
}
inline double eyeToWindowY(double y, double z, int height) {
    return (y * 40.0 / -z / 9.0 + 1.0) * height / 2.0;
}

// What the unset pixels of a glyph cell must show: black on an empty screen, anything but
// the text colour over the game's picture.
enum class Backdrop { Black, Picture };

// Pixels of the glyph cell (glyph plus its two blank columns) whose bottom-left corner is
// (x, y) that disagree with the glyph of `code`: set bits must be cyan, the rest backdrop.
inline int glyphMismatches(const Frame& f, unsigned char code, int x, int y,
                           Backdrop backdrop = Backdrop::Black) {
    int wrong = 0;
    for (int row = 0; row < GlyphHeight; ++row) {
        const int bits = glyphRows[(code - FirstGlyphCode) * GlyphHeight + row];
        for (int col = 0; col < GlyphAdvance; ++col) {
            const bool set = col < GlyphWidth && (bits & (0x80 >> col)) != 0;
            if (!f.inside(x + col, y + row)) {
                ++wrong;
                continue;
            }
            const Rgb p = f.at(x + col, y + row);
            const bool backdropOk = backdrop == Backdrop::Black ? isBlack(p) : !isTextCyan(p);
            if (set ? !isTextCyan(p) : !backdropOk) {
                ++wrong;
            }
        }
    }
    return wrong;
}

// Same for a whole text starting with the glyph cell at (x, y).
inline int textMismatches(const Frame& f, const std::string& text, int x, int y,
                          Backdrop backdrop = Backdrop::Black) {
    int wrong = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wrong += glyphMismatches(f, static_cast<unsigned char>(text[i]),
                                 x + static_cast<int>(i) * GlyphAdvance, y, backdrop);
    }
    return wrong;
}

// Bottom-left corner of the first glyph cell for a raster position in window coordinates.
inline int glyphCellX(double rasterX) {
    return static_cast<int>(std::floor(rasterX));
}
inline int glyphCellY(double rasterY) {
    return static_cast<int>(std::floor(rasterY - GlyphBaselineRow));
}

// True if `text` stands exactly, over the picture, at the raster position (window
// coordinates) computed in double precision. OpenGL works in single precision, so a position
// within a hundredth of a pixel of a pixel edge may land on either side of it.
inline bool textShownAt(const Frame& f, const std::string& text, double rasterX, double rasterY) {
    constexpr double Slack = 0.01;
    for (const double dx : {-Slack, Slack}) {
        for (const double dy : {-Slack, Slack}) {
            if (textMismatches(f, text, glyphCellX(rasterX + dx), glyphCellY(rasterY + dy),
                               Backdrop::Picture) == 0) {
                return true;
            }
        }
    }
    return false;
}

// Number of pixels the glyphs of `text` set.
inline int textPixelCount(const std::string& text) {
    int n = 0;
    for (const char c : text) {
        for (int row = 0; row < GlyphHeight; ++row) {
            const unsigned char code = static_cast<unsigned char>(c);
            n += std::popcount(
                static_cast<unsigned>(glyphRows[(code - FirstGlyphCode) * GlyphHeight + row]));
        }
    }
    return n;
}
