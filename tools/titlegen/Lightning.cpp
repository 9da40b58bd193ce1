#include <algorithm>
#include <cmath>
#include <vector>

#include "Noise.h"
#include "Paint.h"
#include "Shape.h"

namespace {

// A jagged stroke from a to b by midpoint displacement; `rough` is the sideways kick as a
// fraction of the length.
void fork(std::vector<SPoint>& out, SPoint a, SPoint b, float rough, int depth, CNoise& noise) {
    if (depth == 0) {
        out.push_back(b);
        return;
    }
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len = std::sqrt(dx * dx + dy * dy);
    const float kick = noise.range(-rough, rough) * len;
    const SPoint mid = {(a.x + b.x) / 2 - dy / len * kick, (a.y + b.y) / 2 + dx / len * kick};
    fork(out, a, mid, rough, depth - 1, noise);
    fork(out, mid, b, rough, depth - 1, noise);
}

// Stamps the strokes of a polyline into a map, anti-aliased, `width` pixels wide.
void stroke(SMap& m, const std::vector<SPoint>& pts, float width, float strength) {
    for (size_t i = 1; i < pts.size(); ++i) {
        const SPoint a = pts[i - 1], b = pts[i];
        const int x0 = std::max(0, static_cast<int>(std::min(a.x, b.x) - width - 1));
        const int x1 = std::min(m.width - 1, static_cast<int>(std::max(a.x, b.x) + width + 1));
        const int y0 = std::max(0, static_cast<int>(std::min(a.y, b.y) - width - 1));
        const int y1 = std::min(m.height - 1, static_cast<int>(std::max(a.y, b.y) + width + 1));
        const float dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy + 1e-6f;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                const float t = std::clamp(((px - a.x) * dx + (py - a.y) * dy) / len2, 0.0f, 1.0f);
                const float ex = a.x + t * dx - px, ey = a.y + t * dy - py;
                const float d = std::sqrt(ex * ex + ey * ey);
                const float cover = std::clamp(width / 2 + 0.5f - d, 0.0f, 1.0f) * strength;
                m.at(x, y) = std::max(m.at(x, y), cover);
            }
    }
}

struct SBolt {
    SPoint from, to;
    float width;
    int branches;
};

}  // namespace

void paintLightning(CCanvas& c) {
    CNoise noise(2005);
    SMap core(c.width, c.height);
    const SBolt bolts[] = {
        {{18, -4}, {70, 40}, 1.6f, 3},   {{300, -4}, {252, 46}, 1.6f, 3},
        {{150, -4}, {132, 14}, 1.2f, 1}, {{-4, 70}, {52, 92}, 1.2f, 2},
        {{324, 64}, {268, 96}, 1.2f, 2},
    };
    for (const SBolt& bolt : bolts) {
        std::vector<SPoint> main = {bolt.from};
        fork(main, bolt.from, bolt.to, 0.22f, 5, noise);
        stroke(core, main, bolt.width, 1.0f);
        for (int k = 0; k < bolt.branches; ++k) {
            // A thinner, fainter branch leaves the main stroke somewhere along its length.
            const SPoint start = main[2 + noise.next() % (main.size() - 4)];
            const float angle = std::atan2(bolt.to.y - bolt.from.y, bolt.to.x - bolt.from.x) +
                                noise.range(-0.9f, 0.9f);
            const float len = noise.range(12, 26);
            const SPoint end = {start.x + std::cos(angle) * len, start.y + std::sin(angle) * len};
            std::vector<SPoint> branch = {start};
            fork(branch, start, end, 0.3f, 4, noise);
            stroke(core, branch, 1.0f, 0.6f);
        }
    }
    c.glow(blurred(core, 7.0f), hex(0x2040FF) * 1.6f);
    c.glow(blurred(core, 2.2f), hex(0x40B0FF) * 1.4f);
    c.cover(core, hex(0xF0FAFF));
}
