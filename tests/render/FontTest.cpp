#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "render/Font.h"

namespace {

constexpr int kW = 320;
constexpr int kH = 240;
using Points = std::set<std::pair<int, int>>;
using Surface = std::vector<uint16_t>;

Surface blank() {
    return Surface(kW * kH, 0);
}

Points lit(const Surface& s) {
    Points points;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (s[y * kW + x] != 0) points.insert({x, y});
    return points;
}

// The pixels of the letter I, three plain strokes with its grid origin at (x, y): bars from
// column 0 to `right` on rows 0 and `bottom`, the stem down column `middle`.
Points letterI(int x, int y, int right, int middle, int bottom) {
    Points points;
    for (int i = 0; i <= right; ++i) points.insert({x + i, y});
    for (int i = 0; i <= right; ++i) points.insert({x + i, y + bottom});
    for (int j = 0; j <= bottom; ++j) points.insert({x + middle, y + j});
    return points;
}

}  // namespace

TEST(Font, GlyphGridIsScaledIn256ths) {
    // I is drawn with plain lines only, so its pixels are exactly its grid points: columns 0, 2
    // and 4, rows 0 and 6, times scale / 256 rounded down.
    Surface s = blank();
    drawGlyph('I', 100, 50, 0xFFFF, s.data(), 256);
    EXPECT_EQ(lit(s), letterI(100, 50, 4, 2, 6));
    EXPECT_EQ(s[50 * kW + 100], 0xFFFF);

    s = blank();
    drawGlyph('I', 100, 50, 0xFFFF, s.data(), 512);
    EXPECT_EQ(lit(s), letterI(100, 50, 8, 4, 12));

    // At 1.5 the columns 2 and 4 land on 3 and 6, row 6 on 9.
    s = blank();
    drawGlyph('I', 100, 50, 0xFFFF, s.data(), 384);
    EXPECT_EQ(lit(s), letterI(100, 50, 6, 3, 9));
}

TEST(Font, OnlyTheFortyCharactersHaveGlyphs) {
    const std::string withGlyph = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.\":,";
    std::set<Points> shapes;
    for (int code = 1; code < 256; ++code) {
        const char c = static_cast<char>(code);
        Surface s = blank();
        drawGlyph(c, 100, 50, 0xFFFF, s.data(), 256);
        const Points points = lit(s);
        if (withGlyph.find(c) == std::string::npos) {
            EXPECT_TRUE(points.empty()) << "character " << code;
            continue;
        }
        // Every glyph stays in its 5 x 7 cell; only the comma reaches an eighth row.
        EXPECT_FALSE(points.empty()) << c;
        for (const auto& [x, y] : points) {
            const int lastRow = c == ',' ? 57 : 56;
            EXPECT_TRUE(x >= 100 && x <= 104 && y >= 50 && y <= lastRow)
                << c << " at " << x << "," << y;
        }
        shapes.insert(points);
    }
    EXPECT_EQ(shapes.size(), withGlyph.size()) << "two glyphs look the same";

    // The punctuation is made of plain strokes, so each lands on known pixels: the full stop
    // down column 2 at rows 5 and 6, the colon adds rows 0 and 1, the quote two ticks in
    // columns 1 and 3, the comma a diagonal step from (1, 6) to (0, 7).
    const struct {
        char c;
        Points points;
    } punctuation[] = {{'.', {{2, 5}, {2, 6}}},
                       {':', {{2, 0}, {2, 1}, {2, 5}, {2, 6}}},
                       {'"', {{1, 0}, {1, 1}, {3, 0}, {3, 1}}},
                       {',', {{1, 6}, {0, 7}}}};
    for (const auto& [c, points] : punctuation) {
        Surface s = blank();
        drawGlyph(c, 0, 0, 0xFFFF, s.data(), 256);
        EXPECT_EQ(lit(s), points) << c;
    }
}

TEST(Font, TextAdvancesAndCentres) {
    // "A B": the space draws nothing but takes its 6 pixels, so B sits 12 pixels right of A;
    // at scale 512 the step is 12 and B sits 24 right.
    for (const auto& [scale, step] : {std::pair<uint16_t, int>{256, 6}, {512, 12}}) {
        Surface text = blank(), glyphs = blank();
        drawText("A B", 40, 30, 0xFFFF, text.data(), scale);
        drawGlyph('A', 40, 30, 0xFFFF, glyphs.data(), scale);
        drawGlyph('B', 40 + 2 * step, 30, 0xFFFF, glyphs.data(), scale);
        EXPECT_EQ(text, glyphs) << scale;
    }
    Surface empty = blank();
    drawText("   a b c", 40, 30, 0xFFFF, empty.data(), 256);
    EXPECT_TRUE(lit(empty).empty());

    // Ten characters centred at scale 256 start 30 pixels left and 3 up; at 512, 60 and 7.
    // Three characters: 18 / 2 = 9 pixels left.
    const struct {
        const char* text;
        uint16_t scale;
        int left, up;
    } centred[] = {{"0123456789", 256, 30, 3}, {"0123456789", 512, 60, 7}, {"ABC", 256, 9, 3}};
    for (const auto& c : centred) {
        Surface actual = blank(), expected = blank();
        drawTextCentred(c.text, 160, 100, 0xFFFF, actual.data(), c.scale);
        drawText(c.text, 160 - c.left, 100 - c.up, 0xFFFF, expected.data(), c.scale);
        EXPECT_EQ(actual, expected) << c.text << " at " << c.scale;
    }

    // Bold is the same text again one pixel to the right.
    Surface bold = blank(), twice = blank();
    drawTextCentredBold("MENU", 160, 100, 0x07E0, bold.data(), 512);
    drawText("MENU", 136, 93, 0x07E0, twice.data(), 512);
    drawText("MENU", 137, 93, 0x07E0, twice.data(), 512);
    EXPECT_EQ(bold, twice);
}
