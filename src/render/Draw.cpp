#include "render/Draw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <utility>

#include "platform/Platform.h"

namespace {

constexpr int32_t kWidth = kScreenWidth;
constexpr int32_t kHeight = kScreenHeight;

// One unsigned comparison per axis also rejects negative coordinates.
inline bool onSurface(int32_t x, int32_t y) {
    return static_cast<uint32_t>(x) < static_cast<uint32_t>(kWidth) &&
           static_cast<uint32_t>(y) < static_cast<uint32_t>(kHeight);
}

inline int32_t clampX(int32_t x) {
    return std::clamp(x, 0, kWidth - 1);
}
inline int32_t clampY(int32_t y) {
    return std::clamp(y, 0, kHeight - 1);
}

inline uint16_t pack(uint32_t red, uint32_t green, uint32_t blue) {
    return static_cast<uint16_t>((red << 11) | (green << 5) | blue);
}

// Colour plus the old pixel darkened by 2^shift, each channel saturating.
inline uint16_t addDimmed(uint16_t old, uint16_t colour, int32_t shift) {
    const uint32_t red = (colour >> 11) + ((old >> 11) >> shift);
    const uint32_t green = ((colour >> 5) & 63) + (((old >> 5) & 63) >> shift);
    const uint32_t blue = (colour & 31) + ((old & 31) >> shift);
    return pack(std::min(red, 31u), std::min(green, 63u), std::min(blue, 31u));
}

// The channels of an anti-aliased line's colour, mixed into the picture with a weight of
// k / 64 against (63 - k) / 64 for the old pixel. The two parts never sum above a channel's
// maximum, so no saturation is needed.
struct SWuColour {
    uint32_t red, green, blue;

    explicit SWuColour(uint16_t colour)
        : red(colour >> 11), green((colour >> 5) & 63), blue(colour & 31) {}

    uint16_t mix(uint16_t old, uint32_t k) const {
        const uint32_t red0 = (red * k) >> 6, green0 = (green * k) >> 6, blue0 = (blue * k) >> 6;
        if (old == 0) return pack(red0, green0, blue0);  // a black background adds nothing
        const uint32_t keep = 63 - k;
        return pack(red0 + (((old >> 11) * keep) >> 6), green0 + ((((old >> 5) & 63) * keep) >> 6),
                    blue0 + (((old & 31) * keep) >> 6));
    }
};

// Blends columns from..to (inclusive) of row y; the range is clipped to the surface first.
void blendRow(int64_t y, int64_t from, int64_t to, uint16_t colour, int32_t shift,
              uint16_t* surface) {
    if (y < 0 || y >= kHeight) return;
    from = std::max<int64_t>(from, 0);
    to = std::min<int64_t>(to, kWidth - 1);
    uint16_t* row = surface + y * kWidth;
    for (int64_t x = from; x <= to; ++x) row[x] = addDimmed(row[x], colour, shift);
}

void blendColumn(int64_t x, int64_t from, int64_t to, uint16_t colour, int32_t shift,
                 uint16_t* surface) {
    if (x < 0 || x >= kWidth) return;
    from = std::max<int64_t>(from, 0);
    to = std::min<int64_t>(to, kHeight - 1);
    for (int64_t y = from; y <= to; ++y) {
        uint16_t& pixel = surface[y * kWidth + x];
        pixel = addDimmed(pixel, colour, shift);
    }
}

}  // namespace

void turnPoint(double x, double y, double cosine, double sine, int16_t out[2]) {
    const double px = x * 256.0, py = y * 256.0;
    out[0] = static_cast<int16_t>(std::trunc(px * cosine - py * sine));
    out[1] = static_cast<int16_t>(std::trunc(py * cosine + px * sine));
}

namespace {

// The angle as a whole number of quarter turns and a rest within an eighth of a turn either way.
double quarterTurns(double angle, int& quarters) {
    constexpr double kQuarter = std::numbers::pi / 2;
    quarters = static_cast<int>(std::floor(angle / kQuarter + 0.5)) & 3;
    return angle - std::floor(angle / kQuarter + 0.5) * kQuarter;
}

// The Taylor series of the sine (first = 3) or the cosine (first = 2) of |x| <= pi / 4, nested
// from its smallest term out: a few units in the last place, in operations that round alike on
// every machine.
double series(double x, int first) {
    const double x2 = x * x;
    double sum = 1.0;
    for (int n = first + 14; n >= first; n -= 2) sum = 1.0 - x2 / (n * (n - 1)) * sum;
    return first == 3 ? x * sum : sum;
}

}  // namespace

