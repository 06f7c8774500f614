#pragma once

#include <cstddef>
#include <vector>

// The 8 by 13 bitmap font every on-screen text is written with.
inline constexpr int FirstGlyphCode = 32; // space
inline constexpr int LastGlyphCode = 126; // '~'
inline constexpr int GlyphCount = LastGlyphCode - FirstGlyphCode + 1;
inline constexpr int GlyphWidth = 8;       // pixels; one byte per row, leftmost pixel in bit 7
inline constexpr int GlyphHeight = 13;     // rows, bottom row first
inline constexpr int GlyphBaselineRow = 2; // rows 0 and 1 hold only descenders
inline constexpr int GlyphAdvance = 10;    // pixels from one glyph to the next
inline constexpr int FontListCount = 128;  // names reserved, one per 7-bit code

// GlyphHeight rows per glyph, codes FirstGlyphCode to LastGlyphCode in order.
extern const unsigned char glyphRows[GlyphCount * GlyphHeight];

// One glyph's `rows` with every pixel made a `scale` by `scale` block: each row is `scale`
// bytes wide (leftmost pixel in the top bit) and stands `scale` times, bottom row first.
std::vector<unsigned char> scaledGlyph(const unsigned char* rows, int scale);
