#pragma once
// A bitmap of the image bank: RGB565 pixels, row-major, rows following each other directly.

#include <cstdint>

struct SImage {
    int32_t width;
    int32_t height;
    const uint16_t* pixels;
};