double turnSine(double angle) {
    int quarters = 0;
    const double rest = quarterTurns(angle, quarters);
    const double value = series(rest, quarters % 2 == 0 ? 3 : 2);
    return quarters < 2 ? value : -value;
}

double turnCosine(double angle) {
    int quarters = 0;
    const double rest = quarterTurns(angle, quarters);
    const double value = series(rest, quarters % 2 == 0 ? 2 : 3);
    return quarters == 0 || quarters == 3 ? value : -value;
}

void putPixel(int32_t x, int32_t y, uint16_t colour, uint16_t* surface) {
    if (onSurface(x, y)) surface[y * kWidth + x] = colour;
}

uint16_t getPixel(int32_t x, int32_t y, const uint16_t* surface) {
    return onSurface(x, y) ? surface[y * kWidth + x] : 0;
}

void blendPixel(int32_t x, int32_t y, uint16_t colour, int32_t shift, uint16_t* surface) {
    if (!onSurface(x, y)) return;
    uint16_t& pixel = surface[y * kWidth + x];
    pixel = addDimmed(pixel, colour, shift);
}

void drawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint16_t colour, uint16_t* surface) {
    // The walk runs between the clamped endpoints but keeps the slope of the unclamped line, so
    // the minor axis may wander off the surface; putPixel drops those pixels. Differences are
    // taken in 64 bits because unclamped endpoints may lie anywhere.
    const int64_t dx = std::abs(static_cast<int64_t>(x1) - x0);
    const int64_t dy = std::abs(static_cast<int64_t>(y1) - y0);
    const int32_t stepX = x1 < x0 ? -1 : 1;
    const int32_t stepY = y1 < y0 ? -1 : 1;
    const int32_t endX = clampX(x1), endY = clampY(y1);
    int32_t x = clampX(x0), y = clampY(y0);
    putPixel(x, y, colour, surface);
    if (dy < dx) {
        int64_t error = 2 * dy - dx;
        while (x != endX) {
            if (error >= 0) {
                y += stepY;
                error -= 2 * dx;
            }
            x += stepX;
            putPixel(x, y, colour, surface);
            error += 2 * dy;
        }
    } else {
        int64_t error = 2 * dx - dy;
        while (y != endY) {
            y += stepY;
            if (error >= 0) {
                x += stepX;
                error -= 2 * dy;
            }
            putPixel(x, y, colour, surface);
            error += 2 * dx;
        }
    }
}

