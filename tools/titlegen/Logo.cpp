#include <algorithm>
#include <cmath>
#include <string>

#include "Letters.h"
#include "Paint.h"

namespace {

struct SWord {
    const char* text;
    float top;    // picture row of the letters' top
    float scale;  // pixels per letter unit
    float gap;    // letter units between letters
    SColour glow;
    // Face colours from top to bottom (chrome has a hard horizon halfway down).
    SColour stops[5];
    float at[5];
};

constexpr float kSlant = 0.16f;

SMap wordMask(const SWord& w, int width, int height) {
    SMap m(width, height);
    const float letters = static_cast<float>(std::string(w.text).size());
    float kerns = 0;
    for (const char* p = w.text; p[0] && p[1]; ++p) kerns += p[0] == 'L' ? 1.6f : 0.0f;
    const float span = (letters * kLetterWidth + (letters - 1) * w.gap - kerns) * w.scale;
    const float height_px = kLetterHeight * w.scale;
    float x = (static_cast<float>(width) - span - height_px * kSlant) / 2;
    for (const char* p = w.text; *p; ++p) {
        fillShape(m, letterShape(*p), {x, w.top, w.scale, kSlant, w.top + height_px});
        // An L leaves its upper right open: tuck the next letter in.
        const float kern = *p == 'L' ? 1.6f : 0.0f;
        x += (kLetterWidth + w.gap - kern) * w.scale;
    }
    return m;
}

SColour faceColour(const SWord& w, float t) {
    for (int i = 1; i < 5; ++i)
        if (t <= w.at[i])
            return mix(w.stops[i - 1], w.stops[i], (t - w.at[i - 1]) / (w.at[i] - w.at[i - 1]));
    return w.stops[4];
}

void paintWord(CCanvas& c, const SWord& w) {
    const SMap mask = wordMask(w, c.width, c.height);
    const float height_px = kLetterHeight * w.scale;

    // Glow first, so everything else sits in it.
    c.glow(blurred(mask, 6.0f), w.glow * 0.9f);
    c.glow(blurred(mask, 2.5f), w.glow * 0.6f);

    // The extruded sides, deepest first, going down and to the right.
    constexpr int depth = 5;
    for (int k = depth; k >= 1; --k) {
        const float t = static_cast<float>(k) / depth;
        c.cover(shifted(mask, k / 2 + 1, k), mix(hex(0x3A1670), hex(0x0C0424), t));
    }
    // A dark rim round the face.
    SMap rim = blurred(mask, 0.9f);
    for (float& v : rim.v) v = std::min(1.0f, v * 2.5f);
    c.cover(rim, hex(0x06020E));

    // The face: its gradient, lit along the upper-left edges and shaded along the lower-right.
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const float a = mask.get(x, y);
            if (a <= 0) continue;
            const float t =
                std::clamp((static_cast<float>(y) + 0.5f - w.top) / height_px, 0.0f, 1.0f);
            SColour face = faceColour(w, t);
            const float lit = a * (1 - mask.get(x - 1, y - 1));
            const float shade = a * (1 - mask.get(x + 1, y + 1));
            face = mix(face, hex(0xFFFFFF), 0.75f * lit);
            face = mix(face, hex(0x100828), 0.5f * shade);
            c.at(x, y) = mix(c.at(x, y), face, std::min(1.0f, a));
        }
}

// A four-pointed glint centred on (x, y).
void sparkle(CCanvas& c, int x, int y, int reach) {
    for (int d = -reach; d <= reach; ++d) {
        const float k = 1.0f - static_cast<float>(std::abs(d)) / static_cast<float>(reach + 1);
        const SColour add = hex(0xFFFFFF) * (k * k);
        c.at(x + d, y) = c.at(x + d, y) + add;
        if (d != 0) c.at(x, y + d) = c.at(x, y + d) + add;
    }
}

}  // namespace

void paintLogo(CCanvas& c) {
    const SWord bolt = {"BOLT",
                        8,
                        4.4f,
                        1.4f,
                        hex(0x1C6CFF),
                        {hex(0xFFFFFF), hex(0x70C8FF), hex(0x182A88), hex(0x3C70E8), hex(0xD8F8FF)},
                        {0, 0.5f, 0.52f, 0.62f, 1}};
    const SWord fever = {
        "FEVER",
        68,
        3.5f,
        1.3f,
        hex(0xFF3810),
        {hex(0xFFFAB0), hex(0xFFC828), hex(0xFF6A10), hex(0xE8202A), hex(0x900030)},
        {0, 0.3f, 0.55f, 0.8f, 1}};
    paintWord(c, bolt);
    paintWord(c, fever);
    sparkle(c, 76, 12, 5);
    sparkle(c, 243, 70, 4);
}
