#pragma once
// Filled outlines, rasterised with anti-aliasing into coverage maps: the letters of the logo
// and the lightning bolt behind it.

#include <vector>

#include "Canvas.h"

struct SPoint {
    float x, y;
};

// One or more closed contours filled by the even-odd rule, so an inner contour cuts a hole.
using SShape = std::vector<std::vector<SPoint>>;

// Where a shape lands on the picture: scaled by `scale`, placed with its origin at (x, y) and
// slanted by `slant` pixels to the right per pixel upward (italics).
struct SPlacement {
    float x, y, scale, slant, baseline;
};

// Adds the coverage of the placed shape to the map (sixteen samples a pixel; the map saturates
// at 1 where shapes overlap).
void fillShape(SMap& m, const SShape& shape, const SPlacement& at);
