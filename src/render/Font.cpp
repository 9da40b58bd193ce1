#include "render/Font.h"

#include <array>
#include <cstring>

#include "render/Draw.h"

namespace {

// The glyphs as polylines on the grid, in drawing order: "x,y-x,y-x,y" is a run of segments
// that continue one another, ";" lifts the pen. Segments are drawn in this order and in this
// direction, which decides how overlapping anti-aliased pixels blend.
constexpr const char* kGlyphStrokes[kGlyphCount] = {
    "0,6-0,1-1,0-3,0-4,1-4,6;4,3-0,3",                                      // A
    "0,0-0,6-3,6-4,5-4,4-3,3-0,3;3,3-4,2-4,1-3,0-0,0",                      // B
    "4,1-3,0-1,0-0,1-0,5-1,6-3,6-4,5",                                      // C
    "0,0-0,6-3,6-4,5-4,1-3,0-0,0",                                          // D
    "0,0-0,6-4,6;0,3-3,3;0,0-4,0",                                          // E
    "0,0-0,6;0,3-3,3;0,0-4,0",                                              // F
    "4,1-3,0-1,0-0,1-0,5-1,6-3,6-4,5-4,3-2,3",                              // G
    "0,6-0,0;0,3-4,3;4,0-4,6",                                              // H
    "4,0-0,0;2,0-2,6;0,6-4,6",                                              // I
    "4,0-4,5-3,6-1,6-0,5-0,4",                                              // J
    "0,0-0,6;0,3-2,3-4,5;2,3-4,1;4,6-4,5;4,0-4,1",                          // K
    "0,0-0,6-4,6",                                                          // L
    "0,0-0,6;4,0-4,6;0,0-2,3;4,0-2,3",                                      // M
    "0,0-0,6;4,0-4,6;0,0-4,6",                                              // N
    "4,1-3,0-1,0-0,1-0,5-1,6-3,6-4,5-4,1",                                  // O
    "0,6-0,0-3,0-4,1-4,2-3,3-0,3",                                          // P
    "4,1-3,0-1,0-0,1-0,5-1,6-3,6-4,5-4,1;2,4-4,6",                          // Q
    "0,6-0,0-3,0-4,1-4,2-3,3-0,3;3,3-4,6",                                  // R
    "4,1-3,0-1,0-0,1-0,2-1,3-3,3-4,4-4,5-3,6-1,6-0,5",                      // S
    "0,0-4,0;2,0-2,6",                                                      // T
    "0,0-0,5-1,6-3,6-4,5-4,0",                                              // U
    "0,0-0,3-2,6-4,3-4,0",                                                  // V
    "0,0-0,6-2,4-4,6-4,0",                                                  // W
    "0,0-0,1-4,5-4,6;4,0-4,1-0,5-0,6",                                      // X
    "0,0-0,2-2,3-2,6;4,0-4,2-2,3",                                          // Y
    "0,0-4,0-4,1-0,5-0,6-4,6",                                              // Z
    "4,1-3,0-1,0-0,1-0,5-1,6-3,6-4,5-4,1-0,5",                              // 0
    "1,1-2,0-2,6;1,6-3,6",                                                  // 1
    "0,1-1,0-3,0-4,1-4,2-0,6-4,6",                                          // 2
    "0,1-1,0-3,0-4,1-4,2-3,3-2,3;3,3-4,4-4,5-3,6-1,6-0,5",                  // 3
    "0,0-0,3-4,3;3,0-3,6",                                                  // 4
    "4,0-0,0-0,2-3,2-4,3-4,5-3,6-1,6-0,5",                                  // 5
    "4,1-3,0-1,0-0,1-0,5-1,6-3,6-4,5-4,4-3,3-0,3",                          // 6
    "0,0-4,0-2,6",                                                          // 7
    "4,1-3,0-1,0-0,1-0,2-1,3-0,4-0,5-1,6-3,6-4,5-4,4-3,3-4,2-4,1;1,3-3,3",  // 8
    "0,5-1,6-3,6-4,5-4,1-3,0-1,0-0,1-0,2-1,3-4,3",                          // 9
    "2,5-2,6",                                                              // .
    "1,0-1,1;3,0-3,1",                                                      // "
    "2,0-2,1;2,5-2,6",                                                      // :
    "1,6-0,7",                                                              // ,
};

// One segment between two grid points.
struct SSegment {
    uint8_t x0, y0, x1, y1;
};

// Symbols the game's own texts never use, for the window's lines about keys and the controls
// page (drawWindowText): the game's letters stay exactly as they are.
constexpr char kSymbols[] = "-+=/\\*[];'`()<>!?";
constexpr int kSymbolCount = sizeof kSymbols - 1;
constexpr const char* kSymbolStrokes[kSymbolCount] = {
    "1,3-3,3",                              // -
    "0,3-4,3;2,1-2,5",                      // +
    "0,2-4,2;0,4-4,4",                      // =
    "0,6-4,0",                              // /
    "0,0-4,6",                              // backslash
    "2,1-2,5;0,2-4,4;4,2-0,4",              // *
    "3,0-1,0-1,6-3,6",                      // [
    "1,0-3,0-3,6-1,6",                      // ]
    "2,1-2,2;2,5-1,7",                      // ;
    "2,0-2,2",                              // '
    "1,0-2,1",                              // `
    "3,0-1,2-1,4-3,6",                      // (
    "1,0-3,2-3,4-1,6",                      // )
    "4,0-0,3-4,6",                          // <
    "0,0-4,3-0,6",                          // >
    "2,0-2,3;2,5-2,6",                      // !
    "0,1-1,0-3,0-4,1-4,2-2,3-2,4;2,5-2,6",  // ?
};

template <int N>
constexpr int countSegments(const char* const (&glyphs)[N]) {
    int count = 0;
    for (const char* strokes : glyphs)
        for (const char* c = strokes; *c; ++c) count += *c == '-';
    return count;
}

// The segments of all glyphs end to end; glyph g owns segments first[g] .. first[g + 1] - 1.
template <int kGlyphs, int kSegments>
struct SFontTable {
    std::array<SSegment, kSegments> segments{};
    std::array<uint16_t, kGlyphs + 1> first{};
    bool wellFormed = true;
};

// Turns the polylines into the segment table while compiling, so the font costs no start-up
// work and a malformed stroke fails the build.
template <int kGlyphs, int kSegments>
constexpr SFontTable<kGlyphs, kSegments> buildFontTable(const char* const (&strokes)[kGlyphs]) {
    SFontTable<kGlyphs, kSegments> table;
    int n = 0;
    for (int g = 0; g < kGlyphs; ++g) {
        table.first[g] = static_cast<uint16_t>(n);
        const char* c = strokes[g];
        // Reads "x,y" with x in 0..4 and y in 0..7.
        auto point = [&](uint8_t& x, uint8_t& y) {
            if (c[0] < '0' || c[0] > '4' || c[1] != ',' || c[2] < '0' || c[2] > '7') {
                table.wellFormed = false;
                return false;
            }
            x = static_cast<uint8_t>(c[0] - '0');
            y = static_cast<uint8_t>(c[2] - '0');
            c += 3;
            return true;
        };
        while (table.wellFormed) {
            uint8_t x = 0, y = 0;
            if (!point(x, y)) break;
            if (*c != '-') table.wellFormed = false;  // a polyline has at least one segment
            while (*c == '-' && table.wellFormed) {
                ++c;
                SSegment& s = table.segments[n++];
                s.x0 = x;
                s.y0 = y;
                if (!point(x, y)) break;
                s.x1 = x;
                s.y1 = y;
            }
            if (*c == '\0') break;
            if (*c++ != ';') table.wellFormed = false;
        }
    }
    table.first[kGlyphs] = static_cast<uint16_t>(n);
    table.wellFormed = table.wellFormed && n == kSegments;
    return table;
}

constexpr auto kFont = buildFontTable<kGlyphCount, countSegments(kGlyphStrokes)>(kGlyphStrokes);
static_assert(kFont.wellFormed, "a glyph's strokes do not parse");
constexpr auto kSymbolFont =
    buildFontTable<kSymbolCount, countSegments(kSymbolStrokes)>(kSymbolStrokes);
static_assert(kSymbolFont.wellFormed, "a symbol's strokes do not parse");

template <class TFont>
void drawStrokes(const TFont& font, int g, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
                 uint16_t scale) {
    for (int i = font.first[g]; i < font.first[g + 1]; ++i) {
        const SSegment& s = font.segments[i];
        // A grid step is one pixel at scale 256: (p * 256 * scale) >> 16.
        drawLineAA(x + ((s.x0 * 256 * scale) >> 16), y + ((s.y0 * 256 * scale) >> 16),
                   x + ((s.x1 * 256 * scale) >> 16), y + ((s.y1 * 256 * scale) >> 16), colour,
                   surface);
    }
}

}  // namespace

