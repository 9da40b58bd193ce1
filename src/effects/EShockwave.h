#pragma once
// The ring of an explosion: a circle two pixels thick that grows from the blast and, in the second
// half of its growth, fades toward black.

#include <cstdint>

#include "effects/Effect.h"

class CEShockwave : public CEffect {
public:
    // Centre in pixels, final radius in pixels, growth in 1/8 pixel per update.
    CEShockwave(int32_t centreX, int32_t centreY, int32_t maxRadiusPixels, int32_t speed,
                uint16_t colour);

    void update() override;
    void draw(uint16_t* surface) override;

    int32_t centreX;
    int32_t centreY;
    int32_t speed;         // 1/8 pixel per update
    int32_t maxRadius;     // 1/8 pixel
    uint32_t radius = 16;  // 1/8 pixel
    uint16_t colour;       // the colour last drawn
    uint32_t fadeStart;    // radius after which the colour fades
    int32_t redStep;       // taken off the channels per fading update
    int32_t greenStep;     //
    int32_t blueStep;      //
    uint32_t red;          // red * 32
    uint32_t green;        // the green bits in place
    uint32_t blue;         // blue * 32
};
