#pragma once
// Writes RGB565 pictures as PNG files (screenshots, frame dumps, contact sheets).

#include <cstdint>
#include <string>

// Writes a width x height RGB565 picture (row-major, stride = width), each pixel enlarged to
// scale x scale. Returns false, with a one-line reason in `error`, when the file cannot be written.
bool writePng(const std::string& path, const uint16_t* pixels, int width, int height, int scale,
              std::string& error);

// RGB565 to 8-bit channels, replicating the top bits so that white stays 255.
inline void rgb565ToRgb8(uint16_t c, uint8_t out[3]) {
    const unsigned r = c >> 11, g = (c >> 5) & 63, b = c & 31;
    out[0] = static_cast<uint8_t>((r << 3) | (r >> 2));
    out[1] = static_cast<uint8_t>((g << 2) | (g >> 4));
    out[2] = static_cast<uint8_t>((b << 3) | (b >> 2));
}
