#pragma once
// Pixels, lines, circles, translucent rectangles and the dialog panel, painted straight onto the
// 320 x 240 RGB565 surface (stride 320) that every function takes. They work on the whole
// surface, score panel rows included: the pixel operations drop what falls outside, the lines
// clamp their endpoints into it, so callers never check bounds.

#include <cstdint>

#include "platform/Platform.h"

// Every dialog of the game is drawn in these two colours.
constexpr uint16_t kDialogBorder = 0xA51F;
constexpr uint16_t kDialogFill = 0x529F;
// The grey of a brightness 0..31, as a highlighted item pulses.
constexpr uint16_t greyOf(int32_t level) {
    return static_cast<uint16_t>(level << 11 | level << 6 | level);
}

// Fade targets are channels scaled by 32: red and blue 0..992, green 0..2016.
constexpr int32_t kFadeWhiteRed = 992;
constexpr int32_t kFadeWhiteGreen = 2016;
constexpr int32_t kFadeWhiteBlue = 992;

// --- Pixels (a pixel outside the surface is left alone and reads as 0) ---
void putPixel(int32_t x, int32_t y, uint16_t colour, uint16_t* surface);
uint16_t getPixel(int32_t x, int32_t y, const uint16_t* surface);
// Adds the colour to the old pixel darkened by 2^shift, each channel saturating: shift 3 leaves
// an eighth of the background under the colour. shift is 0..15.
void blendPixel(int32_t x, int32_t y, uint16_t colour, int32_t shift, uint16_t* surface);
// fadePixelToward (below): moves each channel 1/2^shift of the way toward its target (scaled by
// 32, see above): shift 0 lands on the target, shift 1 goes halfway. shift is 0..15.

// --- Lines and circles ---
// Solid Bresenham line. Endpoints are clamped into the surface; the slope comes from the
// unclamped points, and whatever of it leaves the surface is dropped.
void drawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint16_t colour, uint16_t* surface);
// Wu line with 64 levels blended into the picture; endpoints clamped and set to the exact colour.
// Horizontal, vertical and 45-degree lines are solid.
void drawLineAA(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint16_t colour, uint16_t* surface);
// One-pixel midpoint circle outline; radius in pixels, at most a few thousand.
void drawCircle(int32_t cx, int32_t cy, int32_t radius, uint16_t colour, uint16_t* surface);

// --- Translucent rectangles (blendPixel with the given shift) ---
// w x h with its top-left corner at (x, y); nothing when w or h is not positive.
void fillRectBlend(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour, int32_t shift,
                   uint16_t* surface);
// Same, top-left corner at (cx - w / 2, cy - h / 2).
void fillRectBlendCentred(int32_t cx, int32_t cy, int32_t w, int32_t h, uint16_t colour,
                          int32_t shift, uint16_t* surface);
// The outline only. A rectangle one pixel high or wide has its two sides on the same pixels,
// which are then blended twice.
void drawRectBlend(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour, int32_t shift,
                   uint16_t* surface);
void drawRectBlendCentred(int32_t cx, int32_t cy, int32_t w, int32_t h, uint16_t colour,
                          int32_t shift, uint16_t* surface);

// The dialog box centred on (cx, cy): a two-pixel border and a tinted interior over the
// background dimmed to an eighth.
void drawPanel(int32_t cx, int32_t cy, int32_t w, int32_t h, uint16_t border, uint16_t fill,
               uint16_t* surface);

// --- Turning shapes (the locator's arrows, the grenade), kept in tables built at start-up ---
// The handheld's own value of pi, so that the tables come out exactly as there.
constexpr double kHandheldPi = 3.14159;

// A point of a shape, in pixels from its centre, turned by the angle whose cosine and sine are
// given, at 256 steps per pixel, each coordinate truncated toward zero.
void turnPoint(double x, double y, double cosine, double sine, int16_t out[2]);
// The sine and cosine of an angle in radians (0 to 2 pi) for those tables, the same on every
// machine: the C library's may differ in the last bit from one system to another, and a table
// built from them with it.
double turnSine(double angle);
double turnCosine(double angle);

// --- Inline, for the particles that call it thousands of times a picture ---
// value moved (|target - value| >> shift) toward target, without a branch: particles fade
// thousands of pixels a picture and the direction of each is anybody's guess. T is int32_t, or
// a vector of them to fade several pixels at once.
template <class T>
inline T fadeChannel(T value, int32_t target, int32_t shift) {
    const T d = target - value;
    const T sign = d >> 31;  // -1 when moving down, else 0
    const T step = ((d ^ sign) - sign) >> shift;
    return value + ((step ^ sign) - sign);
}

// An RGB565 colour (or several) faded toward the targets. Work at 32 steps per channel level so
// that small shifts still move the pixel.
template <class T>
inline T fadeColour(T old, int32_t shift, int32_t redTarget, int32_t greenTarget,
                    int32_t blueTarget) {
    const T red = fadeChannel<T>((old >> 11) * 32, redTarget, shift);
    const T green = fadeChannel<T>(old & 0x07E0, greenTarget, shift);
    const T blue = fadeChannel<T>((old & 31) * 32, blueTarget, shift);
    return ((red >> 5) << 11) | (green & ~31) | (blue >> 5);
}

// fadePixelToward on a pixel known to be on the surface.
inline void fadePixel(uint16_t& pixel, int32_t shift, int32_t redTarget, int32_t greenTarget,
                      int32_t blueTarget) {
    pixel = static_cast<uint16_t>(
        fadeColour<int32_t>(pixel, shift, redTarget, greenTarget, blueTarget));
}

inline void fadePixelToward(int32_t x, int32_t y, int32_t shift, uint16_t* surface,
                            int32_t redTarget, int32_t greenTarget, int32_t blueTarget) {
    if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(kScreenWidth) ||
        static_cast<uint32_t>(y) >= static_cast<uint32_t>(kScreenHeight))
        return;
    fadePixel(surface[y * kScreenWidth + x], shift, redTarget, greenTarget, blueTarget);
}
