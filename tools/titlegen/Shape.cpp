#include "Shape.h"

#include <algorithm>
#include <cmath>

namespace {

bool inside(const SShape& shape, float x, float y) {
    bool in = false;
    for (const auto& contour : shape) {
        const size_t n = contour.size();
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const SPoint& a = contour[i];
            const SPoint& b = contour[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
        }
    }
    return in;
}

}  // namespace

void fillShape(SMap& m, const SShape& shape, const SPlacement& at) {
    // Map every point to the picture once, then sample the picture-space outline.
    SShape placed = shape;
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (auto& contour : placed)
        for (SPoint& p : contour) {
            const float py = at.y + p.y * at.scale;
            p = {at.x + p.x * at.scale + (at.baseline - py) * at.slant, py};
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    const int x0 = std::max(0, static_cast<int>(std::floor(minX))),
              x1 = std::min(m.width - 1, static_cast<int>(std::ceil(maxX)));
    const int y0 = std::max(0, static_cast<int>(std::floor(minY))),
              y1 = std::min(m.height - 1, static_cast<int>(std::ceil(maxY)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits +=
                        inside(placed, static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / 4,
                               static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / 4);
            if (hits) m.at(x, y) = std::min(1.0f, m.at(x, y) + static_cast<float>(hits) / 16.0f);
        }
}
