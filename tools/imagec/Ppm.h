#pragma once
// Reads the binary PPM pictures (P6, 8 bits a channel) that the title generator writes.

#include <string>

#include "Sprite.h"

// Fills `out` with the picture at `path` converted to RGB565. False, with a one-line reason in
// `error`, when the file cannot be read or is not a P6 picture with a maximum value of 255.
bool readPpm(const std::string& path, SSprite& out, std::string& error);

// Nearest RGB565 colour of an 8-bit-a-channel colour.
uint16_t rgb565(unsigned r, unsigned g, unsigned b);
