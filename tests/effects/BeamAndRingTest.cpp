#include <gtest/gtest.h>

#include "effects/EShockwave.h"
#include "effects/EffectManager.h"
#include "effects/Laser.h"
#include "effects/ParticleSystem.h"
#include "render/Screen.h"
#include "support/GameTest.h"

namespace {

class BeamAndRingTest : public CGameTest {
protected:
    uint16_t pixel(int x, int y) const { return CScreen::instance().surface()[y * 320 + x]; }
    // One pass of the manager on a cleared surface.
    void pass() {
        CScreen::instance().clear();
        CEffectManager::instance().updateAndDraw();
    }
};

TEST_F(BeamAndRingTest, ABeamShowsInElevenPassesTwoPixelsWide) {
    auto* beam = new CLaser(0x001F);
    beam->x = 50;
    beam->y = 40;
    beam->width = 2;
    beam->height = 30;  // vertical
    CEffectManager::instance().add(beam);
    for (int i = 0; i < 11; ++i) {
        pass();
        ASSERT_EQ(pixel(51, 70), 0x001F) << "pass " << i;
        ASSERT_EQ(pixel(50, 40), 0x001F);
        ASSERT_EQ(pixel(52, 50), 0);
    }
    EXPECT_EQ(CEffectManager::instance().count(), 0u);
    pass();
    EXPECT_EQ(pixel(50, 50), 0);
    // A vertical beam that happens to be 2 high is drawn as a horizontal pair.
    auto* stub = new CLaser(0x001F);
    stub->x = 100;
    stub->y = 100;
    stub->width = 2;
    stub->height = 2;
    CEffectManager::instance().add(stub);
    pass();
    EXPECT_EQ(pixel(102, 100), 0x001F);
    EXPECT_EQ(pixel(100, 102), 0);
}

TEST_F(BeamAndRingTest, AnExplosionRingGrowsFadesAndEndsOnItsEighteenthUpdate) {
    for (const uint16_t colour : {uint16_t{0xFFE0}, uint16_t{0xF800}}) {
        auto* ring = new CEShockwave(160, 120, 20, 8, colour);
        EXPECT_EQ(ring->fadeStart, 88u);
        EXPECT_EQ(ring->redStep, 104);
        CEffectManager::instance().add(ring);
        pass();  // radius 3 and 4 pixels, still in full colour
        EXPECT_EQ(pixel(163, 120), colour);
        EXPECT_EQ(pixel(164, 120), colour);
        EXPECT_EQ(pixel(165, 120), 0);
        for (int update = 2; update < 18; ++update) {
            pass();
            ASSERT_EQ(CEffectManager::instance().count(), 1u);
        }
        pass();  // the 18th: drawn at 20 and 21 pixels in what is left of red, then done
        EXPECT_EQ(CEffectManager::instance().count(), 0u);
        EXPECT_EQ(pixel(180, 120), 0x0800);
        EXPECT_EQ(pixel(181, 120), 0x0800);
    }
}

TEST_F(BeamAndRingTest, APassGoesOnPastAnEffectThatEndsInTheMiddle) {
    CEffectManager& effects = CEffectManager::instance();
    constexpr uint16_t kRed[4] = {0xF800, 0xF800, 0xF800, 0xF800};
    effects.spawnParticles(20, 20, 0, false, kRed);
    auto* ending = new CLaser(0x07E0);
    ending->lifetime = 0;  // done at its first update
    ending->width = 10;
    ending->height = 2;
    effects.add(ending);
    effects.spawnParticles(200, 200, 0, false, kRed);
    pass();
    ASSERT_EQ(effects.count(), 2u);
    EXPECT_EQ(static_cast<const CParticleSystem*>(effects.at(0))->age, 1);
    EXPECT_EQ(static_cast<const CParticleSystem*>(effects.at(1))->age, 1);
    EXPECT_EQ(pixel(5, 0), 0x07E0);  // drawn once more in the pass that ended it
}

TEST_F(BeamAndRingTest, ASizeClassBeyondTheLargestIsTakenAsTheLargest) {
    constexpr uint16_t kRed[4] = {0xF800, 0xF800, 0xF800, 0xF800};
    const CParticleSystem big(10, 10, 9, false, kRed);
    EXPECT_EQ(big.particleCount, CParticleSystem::kMaxParticles);
    EXPECT_EQ(big.lifetime, 64);
    const CParticleSystem small(10, 10, -3, false, kRed);
    EXPECT_EQ(small.particleCount, 8);
}

}  // namespace
