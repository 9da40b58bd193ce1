#pragma once
// The stroke font: 40 glyphs (A-Z, 0-9, . " : ,) drawn as anti-aliased line segments on a 5 x 7
// grid (the comma reaches an eighth row), scaled by a factor in 1/256 so the same letters serve
// the 1:1 score panel and the big GAME OVER. Any other character, the space and lower case
// included, draws nothing but still takes its place.

#include <cstdint>

constexpr int kGlyphCount = 40;

// Glyph index of a character, or -1 when it has none.
constexpr int glyphIndex(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= '0' && c <= '9') return 26 + (c - '0');
    switch (c) {
        case '.':
            return 36;
        case '"':
            return 37;
        case ':':
            return 38;
        case ',':
            return 39;
        default:
            return -1;
    }
}

// Pixels from one character to the next: 6 at scale 256, 12 at 512.
constexpr int32_t textAdvance(uint16_t scale) {
    return (static_cast<int32_t>(scale) * 3) >> 7;
}

// One character with the glyph grid's origin at (x, y).
void drawGlyph(char character, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
               uint16_t scale);
// Left-aligned, top at y.
void drawText(const char* text, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
              uint16_t scale);
// Centred on (x, y).
void drawTextCentred(const char* text, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
                     uint16_t scale);
// Bold: the text drawn twice, the second time one pixel to the right.
void drawTextBold(const char* text, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
                  uint16_t scale);
void drawTextCentredBold(const char* text, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
                         uint16_t scale);

// The window's own lines (key hints, the controls page): the game's letters and digits, lower
// case drawn as capitals, and the symbols that name keys: - + = / \ * [ ] ; ' ` ( ) < > ! ?
void drawWindowText(const char* text, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
                    uint16_t scale);
void drawWindowTextCentred(const char* text, int32_t x, int32_t y, uint16_t colour,
                           uint16_t* surface, uint16_t scale);
