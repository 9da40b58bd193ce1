#include "effects/ParticleSystem.h"

#include <algorithm>

#include "platform/Platform.h"
#include "render/Draw.h"
#include "state/GameReport.h"
#include "state/Random.h"

CParticleSystem::CParticleSystem(int32_t x, int32_t y, int32_t requestedSizeClass, bool implodes,
                                 const uint16_t from[4])
    : colours{from[0], from[1], from[2], from[3]}, implode(implodes) {
    const int32_t sizeClass = std::clamp(requestedSizeClass, 0, kLargestSizeClass);
    particleCount = 1 << (sizeClass + 3);
    lifetime = 1 << (sizeClass + 4);
    spreadShift = sizeClass + 4;
    fadeShift = sizeClass + 1;
    CGameReport::instance().effectStarted(EEffectClass::kParticles);
    for (int32_t i = 0; i < particleCount; ++i) {
        SParticle& p = particles[i];
        p.colour = colours[i % 4];
        p.implode = implode;
        p.x = x * 32;
        p.y = y * 32;
        // Four draws per particle, in this order.
        p.vx = gameRand() % 32;
        p.vy = gameRand() % 32;
        if (gameRand() & 1) p.vx = -p.vx;
        if (gameRand() & 1) p.vy = -p.vy;
        p.redTarget = (p.colour >> 11) * 32;
        p.greenTarget = p.colour & 0x07E0;
        p.blueTarget = (p.colour & 31) * 32;
        if (implode) {
            // Start where the particle would be at the end, and fly back.
            p.x += p.vx * (1 << spreadShift);
            p.y += p.vy * (1 << spreadShift);
            p.vx = -p.vx;
            p.vy = -p.vy;
        }
    }
}

void CParticleSystem::update() {
    if (++age == lifetime) {
        done = true;
        return;
    }
    for (int32_t i = 0; i < particleCount; ++i) {
        particles[i].x += particles[i].vx;
        particles[i].y += particles[i].vy;
    }
}

namespace {

// The four arms of a particle fade by the same shift toward the same colour: all four at once,
// in vector lanes where the compiler has them.
using SFour = int32_t __attribute__((vector_size(16)));

inline void fadeArms(uint16_t* centre, int32_t shift, const SParticle& p) {
    uint16_t* const arm[4] = {centre + kScreenWidth, centre - 1, centre + 1, centre - kScreenWidth};
    const SFour old = {arm[0][0], arm[1][0], arm[2][0], arm[3][0]};
    const SFour packed = fadeColour(old, shift, p.redTarget, p.greenTarget, p.blueTarget);
    for (int i = 0; i < 4; ++i) arm[i][0] = static_cast<uint16_t>(packed[i]);
}

}  // namespace

void CParticleSystem::draw(uint16_t* surface) {
    // Faint at the edges of the life: 0 in the first quarter, 1 in the middle half, 2 in the last
    // quarter; the other way round for an implosion.
    int32_t f = (age >> fadeShift) >> 1;
    if (f > 1) f -= 1;
    // The last draw, at the full age, would give an implosion a fade of -1: its particles are
    // home by then and shown at full strength.
    if (implode) f = f > 2 ? 0 : 2 - f;
    for (int32_t i = 0; i < particleCount; ++i) {
        const SParticle& p = particles[i];
        const int32_t px = p.x >> 5, py = p.y >> 5;
        if (px >= 1 && px <= kScreenWidth - 2 && py >= 1 && py <= kScreenHeight - 2) {
            // Wholly on the surface: no pixel needs its own test.
            uint16_t* centre = surface + py * kScreenWidth + px;
            fadeArms(centre, f + 1, p);
            fadePixel(centre[0], f, p.redTarget, p.greenTarget, p.blueTarget);
            continue;
        }
        fadePixelToward(px, py + 1, f + 1, surface, p.redTarget, p.greenTarget, p.blueTarget);
        fadePixelToward(px - 1, py, f + 1, surface, p.redTarget, p.greenTarget, p.blueTarget);
        fadePixelToward(px, py, f, surface, p.redTarget, p.greenTarget, p.blueTarget);
        fadePixelToward(px + 1, py, f + 1, surface, p.redTarget, p.greenTarget, p.blueTarget);
        fadePixelToward(px, py - 1, f + 1, surface, p.redTarget, p.greenTarget, p.blueTarget);
    }
}
