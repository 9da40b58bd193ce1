#include <gtest/gtest.h>

#include "effects/EffectManager.h"
#include "effects/ParticleSystem.h"
#include "render/Screen.h"
#include "support/GameTest.h"
#include "world/GameState.h"

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

}  // namespace
