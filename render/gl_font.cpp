#include "render/gl_font.h"

#include "engine/frame_view.h"
#include "render/font.h"

#include <GL/gl.h>
#include <algorithm>
#include <vector>

unsigned int fontBase = 0;

namespace {

constexpr float GlyphOriginX = 0.0f;
constexpr float GlyphOriginY = static_cast<float>(GlyphBaselineRow);

// The list blocks of the scales drawn so far; 0 where a scale has none yet. Scale 1 is
// fontBase.
unsigned int scaledBases[MaxTextScale + 1] = {};
unsigned int textBase = 0;

bool namesList(unsigned char c) {
    return c != 0 && c < FontListCount;
}

unsigned int buildScaledFont(int scale) {
    const unsigned int base = glGenLists(FontListCount);
    for (int c = FirstGlyphCode; c <= LastGlyphCode; ++c) {
        const std::vector<unsigned char> rows =
            scaledGlyph(&glyphRows[(c - FirstGlyphCode) * GlyphHeight], scale);
        glNewList(base + c, GL_COMPILE);
        glBitmap(GlyphWidth * scale, GlyphHeight * scale, GlyphOriginX * scale,
                 GlyphOriginY * scale, static_cast<float>(GlyphAdvance * scale), 0.0f, rows.data());
        glEndList();
    }
    return base;
}

} // namespace

void buildFont() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // rows are single bytes
    fontBase = glGenLists(FontListCount);
    for (int c = FirstGlyphCode; c <= LastGlyphCode; ++c) {
        glNewList(fontBase + c, GL_COMPILE);
        glBitmap(GlyphWidth, GlyphHeight, GlyphOriginX, GlyphOriginY,
                 static_cast<float>(GlyphAdvance), 0.0f,
                 &glyphRows[(c - FirstGlyphCode) * GlyphHeight]);
        glEndList();
    }
    scaledBases[1] = fontBase;
    textBase = fontBase;
}

void setTextScale(int scale) {
    scale = std::clamp(scale, 1, MaxTextScale);
    if (scaledBases[scale] == 0) {
        scaledBases[scale] = buildScaledFont(scale);
    }
    textBase = scaledBases[scale];
}

void drawText(std::string_view text) {
    glPushAttrib(GL_LIST_BIT);
    glListBase(textBase);
    // Bytes from 128 up would name lists beyond the font's block (the field's, a ball's),
    // so they are left out; a plain text is still one call.
    auto bytes = reinterpret_cast<const unsigned char*>(text.data());
    const auto end = bytes + text.size();
    while (bytes != end) {
        const auto run = std::find_if_not(bytes, end, namesList);
        if (run != bytes) {
            glCallLists(static_cast<GLsizei>(run - bytes), GL_UNSIGNED_BYTE, bytes);
        }
        bytes = std::find_if(run, end, namesList);
    }
    glPopAttrib();
}
