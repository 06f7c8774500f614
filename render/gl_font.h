#pragma once

// The bitmap font in OpenGL display lists: one list per printable code, drawn with glBitmap
// at the current raster position.
#include <string_view>

// First of the FontListCount list names; the glyph of code c is list fontBase + c.
extern unsigned int fontBase;

// Compiles one display list per printable code; needs the window's context current. Texts
// are then drawn at scale 1.
void buildFont();
// Texts from now on are drawn `scale` times larger (1 to MaxTextScale), every glyph pixel a
// block of scale by scale pixels and the advance scale times 10. A scale's lists are compiled
// the first time it is asked for.
void setTextScale(int scale);
// Writes `text` at the current raster position, which ends up right after the last glyph.
// Bytes without a glyph (control codes, 127 and everything above) draw nothing.
void drawText(std::string_view text);
