#pragma once
// A burst of particles from one point: each a five-pixel plus sign that tints what lies beneath
// toward its colour, fading over the burst's life. Particles fly straight at a constant speed;
// an imploding burst starts them outside and brings them all home on its last update.

#include <cstdint>

#include "effects/Effect.h"

struct SParticle {
    int32_t x, y;    // 1/32 pixel
    int32_t vx, vy;  // 1/32 pixel per update
    uint16_t colour;
    int32_t redTarget, greenTarget, blueTarget;  // the colour as fadePixelToward wants it
    bool implode;
};

class CParticleSystem : public CEffect {
public:
    static constexpr int32_t kLargestSizeClass = 2;
    static constexpr int32_t kMaxParticles = 1 << (kLargestSizeClass + 3);

    // Makes the particles at pixel (x, y), drawing four random numbers for each. A size class
    // outside 0..2 is taken as the nearest one.
    CParticleSystem(int32_t x, int32_t y, int32_t sizeClass, bool implode,
                    const uint16_t colours[4]);

    void update() override;
    void draw(uint16_t* surface) override;

    int32_t particleCount;  // 2^(sizeClass + 3)
    int32_t lifetime;       // 2^(sizeClass + 4) updates
    int32_t age = 0;
    int32_t spreadShift;  // sizeClass + 4
    int32_t fadeShift;    // sizeClass + 1
    uint16_t colours[4];
    bool implode;
    SParticle particles[kMaxParticles];
};
