// tumbra-find-text SCREENSHOT.ppm TEXT
//
// Prints where TEXT stands in a screenshot of the game, one "x y" line per place: the
// bottom-left pixel of its first glyph cell, y counted from the bottom as OpenGL does. A place
// counts only if every pixel of the glyphs is the text cyan and no other pixel of their
// cells is. Exit status 0 if TEXT was found, 1 if not, 2 for unreadable input.
#include "render/font.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int NotFound = 1;
constexpr int BadInput = 2;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb; // rows from the top, as stored

    bool textCyan(int x, int yFromBottom) const {
        const std::size_t i = (static_cast<std::size_t>(height - 1 - yFromBottom) * width + x) * 3;
        return rgb[i] == 0 && rgb[i + 1] == 255 && rgb[i + 2] == 255;
    }
};

// Skips white space and comment lines between the fields of a PPM header.
bool readHeaderNumber(std::FILE* in, int& value) {
    int c = std::fgetc(in);
    while (c == '#' || c == ' ' || c == '\t' || c == '\n' || c == '\r') {
        if (c == '#') {
            while (c != '\n' && c != EOF) {
                c = std::fgetc(in);
            }
        }
        c = std::fgetc(in);
    }
    std::ungetc(c, in);
    return std::fscanf(in, "%d", &value) == 1;
}

bool readPpm(const char* path, Image& image) {
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr) {
        return false;
    }
    int maxValue = 0;
    const bool header = std::fgetc(in) == 'P' && std::fgetc(in) == '6' &&
                        readHeaderNumber(in, image.width) && readHeaderNumber(in, image.height) &&
                        readHeaderNumber(in, maxValue) && maxValue == 255 && image.width > 0 &&
                        image.height > 0 && std::fgetc(in) != EOF;
    bool ok = false;
    if (header) {
        image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
        ok = std::fread(image.rgb.data(), 1, image.rgb.size(), in) == image.rgb.size();
    }
    std::fclose(in);
    return ok;
}

bool glyphAt(const Image& image, unsigned char code, int x, int y) {
    const bool printable = code >= FirstGlyphCode && code <= LastGlyphCode;
    for (int row = 0; row < GlyphHeight; ++row) {
        const int bits = printable ? glyphRows[(code - FirstGlyphCode) * GlyphHeight + row] : 0;
        for (int col = 0; col < GlyphAdvance; ++col) {
            const bool set = col < GlyphWidth && (bits & (0x80 >> col)) != 0;
            if (image.textCyan(x + col, y + row) != set) {
                return false;
            }
        }
    }
    return true;
}

bool textAt(const Image& image, const std::string& text, int x, int y) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!glyphAt(image, static_cast<unsigned char>(text[i]),
                     x + static_cast<int>(i) * GlyphAdvance, y)) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Image image;
    if (argc != 3 || !readPpm(argv[1], image)) {
        std::fprintf(stderr, "usage: tumbra-find-text SCREENSHOT.ppm TEXT\n");
        return BadInput;
    }
    const std::string text = argv[2];
    const int width = static_cast<int>(text.size()) * GlyphAdvance;
    bool found = false;
    for (int y = 0; y + GlyphHeight <= image.height; ++y) {
        for (int x = 0; x + width <= image.width; ++x) {
            if (textAt(image, text, x, y)) {
                std::printf("%d %d\n", x, y);
                found = true;
            }
        }
    }
    return found ? 0 : NotFound;
}
