#include "render/TestCard.h"

#include "platform/Platform.h"
#include "render/Draw.h"
#include "render/Font.h"

namespace {

constexpr uint16_t rgb(int32_t red, int32_t green, int32_t blue) {
    return static_cast<uint16_t>((red << 11) | (green << 5) | blue);
}

constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kYellow = rgb(31, 63, 8);

void drawFont(uint16_t* surface) {
    drawText("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.\":,", 4, 3, kWhite, surface, 256);
    drawText("ABCDEFGHIJKLMNOPQRST", 4, 15, kYellow, surface, 512);
    drawText("UVWXYZ0123456789.\":,", 4, 33, kYellow, surface, 512);
    // Lower case and punctuation without a glyph keep their place but draw nothing.
    drawText("a b!c", 256, 3, kWhite, surface, 256);
    drawTextBold("BOLD", 256, 15, rgb(8, 63, 31), surface, 512);
    drawTextCentred("1.5X", 280, 40, rgb(31, 32, 0), surface, 384);
}

// Lines from the centre to every eighth pixel of a square around it: every slope, both ways.
void drawFan(int32_t cx, int32_t cy, bool antiAliased, uint16_t* surface) {
    constexpr int32_t kHalf = 40;
    for (int32_t t = -kHalf; t < kHalf; t += 8) {
        const int32_t ends[4][2] = {
            {cx + kHalf, cy + t}, {cx - t, cy + kHalf}, {cx - kHalf, cy - t}, {cx + t, cy - kHalf}};
        for (int32_t side = 0; side < 4; ++side) {
            const uint16_t colour = rgb(16 + side * 5, 63 - (t + kHalf) * 3 / 4, 31 - side * 6);
            if (antiAliased)
                drawLineAA(cx, cy, ends[side][0], ends[side][1], colour, surface);
            else
                drawLine(cx, cy, ends[side][0], ends[side][1], colour, surface);
        }
    }
}

void drawCircles(uint16_t* surface) {
    for (int32_t r = 2; r <= 44; r += 3)
        drawCircle(240, 100, r, rgb(r * 31 / 44, 63 - r, 31), surface);
    // Off the surface edges: clipped pixel by pixel.
    drawCircle(319, 62, 14, kYellow, surface);
    for (int32_t k = -3; k <= 3; ++k) drawLine(300, 140, 340, 140 + k * 25, kWhite, surface);
}

// A colour ramp for the translucent shapes to be seen against.
void drawBackdrop(uint16_t* surface) {
    for (int32_t y = 150; y < 230; ++y)
        for (int32_t x = 0; x < kScreenWidth; ++x) {
            const int32_t red = x * 31 / 319;
            putPixel(x, y, rgb(red, (y - 150) * 63 / 79, 31 - red), surface);
        }
}

void drawDialog(uint16_t* surface) {
    drawPanel(90, 190, 160, 64, kDialogBorder, kDialogFill, surface);
    drawTextCentredBold("GAME OVER", 90, 182, kWhite, surface, 512);
    drawTextCentred("PRESS START", 90, 202, kWhite, surface, 256);
}

// Columns by shift 0..4: fades toward white and black, filled and outlined blends.
void drawSwatches(uint16_t* surface) {
    for (int32_t shift = 0; shift <= 4; ++shift) {
        const int32_t x0 = 184 + shift * 27;
        for (int32_t y = 156; y < 168; ++y)
            for (int32_t x = x0; x < x0 + 22; ++x) {
                fadePixelToward(x, y, shift, surface, kFadeWhiteRed, kFadeWhiteGreen,
                                kFadeWhiteBlue);
                fadePixelToward(x, y + 16, shift, surface, 0, 0, 0);
            }
        fillRectBlend(x0, 190, 22, 14, rgb(4, 8, 4), shift, surface);
        drawRectBlend(x0, 208, 22, 14, kWhite, shift, surface);
        drawRectBlendCentred(x0 + 11, 215, 12, 6, rgb(0, 0, 16), shift, surface);
    }
}

}  // namespace

void drawTestCard(uint16_t* surface) {
    for (int32_t i = 0; i < kScreenPixels; ++i) surface[i] = 0;
    drawFont(surface);
    drawFan(48, 100, false, surface);
    drawFan(144, 100, true, surface);
    drawCircles(surface);
    drawBackdrop(surface);
    drawDialog(surface);
    drawSwatches(surface);
    drawText("SCORE 0012340  LIVES 3  SHIELDS 5  LEVEL 1", 4, 232, kWhite, surface, 256);
}