void drawGlyph(char character, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
               uint16_t scale) {
    const int g = glyphIndex(character);
    if (g >= 0) drawStrokes(kFont, g, x, y, colour, surface, scale);
}

void drawWindowText(const char* text, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
                    uint16_t scale) {
    const int32_t advance = textAdvance(scale);
    for (const char* c = text; *c; ++c, x += advance) {
        const char upper = *c >= 'a' && *c <= 'z' ? static_cast<char>(*c - 'a' + 'A') : *c;
        if (glyphIndex(upper) >= 0) {
            drawGlyph(upper, x, y, colour, surface, scale);
            continue;
        }
        for (int g = 0; g < kSymbolCount; ++g)
            if (kSymbols[g] == upper) drawStrokes(kSymbolFont, g, x, y, colour, surface, scale);
    }
}

void drawWindowTextCentred(const char* text, int32_t x, int32_t y, uint16_t colour,
                           uint16_t* surface, uint16_t scale) {
    const auto length = static_cast<int32_t>(std::strlen(text));
    drawWindowText(text, x - ((length * textAdvance(scale)) >> 1),
                   y - (((static_cast<int32_t>(scale) * 7) >> 8) >> 1), colour, surface, scale);
}

void drawText(const char* text, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
              uint16_t scale) {
    const int32_t advance = textAdvance(scale);
    for (const char* c = text; *c; ++c, x += advance) drawGlyph(*c, x, y, colour, surface, scale);
}

void drawTextCentred(const char* text, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
                     uint16_t scale) {
    const auto length = static_cast<int32_t>(std::strlen(text));
    x -= (length * textAdvance(scale)) >> 1;
    y -= ((static_cast<int32_t>(scale) * 7) >> 8) >> 1;  // half the height of a capital
    drawText(text, x, y, colour, surface, scale);
}

void drawTextBold(const char* text, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
                  uint16_t scale) {
    drawText(text, x, y, colour, surface, scale);
    drawText(text, x + 1, y, colour, surface, scale);
}

void drawTextCentredBold(const char* text, int32_t x, int32_t y, uint16_t colour, uint16_t* surface,
                         uint16_t scale) {
    drawTextCentred(text, x, y, colour, surface, scale);
    drawTextCentred(text, x + 1, y, colour, surface, scale);
}
