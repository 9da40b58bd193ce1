#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "render/Draw.h"

namespace {

constexpr int kW = 320;
constexpr int kH = 240;
using Points = std::set<std::pair<int, int>>;

// A surface with a band of guard rows above and below, so that a write outside the surface
// lands in memory the test owns and can see.
struct SGuardedSurface {
    static constexpr int kGuardRows = 64;
    static constexpr uint16_t kGuard = 0xDEAD;
    std::vector<uint16_t> memory;
    uint16_t* surface;

    explicit SGuardedSurface(uint16_t fill = 0)
        : memory((kH + 2 * kGuardRows) * kW, kGuard), surface(memory.data() + kGuardRows * kW) {
        std::fill(surface, surface + kW * kH, fill);
    }
    uint16_t at(int x, int y) const { return surface[y * kW + x]; }
    bool guardsIntact() const {
        for (int i = 0; i < kGuardRows * kW; ++i)
            if (memory[i] != kGuard || memory[memory.size() - 1 - i] != kGuard) return false;
        return true;
    }
    // Every pixel that differs from `background`.
    Points changed(uint16_t background) const {
        Points points;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (at(x, y) != background) points.insert({x, y});
        return points;
    }
};

constexpr uint16_t rgb(int red, int green, int blue) {
    return static_cast<uint16_t>((red << 11) | (green << 5) | blue);
}

}  // namespace

TEST(Draw, PixelOperationsLeaveEverythingOffTheSurfaceAlone) {
    SGuardedSurface s(0x1234);
    const int outside[4][2] = {{320, 0}, {0, 240}, {-1, 5}, {5, -1}};
    for (const auto& p : outside) {
        putPixel(p[0], p[1], 0xFFFF, s.surface);
        blendPixel(p[0], p[1], 0xFFFF, 3, s.surface);
        fadePixelToward(p[0], p[1], 0, s.surface, 992, 2016, 992);
        EXPECT_EQ(getPixel(p[0], p[1], s.surface), 0) << p[0] << "," << p[1];
    }
    EXPECT_TRUE(s.changed(0x1234).empty());
    EXPECT_TRUE(s.guardsIntact());

    // The corners are inside.
    putPixel(319, 239, 0xBEEF, s.surface);
    putPixel(0, 0, 0xCAFE, s.surface);
    EXPECT_EQ(getPixel(319, 239, s.surface), 0xBEEF);
    EXPECT_EQ(getPixel(0, 0, s.surface), 0xCAFE);
    EXPECT_EQ(getPixel(1, 0, s.surface), 0x1234);
}

TEST(Draw, BlendPixelAddsTheColourToTheDimmedBackground) {
    std::vector<uint16_t> surface(kW * kH);
    const auto blendOver = [&](uint16_t old, uint16_t colour, int shift) {
        surface[0] = old;
        blendPixel(0, 0, colour, shift, surface.data());
        return surface[0];
    };
    // White saturates every channel whatever lies beneath.
    for (const uint16_t old : {0x0000, 0x1234, 0xF81F, 0xFFFF})
        EXPECT_EQ(blendOver(old, 0xFFFF, 3), 0xFFFF) << old;
    // Black with shift 3 leaves an eighth: 31 >> 3 = 3, 63 >> 3 = 7.
    EXPECT_EQ(blendOver(0xFFFF, 0x0000, 3), rgb(3, 7, 3));
    EXPECT_EQ(blendOver(rgb(16, 40, 9), 0x0000, 3), rgb(2, 5, 1));
    // (20, 10, 5) over (31, 63, 8): shift 2 gives 20 + 7, 10 + 15, 5 + 2; shift 0 saturates red
    // and green only.
    EXPECT_EQ(blendOver(rgb(31, 63, 8), rgb(20, 10, 5), 2), rgb(27, 25, 7));
    EXPECT_EQ(blendOver(rgb(31, 63, 8), rgb(20, 10, 5), 0), rgb(31, 63, 13));
}

TEST(Draw, FadePixelMovesEachChannelTowardItsTarget) {
    std::vector<uint16_t> surface(kW * kH);
    const auto fade = [&](uint16_t old, int shift, int red, int green, int blue) {
        surface[0] = old;
        fadePixelToward(0, 0, shift, surface.data(), red, green, blue);
        return surface[0];
    };
    // Shift 0 lands on the target.
    EXPECT_EQ(fade(0x0000, 0, 992, 2016, 992), 0xFFFF);
    EXPECT_EQ(fade(0xFFFF, 0, 320, 640, 96), rgb(10, 20, 3));
    // Shift 1 from black toward white: 496 / 32 = 15 red and blue, 1008 / 32 = 31.5 green,
    // whose half step is cut off.
    EXPECT_EQ(fade(0x0000, 1, 992, 2016, 992), rgb(15, 31, 15));
    // Down, up and already there: red 992 -> 496, green 0 -> 1008, blue stays at 320.
    EXPECT_EQ(fade(rgb(31, 0, 10), 1, 0, 2016, 320), rgb(15, 31, 10));
}

