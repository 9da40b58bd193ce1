#pragma once
// A floating-point picture for painting the title: colours in 0..1, composed back to front, and
// only at the end reduced to the handheld's RGB565 with an ordered dither so that the glows and
// gradients do not band.

#include <string>
#include <vector>

struct SColour {
    float r = 0, g = 0, b = 0;
};

inline SColour operator*(SColour c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}
inline SColour operator+(SColour a, SColour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline SColour mix(SColour a, SColour b, float t) {
    return a * (1 - t) + b * t;
}
// #RRGGBB as a colour.
SColour hex(unsigned rgb);

// A one-channel map the size of the picture: coverage masks and blurred glows.
struct SMap {
    int width = 0, height = 0;
    std::vector<float> v;

    SMap(int w, int h) : width(w), height(h), v(static_cast<size_t>(w * h), 0.0f) {}
    float& at(int x, int y) { return v[static_cast<size_t>(y * width + x)]; }
    float get(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0;
        return v[static_cast<size_t>(y * width + x)];
    }
};

// A Gaussian blur of the map with the given radius (standard deviation) in pixels.
SMap blurred(const SMap& m, float sigma);
// The map moved by (dx, dy) whole pixels.
SMap shifted(const SMap& m, int dx, int dy);

class CCanvas {
public:
    CCanvas(int w, int h) : width(w), height(h), px(static_cast<size_t>(w * h)) {}

    SColour& at(int x, int y) { return px[static_cast<size_t>(y * width + x)]; }
    // Paints colour c over the picture with the map as its coverage.
    void cover(const SMap& m, SColour c);
    // Adds light: colour c scaled by the map.
    void glow(const SMap& m, SColour c);

    // Writes a P6 PPM whose every pixel is an exact RGB565 colour. False when it cannot.
    bool writePpm(const std::string& path) const;

    const int width, height;

private:
    std::vector<SColour> px;
};
