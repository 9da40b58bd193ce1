#include "effects/EShockwave.h"

#include "render/Draw.h"
#include "state/GameReport.h"

CEShockwave::CEShockwave(int32_t cx, int32_t cy, int32_t maxRadiusPixels, int32_t growth,
                         uint16_t c)
    : centreX(cx),
      centreY(cy),
      speed(growth),
      maxRadius(maxRadiusPixels * 8),
      colour(c),
      red(static_cast<uint32_t>(c >> 11) * 32),
      green(c & 0x07E0u),
      blue(static_cast<uint32_t>(c & 31) * 32) {
    // The fade takes the second half of the growth. A ring too small to have one (never made by
    // the game) simply does not fade.
    const int32_t half = (maxRadiusPixels * 8 - 16) >> 1;
    const uint32_t divisor = half > 0 ? static_cast<uint32_t>(half) : UINT32_MAX;
    redStep = speed * static_cast<int32_t>(red / divisor);
    greenStep = speed * static_cast<int32_t>(green / divisor);
    blueStep = speed * static_cast<int32_t>(blue / divisor);
    fadeStart = static_cast<uint32_t>(half + 16);
    CGameReport::instance().effectStarted(EEffectClass::kShockwave);
}

void CEShockwave::update() {
    radius += static_cast<uint32_t>(speed);
    if (radius > fadeStart) {
        red -= static_cast<uint32_t>(redStep);
        green -= static_cast<uint32_t>(greenStep);
        blue -= static_cast<uint32_t>(blueStep);
    }
    if (radius >= static_cast<uint32_t>(maxRadius)) done = true;
}

void CEShockwave::draw(uint16_t* surface) {
    colour = static_cast<uint16_t>((green & ~31u) | ((red >> 5) << 11) | (blue >> 5));
    const int32_t r = static_cast<int32_t>(radius >> 3);
    drawCircle(centreX, centreY, r, colour, surface);
    drawCircle(centreX, centreY, r + 1, colour, surface);
}
