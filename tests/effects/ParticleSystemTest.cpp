#include <gtest/gtest.h>

#include <cstring>

#include "effects/EffectManager.h"
#include "effects/ParticleSystem.h"
#include "render/Draw.h"
#include "render/Screen.h"
#include "state/GameState.h"
#include "support/GameTest.h"

namespace {

class ParticleSystemTest : public CGameTest {};

constexpr uint16_t kRed[4] = {0xF800, 0xF800, 0xF800, 0xF800};

TEST_F(ParticleSystemTest, ASmallBurstEndsOnItsSixteenthUpdateAndIsDrawnThenDeleted) {
    CEffectManager& effects = CEffectManager::instance();
    effects.spawnParticles(100, 100, 0, false, kRed);
    for (int i = 0; i < 15; ++i) effects.updateAndDraw();
    ASSERT_EQ(effects.count(), 1u);
    EXPECT_EQ(static_cast<const CParticleSystem*>(effects.at(0))->age, 15);
    CScreen::instance().clear();
    effects.updateAndDraw();
    EXPECT_EQ(effects.count(), 0u);
    // Drawn in its last pass: something of it is on the surface.
    const uint16_t* surface = CScreen::instance().surface();
    bool drawn = false;
    for (int i = 0; i < kScreenPixels; ++i) drawn = drawn || surface[i] != 0;
    EXPECT_TRUE(drawn);
}

TEST_F(ParticleSystemTest, AnImplosionEndsAtItsPointInFullColour) {
    CEffectManager& effects = CEffectManager::instance();
    effects.spawnParticles(50, 60, 1, true, kRed);
    for (int i = 0; i < 31; ++i) effects.updateAndDraw();
    CScreen::instance().clear();
    effects.updateAndDraw();  // the 32nd update ends it; every particle is home
    EXPECT_EQ(effects.count(), 0u);
    EXPECT_EQ(CScreen::instance().surface()[60 * 320 + 50], 0xF800);
}

TEST_F(ParticleSystemTest, AnOpenMenuFreezesEffectsButStillDrawsThem) {
    CEffectManager& effects = CEffectManager::instance();
    effects.spawnParticles(100, 100, 0, false, kRed);
    CGameState::instance().menuOpen = true;
    for (int i = 0; i < 40; ++i) effects.updateAndDraw();
    ASSERT_EQ(effects.count(), 1u);
    EXPECT_EQ(static_cast<const CParticleSystem*>(effects.at(0))->age, 0);
}

TEST_F(ParticleSystemTest, BurstsOverAnyBackgroundFadeEveryPixelAsThePixelOperationDoes) {
    // The drawing takes short cuts on the surface's inside; over a noisy background, at every
    // age and near the edges, it must come out as the plain five fades per particle.
    static uint16_t fast[kScreenPixels], plain[kScreenPixels];
    uint32_t noise = 12345;
    for (int i = 0; i < kScreenPixels; ++i) {
        noise = noise * 1103515245u + 12345u;
        fast[i] = plain[i] = static_cast<uint16_t>(noise >> 16);
    }
    const uint16_t colours[4] = {0xF800, 0x07E0, 0x001F, 0xFFFF};
    for (const bool implode : {false, true}) {
        for (const int32_t x : {1, 160, 318}) {
            CParticleSystem burst(x, 120, 2, implode, colours);
            for (int32_t age = 0; age < burst.lifetime; ++age) {
                burst.draw(fast);
                int32_t f = (burst.age >> burst.fadeShift) >> 1;
                if (f > 1) f -= 1;
                if (implode) f = f > 2 ? 0 : 2 - f;
                for (int32_t i = 0; i < burst.particleCount; ++i) {
                    const SParticle& p = burst.particles[i];
                    const int32_t px = p.x >> 5, py = p.y >> 5;
                    const int32_t at[5][3] = {{px, py + 1, f + 1},
                                              {px - 1, py, f + 1},
                                              {px, py, f},
                                              {px + 1, py, f + 1},
                                              {px, py - 1, f + 1}};
                    for (const auto& a : at)
                        fadePixelToward(a[0], a[1], a[2], plain, p.redTarget, p.greenTarget,
                                        p.blueTarget);
                }
                ASSERT_EQ(std::memcmp(fast, plain, sizeof fast), 0)
                    << "x " << x << " age " << age << (implode ? " implosion" : "");
                burst.update();
            }
        }
    }
}

}  // namespace
