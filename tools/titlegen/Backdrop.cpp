#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "Paint.h"

void paintSky(CCanvas& c) {
    const SColour top = hex(0x02010A), low = hex(0x1A0B3C);
    for (int y = 0; y < c.height; ++y) {
        const float t = std::clamp(static_cast<float>(y) / kHorizon, 0.0f, 1.0f);
        const SColour sky = mix(top, low, t * t);
        for (int x = 0; x < c.width; ++x) c.at(x, y) = sky;
    }
    CNoise noise(1985);
    const SColour tints[3] = {hex(0xFFFFFF), hex(0xB8D0FF), hex(0xFFE8C0)};
    for (int i = 0; i < 170; ++i) {
        const int x = static_cast<int>(noise.range(0, static_cast<float>(c.width)));
        const int y = static_cast<int>(noise.range(0, kHorizon - 6));
        const float u = noise.unit();
        const float bright = 0.15f + 0.85f * u * u * u;
        const SColour tint = tints[noise.next() % 3];
        // Fainter toward the horizon, where the haze is.
        const float haze = 1.0f - 0.6f * static_cast<float>(y) / kHorizon;
        c.at(x, y) = c.at(x, y) + tint * (bright * haze);
        if (bright > 0.8f) {  // the brightest few flare into little crosses
            const SColour arm = tint * (0.35f * haze);
            if (x > 0) c.at(x - 1, y) = c.at(x - 1, y) + arm;
            if (x + 1 < c.width) c.at(x + 1, y) = c.at(x + 1, y) + arm;
            if (y > 0) c.at(x, y - 1) = c.at(x, y - 1) + arm;
            c.at(x, y + 1) = c.at(x, y + 1) + arm;
        }
    }
}

namespace {

// How much of the floor point (u, v) lies on a maze wall: walls run along the cell edges, a
// cell having its west and north walls by a fixed random pattern.
float wallAt(float u, float v) {
    constexpr float half = 0.07f;
    const float fu = u - std::floor(u), fv = v - std::floor(v);
    const int32_t i = static_cast<int32_t>(std::floor(u)), j = static_cast<int32_t>(std::floor(v));
    const uint32_t h = cellHash(i, j);
    // Every wall runs the full edge plus the corner post, so the maze stays joined up.
    if (fu < half && (h & 1)) return 1;
    if (fv < half && (h & 2)) return 1;
    if (fu > 1 - half && (cellHash(i + 1, j) & 1)) return 1;
    if (fv > 1 - half && (cellHash(i, j + 1) & 2)) return 1;
    const bool corner = (fu < half || fu > 1 - half) && (fv < half || fv > 1 - half);
    return corner ? 1.0f : 0.0f;
}

}  // namespace

void paintFloor(CCanvas& c) {
    const SColour floorNear = hex(0x000000), floorFar = hex(0x12062A);
    const SColour line = hex(0xFF38C8), hot = hex(0xFFB040);
    constexpr float depth = 56;  // picture rows from the horizon to the first cell's far edge
    constexpr float focal = 46;
    for (int y = static_cast<int>(kHorizon); y < c.height; ++y) {
        const float below = static_cast<float>(y) - kHorizon;
        const float fade = std::exp(-below / 12.0f);
        const SColour base = mix(floorNear, floorFar, fade);
        for (int x = 0; x < c.width; ++x) {
            float wall = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const float py = below + (static_cast<float>(sy) + 0.5f) / 4;
                    const float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / 4;
                    const float z = depth / py;
                    const float u = (px - static_cast<float>(c.width) / 2) * z / focal;
                    wall += wallAt(u + 0.5f, z + 0.3f);
                }
            wall /= 16;
            // Lines melt into a glow toward the horizon, where they are too fine to draw.
            const float distance = std::clamp(below / 9.0f, 0.0f, 1.0f);
            const float strength = wall * fade * distance * 1.3f;
            c.at(x, y) = base + mix(hot, line, distance) * strength;
        }
    }
    // The horizon line and its glow, above and below.
    for (int y = 0; y < c.height; ++y) {
        const float d = std::fabs(static_cast<float>(y) - kHorizon);
        const float g = 0.9f * std::exp(-d * d / 2.0f) + 0.25f * std::exp(-d / 7.0f);
        for (int x = 0; x < c.width; ++x) {
            const float across =
                std::fabs(static_cast<float>(x) - static_cast<float>(c.width) / 2) /
                (static_cast<float>(c.width) / 2);
            const float k = g * (1.0f - 0.55f * across * across);
            c.at(x, y) = c.at(x, y) + mix(hex(0xFF4A9A), hex(0xFF2060), across) * k;
        }
    }
}
