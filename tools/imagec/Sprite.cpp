#include "Sprite.h"

namespace {

// Builds the picture of size w x h whose pixel (x, y) is pixel from(x, y) of s.
template <typename Map>
SSprite remap(const SSprite& s, int32_t w, int32_t h, Map from) {
    SSprite out;
    out.width = w;
    out.height = h;
    out.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            int32_t sx = 0, sy = 0;
            from(x, y, sx, sy);
            out.pixels[static_cast<size_t>(y * w + x)] =
                s.pixels[static_cast<size_t>(sy * s.width + sx)];
        }
    }
    return out;
}

}  // namespace

SSprite mirrored(const SSprite& s) {
    return remap(s, s.width, s.height, [&](int32_t x, int32_t y, int32_t& sx, int32_t& sy) {
        sx = s.width - 1 - x;
        sy = y;
    });
}

SSprite flipped(const SSprite& s) {
    return remap(s, s.width, s.height, [&](int32_t x, int32_t y, int32_t& sx, int32_t& sy) {
        sx = x;
        sy = s.height - 1 - y;
    });
}

// Turned clockwise, the source's left column becomes the top row, read bottom to top.
SSprite turnedClockwise(const SSprite& s) {
    return remap(s, s.height, s.width, [&](int32_t x, int32_t y, int32_t& sx, int32_t& sy) {
        sx = y;
        sy = s.height - 1 - x;
    });
}

SSprite turnedAnticlockwise(const SSprite& s) {
    return remap(s, s.height, s.width, [&](int32_t x, int32_t y, int32_t& sx, int32_t& sy) {
        sx = s.width - 1 - y;
        sy = x;
    });
}

SSprite turnedHalf(const SSprite& s) {
    return remap(s, s.width, s.height, [&](int32_t x, int32_t y, int32_t& sx, int32_t& sy) {
        sx = s.width - 1 - x;
        sy = s.height - 1 - y;
    });
}
