#pragma once
// One image of the bank as the image compiler holds it: RGB565 pixels, row-major, and where it
// was defined so that every complaint can point at the line to fix.

#include <cstdint>
#include <string>
#include <vector>

struct SSprite {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint16_t> pixels;  // width * height, row-major
    std::string name;              // the name after the index, kept as a comment in the output
    std::string file;              // where the image was defined
    int line = 0;                  // line of its "image" header; 0 for a picture file
    bool defined = false;

    // "file:line" (or just the file for a picture), for messages.
    std::string origin() const { return line > 0 ? file + ":" + std::to_string(line) : file; }
};

// Rearrangements used to derive one facing from another. Each returns a new picture and leaves
// the origin, name and file alone.
SSprite mirrored(const SSprite& s);         // left and right swapped
SSprite flipped(const SSprite& s);          // top and bottom swapped
SSprite turnedClockwise(const SSprite& s);  // a quarter turn clockwise: width and height swap
SSprite turnedAnticlockwise(const SSprite& s);
SSprite turnedHalf(const SSprite& s);  // half a turn: mirrored and flipped