void drawLineAA(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint16_t colour,
                uint16_t* surface) {
    x0 = clampX(x0);
    x1 = clampX(x1);
    y0 = clampY(y0);
    y1 = clampY(y1);
    if (y0 > y1) {  // always walk downward
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    // With both endpoints on the surface every pixel below lies between them (the second pixel
    // of a pair at most reaches the end column or row), so no pixel needs clipping.
    uint16_t* pixel = surface + y0 * kWidth + x0;
    *pixel = colour;
    const int32_t xdir = x1 >= x0 ? 1 : -1;
    const int32_t dx = std::abs(x1 - x0);
    const int32_t dy = y1 - y0;

    // Horizontal, vertical and diagonal lines need no blending.
    if (dy == 0) {
        for (int32_t i = 0; i < dx; ++i) *(pixel += xdir) = colour;
        return;
    }
    if (dx == 0) {
        for (int32_t i = 0; i < dy; ++i) *(pixel += kWidth) = colour;
        return;
    }
    if (dx == dy) {
        for (int32_t i = 0; i < dy; ++i) *(pixel += kWidth + xdir) = colour;
        return;
    }

    // The 16-bit accumulator holds the fraction of a pixel the line has drifted along the minor
    // axis; a wrap means a whole pixel, and its top six bits split the colour between the two
    // pixels straddling the line.
    const SWuColour wu(colour);
    uint16_t acc = 0;
    if (dy > dx) {
        const auto adj = static_cast<uint16_t>((static_cast<uint32_t>(dx) << 16) / dy);
        for (int32_t i = 1; i < dy; ++i) {
            const auto next = static_cast<uint16_t>(acc + adj);
            if (next <= acc) pixel += xdir;
            pixel += kWidth;
            acc = next;
            const uint32_t w = acc >> 10;
            pixel[0] = wu.mix(pixel[0], 63 - w);
            pixel[xdir] = wu.mix(pixel[xdir], w);
        }
    } else {
        const auto adj = static_cast<uint16_t>((static_cast<uint32_t>(dy) << 16) / dx);
        for (int32_t i = 1; i < dx; ++i) {
            const auto next = static_cast<uint16_t>(acc + adj);
            if (next <= acc) pixel += kWidth;
            pixel += xdir;
            acc = next;
            const uint32_t w = acc >> 10;
            pixel[0] = wu.mix(pixel[0], 63 - w);
            pixel[kWidth] = wu.mix(pixel[kWidth], w);
        }
    }
    surface[y1 * kWidth + x1] = colour;
}

void drawCircle(int32_t cx, int32_t cy, int32_t radius, uint16_t colour, uint16_t* surface) {
    putPixel(cx, cy + radius, colour, surface);
    putPixel(cx, cy - radius, colour, surface);
    putPixel(cx + radius, cy, colour, surface);
    putPixel(cx - radius, cy, colour, surface);
    // Midpoint walk over one eighth of the circle, from the top going right; the other seven
    // are mirrored. The decision term starts at (5 - 4r) / 4 rounded down.
    int32_t x = 1, y = radius;
    int64_t d = (5 - 4 * static_cast<int64_t>(radius)) >> 2;
    while (x - 1 < y) {
        const bool inside = d < 0;
        const int32_t nextY = inside ? y : y - 1;
        if (x < nextY) {
            putPixel(cx + x, cy + nextY, colour, surface);
            putPixel(cx - x, cy + nextY, colour, surface);
            putPixel(cx + x, cy - nextY, colour, surface);
            putPixel(cx - x, cy - nextY, colour, surface);
            putPixel(cx + nextY, cy + x, colour, surface);
            putPixel(cx - nextY, cy + x, colour, surface);
            putPixel(cx + nextY, cy - x, colour, surface);
            putPixel(cx - nextY, cy - x, colour, surface);
        } else if (x == nextY) {  // the diagonal: the eight points fall on four pixels
            putPixel(cx + nextY, cy + nextY, colour, surface);
            putPixel(cx - nextY, cy + nextY, colour, surface);
            putPixel(cx + nextY, cy - nextY, colour, surface);
            putPixel(cx - nextY, cy - nextY, colour, surface);
        }
        d += 2 * x + (inside ? 1 : 4 - 2 * static_cast<int64_t>(y));
        ++x;
        y = nextY;
    }
}

void fillRectBlend(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour, int32_t shift,
                   uint16_t* surface) {
    if (w <= 0 || h <= 0) return;
    const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + h, kHeight);
    for (int64_t row = std::max(y, 0); row < bottom; ++row)
        blendRow(row, x, static_cast<int64_t>(x) + w - 1, colour, shift, surface);
}

void fillRectBlendCentred(int32_t cx, int32_t cy, int32_t w, int32_t h, uint16_t colour,
                          int32_t shift, uint16_t* surface) {
    fillRectBlend(cx - w / 2, cy - h / 2, w, h, colour, shift, surface);
}

void drawRectBlend(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour, int32_t shift,
                   uint16_t* surface) {
    // Each pixel's blends do not depend on its neighbours, so the outline is done side by side.
    const int64_t right = static_cast<int64_t>(x) + w - 1;
    const int64_t bottom = static_cast<int64_t>(y) + h - 1;
    blendRow(y, x, right, colour, shift, surface);
    blendRow(bottom, x, right, colour, shift, surface);
    blendColumn(x, static_cast<int64_t>(y) + 1, bottom - 1, colour, shift, surface);
    blendColumn(right, static_cast<int64_t>(y) + 1, bottom - 1, colour, shift, surface);
}

void drawRectBlendCentred(int32_t cx, int32_t cy, int32_t w, int32_t h, uint16_t colour,
                          int32_t shift, uint16_t* surface) {
    drawRectBlend(cx - w / 2, cy - h / 2, w, h, colour, shift, surface);
}

void drawPanel(int32_t cx, int32_t cy, int32_t w, int32_t h, uint16_t border, uint16_t fill,
               uint16_t* surface) {
    drawRectBlendCentred(cx, cy, w, h, border, 3, surface);
    drawRectBlendCentred(cx, cy, w - 2, h - 2, border, 3, surface);
    fillRectBlendCentred(cx, cy, w - 4, h - 4, fill, 3, surface);
}
