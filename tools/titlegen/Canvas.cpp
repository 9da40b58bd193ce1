#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

SColour hex(unsigned rgb) {
    return {static_cast<float>(rgb >> 16 & 255) / 255.0f,
            static_cast<float>(rgb >> 8 & 255) / 255.0f, static_cast<float>(rgb & 255) / 255.0f};
}

SMap blurred(const SMap& m, float sigma) {
    const int radius = static_cast<int>(std::ceil(sigma * 3));
    std::vector<float> kernel(static_cast<size_t>(2 * radius + 1));
    float sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += kernel[static_cast<size_t>(i + radius)] =
            std::exp(-0.5f * static_cast<float>(i * i) / (sigma * sigma));
    for (float& k : kernel) k /= sum;
    SMap across(m.width, m.height), out(m.width, m.height);
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            float s = 0;
            for (int i = -radius; i <= radius; ++i)
                s += m.get(x + i, y) * kernel[static_cast<size_t>(i + radius)];
            across.at(x, y) = s;
        }
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            float s = 0;
            for (int i = -radius; i <= radius; ++i)
                s += across.get(x, y + i) * kernel[static_cast<size_t>(i + radius)];
            out.at(x, y) = s;
        }
    return out;
}

SMap shifted(const SMap& m, int dx, int dy) {
    SMap out(m.width, m.height);
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) out.at(x, y) = m.get(x - dx, y - dy);
    return out;
}

void CCanvas::cover(const SMap& m, SColour c) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float a = std::clamp(m.get(x, y), 0.0f, 1.0f);
            if (a > 0) at(x, y) = mix(at(x, y), c, a);
        }
}

void CCanvas::glow(const SMap& m, SColour c) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float a = m.get(x, y);
            if (a > 0) at(x, y) = at(x, y) + c * a;
        }
}

bool CCanvas::writePpm(const std::string& path) const {
    // A 4 x 4 Bayer matrix spreads each channel's rounding error over the picture.
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const SColour& c = px[static_cast<size_t>(y * width + x)];
            const float d = (static_cast<float>(kBayer[y & 3][x & 3]) + 0.5f) / 16.0f;
            auto channel = [d](float v, int levels) {
                const float scaled = std::clamp(v, 0.0f, 1.0f) * static_cast<float>(levels - 1);
                const int q = std::min(levels - 1, static_cast<int>(scaled + d));
                // Expand back to 8 bits the way the game's PNG writer does.
                return levels == 32 ? (q << 3 | q >> 2) : (q << 2 | q >> 4);
            };
            unsigned char* p = &row[static_cast<size_t>(x) * 3];
            p[0] = static_cast<unsigned char>(channel(c.r, 32));
            p[1] = static_cast<unsigned char>(channel(c.g, 64));
            p[2] = static_cast<unsigned char>(channel(c.b, 32));
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    return std::fclose(f) == 0;
}