TEST(Draw, LineStepsLikeBresenhamInEitherDirection) {
    SGuardedSurface s;
    drawLine(0, 0, 4, 2, 0xFFFF, s.surface);
    EXPECT_EQ(s.changed(0), (Points{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));

    // The error is tested before the step, so the walk back takes other pixels.
    SGuardedSurface back;
    drawLine(4, 2, 0, 0, 0xFFFF, back.surface);
    EXPECT_EQ(back.changed(0), (Points{{4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}));

    SGuardedSurface steep;
    drawLine(0, 0, 2, 4, 0xFFFF, steep.surface);
    EXPECT_EQ(steep.changed(0), (Points{{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}}));
}

TEST(Draw, LineLeavingTheSurfaceWritesNothingOutsideIt) {
    // The walk keeps the unclamped slope, so the minor axis runs off the surface: below and
    // past the right edge, where it would wrap into the next rows.
    SGuardedSurface below;
    drawLine(0, 230, 400, 300, 0xFFFF, below.surface);
    EXPECT_TRUE(below.guardsIntact());
    EXPECT_EQ(below.at(0, 230), 0xFFFF);
    EXPECT_FALSE(below.changed(0).empty());
    for (const auto& [x, y] : below.changed(0)) EXPECT_GE(y, 230) << x << "," << y;

    SGuardedSurface right;
    drawLine(310, 0, 500, 300, 0xFFFF, right.surface);
    EXPECT_TRUE(right.guardsIntact());
    EXPECT_EQ(right.at(310, 0), 0xFFFF);
    for (const auto& [x, y] : right.changed(0)) EXPECT_GE(x, 310) << x << "," << y;

    // Both ends above and left of the surface clamp to the corner pixel.
    SGuardedSurface corner;
    drawLine(-10, -10, -5, -20, 0xFFFF, corner.surface);
    EXPECT_EQ(corner.changed(0), (Points{{0, 0}}));
    EXPECT_TRUE(corner.guardsIntact());
}

TEST(DrawLineAA, StraightLinesAreSolidWithoutBlending) {
    constexpr uint16_t kBlue = 0x001F, kColour = rgb(20, 40, 10);
    SGuardedSurface s(kBlue);
    drawLineAA(10, 5, 14, 5, kColour, s.surface);     // horizontal
    drawLineAA(30, 9, 30, 6, kColour, s.surface);     // vertical, drawn upward
    drawLineAA(53, 20, 50, 23, kColour, s.surface);   // 45 degrees, right to left
    drawLineAA(-5, 100, 2, 100, kColour, s.surface);  // clamped at the left edge
    drawLineAA(70, 70, 70, 70, kColour, s.surface);   // a single point
    Points expected{{70, 70}};
    for (int i = 0; i < 5; ++i) expected.insert({10 + i, 5});
    for (int i = 0; i < 4; ++i) expected.insert({30, 6 + i});
    for (int i = 0; i < 4; ++i) expected.insert({53 - i, 20 + i});
    for (int i = 0; i < 3; ++i) expected.insert({i, 100});
    EXPECT_EQ(s.changed(kBlue), expected);
    for (const auto& [x, y] : expected) EXPECT_EQ(s.at(x, y), kColour) << x << "," << y;
}

TEST(DrawLineAA, SlopedLinesShareTheColourBetweenTwoPixels) {
    constexpr uint16_t kWhite = 0xFFFF;
    // White at colour weight 42 of 64: 31 * 42 / 64 = 20.3, 63 * 42 / 64 = 41.3; at 21: 10.2
    // and 20.7.
    constexpr uint16_t kHeavy = rgb(20, 41, 20), kLight = rgb(10, 20, 10);

    // y-major, (0,0) to (2,3): the slope is 2/3 of a pixel per row, 43690 in the accumulator;
    // the second row wraps it to 21844 and moves one column right. The weights are the top six
    // bits (42, then 21) for the right pixel and 63 minus them for the left one.
    const Points steep{{0, 0}, {0, 1}, {1, 1}, {1, 2}, {2, 2}, {2, 3}};
    for (const bool reversed : {false, true}) {
        SGuardedSurface s;
        if (reversed)
            drawLineAA(2, 3, 0, 0, kWhite, s.surface);  // walked downward all the same
        else
            drawLineAA(0, 0, 2, 3, kWhite, s.surface);
        EXPECT_EQ(s.changed(0), steep);
        EXPECT_EQ(s.at(0, 0), kWhite);
        EXPECT_EQ(s.at(0, 1), kLight);
        EXPECT_EQ(s.at(1, 1), kHeavy);
        EXPECT_EQ(s.at(1, 2), kHeavy);
        EXPECT_EQ(s.at(2, 2), kLight);
        EXPECT_EQ(s.at(2, 3), kWhite);
    }

    // The mirror image walks left, and its second pixel of each row lies to the left.
    SGuardedSurface mirrored;
    drawLineAA(2, 0, 0, 3, kWhite, mirrored.surface);
    EXPECT_EQ(mirrored.changed(0), (Points{{2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}, {0, 3}}));
    EXPECT_EQ(mirrored.at(2, 1), kLight);
    EXPECT_EQ(mirrored.at(1, 1), kHeavy);
    EXPECT_EQ(mirrored.at(1, 2), kHeavy);
    EXPECT_EQ(mirrored.at(0, 2), kLight);

    // x-major red over blue, (10,10) to (13,11): 21845 then 43690, weights 21 and 42 for the
    // pixel below. Red gets floor(31 k / 64), the blue background keeps floor(31 (63 - k) / 64).
    constexpr uint16_t kRed = 0xF800, kBlue = 0x001F;
    SGuardedSurface flat(kBlue);
    drawLineAA(10, 10, 13, 11, kRed, flat.surface);
    EXPECT_EQ(flat.changed(kBlue),
              (Points{{10, 10}, {11, 10}, {11, 11}, {12, 10}, {12, 11}, {13, 11}}));
    EXPECT_EQ(flat.at(10, 10), kRed);
    EXPECT_EQ(flat.at(11, 10), rgb(20, 0, 10));
    EXPECT_EQ(flat.at(11, 11), rgb(10, 0, 20));
    EXPECT_EQ(flat.at(12, 10), rgb(10, 0, 20));
    EXPECT_EQ(flat.at(12, 11), rgb(20, 0, 10));
    EXPECT_EQ(flat.at(13, 11), kRed);

    // Nearly flat, (0,0) to (100,1): the first step adds 655, under 1024, so the pixel below
    // gets colour weight 0, yet the background still keeps only 63 / 64 of itself.
    SGuardedSurface shallow(0xFFFF);
    drawLineAA(0, 0, 100, 1, 0x0000, shallow.surface);
    EXPECT_EQ(shallow.at(1, 0), 0x0000);
    EXPECT_EQ(shallow.at(1, 1), rgb(30, 62, 30));
    EXPECT_EQ(shallow.at(0, 1), 0xFFFF);
}

TEST(DrawLineAA, LinesAcrossTheWholeSurfaceStayOnIt) {
    SGuardedSurface s;
    drawLineAA(-50, -50, 400, 300, 0xFFFF, s.surface);
    drawLineAA(330, -1, -1, 250, 0xFFFF, s.surface);
    drawLineAA(0, 239, 319, 0, 0xFFFF, s.surface);
    drawLineAA(319, 239, 1, 238, 0xFFFF, s.surface);
    EXPECT_TRUE(s.guardsIntact());
    EXPECT_EQ(s.at(0, 0), 0xFFFF);  // clamped ends get the exact colour
    EXPECT_EQ(s.at(319, 239), 0xFFFF);
    EXPECT_EQ(s.at(319, 0), 0xFFFF);
    EXPECT_EQ(s.at(0, 239), 0xFFFF);
}

TEST(Draw, CircleOutlinesFromTheMidpointWalk) {
    // Radius 2: the four axis points, then the eight mirrors of (1, 2).
    SGuardedSurface two;
    drawCircle(50, 40, 2, 0xFFFF, two.surface);
    Points expected;
    for (const auto& [x, y] : {std::pair{0, 2}, {2, 0}, {1, 2}, {2, 1}})
        for (const int sx : {-1, 1})
            for (const int sy : {-1, 1}) expected.insert({50 + sx * x, 40 + sy * y});
    EXPECT_EQ(two.changed(0), expected);

    // Radius 3 reaches the diagonal: (1, 3) mirrored eight times and (2, 2) four times.
    SGuardedSurface three;
    drawCircle(50, 40, 3, 0xFFFF, three.surface);
    expected.clear();
    for (const auto& [x, y] : {std::pair{0, 3}, {3, 0}, {1, 3}, {3, 1}, {2, 2}})
        for (const int sx : {-1, 1})
            for (const int sy : {-1, 1}) expected.insert({50 + sx * x, 40 + sy * y});
    EXPECT_EQ(expected.size(), 16u);
    EXPECT_EQ(three.changed(0), expected);

    // Radius 4: d starts at -11 >> 2 = -3, goes to 0 after (1, 4); the step down to (2, 3) adds
    // 4 + 4 - 8 and leaves it at 0, so the next step goes down again, to row 2 under column 3,
    // past the diagonal: (3, 3) is never drawn.
    SGuardedSurface four;
    drawCircle(50, 40, 4, 0xFFFF, four.surface);
    expected.clear();
    for (const auto& [x, y] : {std::pair{0, 4}, {4, 0}, {1, 4}, {4, 1}, {2, 3}, {3, 2}})
        for (const int sx : {-1, 1})
            for (const int sy : {-1, 1}) expected.insert({50 + sx * x, 40 + sy * y});
    EXPECT_EQ(four.changed(0), expected);

    // Round a corner: only the quarter on the surface is drawn.
    SGuardedSurface corner;
    drawCircle(0, 0, 30, 0xFFFF, corner.surface);
    drawCircle(319, 239, 30, 0xFFFF, corner.surface);
    EXPECT_TRUE(corner.guardsIntact());
    EXPECT_EQ(corner.at(30, 0), 0xFFFF);
    EXPECT_EQ(corner.at(289, 239), 0xFFFF);
    EXPECT_EQ(corner.at(0, 210), 0);  // where (320, 209) would wrap to
}

TEST(Draw, TranslucentRectanglesAndThePanel) {
    // A grey (16, 32, 16) background dims to (2, 4, 2). The panel 8 x 6 around (10, 10) has its
    // outer ring on columns 6..13 and rows 7..12, the inner ring one pixel in, the fill 4 x 2 at
    // columns 8..11, rows 9..10. Border (20, 40, 31) and fill (10, 20, 31) saturate in blue.
    constexpr uint16_t kGrey = rgb(16, 32, 16);
    SGuardedSurface panel(kGrey);
    drawPanel(10, 10, 8, 6, kDialogBorder, kDialogFill, panel.surface);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            uint16_t expected = kGrey;
            if (x >= 8 && x <= 11 && y >= 9 && y <= 10)
                expected = rgb(12, 24, 31);
            else if (x >= 6 && x <= 13 && y >= 7 && y <= 12)
                expected = rgb(22, 44, 31);
            EXPECT_EQ(panel.at(x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(panel.changed(kGrey).size(), 48u);

    // Odd sizes centre by integer halves: 5 x 3 around (10, 10) covers columns 8..12, rows
    // 9..11. Empty and negative sizes draw nothing, and a rectangle over the edges is clipped.
    SGuardedSurface fill(0xFFFF);
    fillRectBlendCentred(10, 10, 5, 3, 0x0000, 1, fill.surface);
    fillRectBlend(50, 50, 0, 10, 0x0000, 1, fill.surface);
    fillRectBlend(50, 50, 10, -1, 0x0000, 1, fill.surface);
    Points expected;
    for (int y = 9; y <= 11; ++y)
        for (int x = 8; x <= 12; ++x) expected.insert({x, y});
    EXPECT_EQ(fill.changed(0xFFFF), expected);
    EXPECT_EQ(fill.at(8, 9), rgb(15, 31, 15));
    fillRectBlend(-10, -10, 400, 300, 0x0000, 1, fill.surface);
    EXPECT_TRUE(fill.guardsIntact());
    EXPECT_EQ(fill.at(319, 239), rgb(15, 31, 15));

    // Outlines one pixel high or wide put both sides on the same pixels: blended twice there.
    SGuardedSurface thin(0xFFFF);
    drawRectBlend(4, 4, 3, 1, 0x0000, 1, thin.surface);
    drawRectBlend(10, 4, 1, 4, 0x0000, 1, thin.surface);
    const uint16_t once = rgb(15, 31, 15), twice = rgb(7, 15, 7);
    EXPECT_EQ(thin.changed(0xFFFF),
              (Points{{4, 4}, {5, 4}, {6, 4}, {10, 4}, {10, 5}, {10, 6}, {10, 7}}));
    EXPECT_EQ(thin.at(5, 4), twice);
    EXPECT_EQ(thin.at(10, 4), once);
    EXPECT_EQ(thin.at(10, 5), twice);
    EXPECT_EQ(thin.at(10, 7), once);
}

// The turning tables' sine and cosine are the game's own, so that every machine builds the same
// tables; over every angle the grenade and the locator turn by, all four quarters of the turn and
// both ends of each, they are the C library's to within its own last places.
TEST(Draw, TurnSineAndCosineAreTheLibrarysToTheLastPlaces) {
    for (const double step : {kHandheldPi / 120, kHandheldPi / 90, kHandheldPi / 30})
        for (double angle = 0; angle < 2 * kHandheldPi; angle += step) {
            EXPECT_NEAR(turnSine(angle), std::sin(angle), 1e-15) << angle;
            EXPECT_NEAR(turnCosine(angle), std::cos(angle), 1e-15) << angle;
        }
}
