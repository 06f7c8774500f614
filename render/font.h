#pragma once

#include <cstddef>

// The 8 by 13 bitmap font every on-screen text is written with.
inline constexpr int FirstGlyphCode = 32; // space
inline constexpr int LastGlyphCode = 126; // '~'
inline constexpr int GlyphCount = LastGlyphCode - FirstGlyphCode + 1;
inline constexpr int GlyphWidth = 8;       // pixels; one byte per row, leftmost pixel in bit 7
inline constexpr int GlyphHeight = 13;     // rows, bottom row first
inline constexpr int GlyphBaselineRow = 2; // rows 0 and 1 hold only descenders
inline constexpr int GlyphAdvance = 10;    // pixels from one glyph to the next
inline constexpr int FontListCount = 128;  // list names reserved, one per 7-bit code

// GlyphHeight rows per glyph, codes FirstGlyphCode to LastGlyphCode in order.
extern const unsigned char glyphRows[GlyphCount * GlyphHeight];

// First of the FontListCount list names; the glyph of code c is list fontBase + c.
extern unsigned int fontBase;

// The largest text scale: glyphs 8 x 16 = 128 pixels wide, for a square of 6,400 pixels.
inline constexpr int MaxTextScale = 16;

// Compiles one display list per printable code; needs the window's context current. Texts
// are then drawn at scale 1.
void buildFont();
// Texts from now on are drawn `scale` times larger (1 to MaxTextScale), every glyph pixel a
// block of scale by scale pixels and the advance scale times 10. A scale's lists are compiled
// the first time it is asked for.
void setTextScale(int scale);
// Writes `text` at the current raster position, which ends up right after the last glyph.
// Bytes without a glyph (control codes, 127 and everything above) draw nothing.
void drawText(const char* text);
