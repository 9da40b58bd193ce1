#include "actors/Rocket.h"

#include "actors/Explosion.h"
#include "sound/SoundManager.h"

namespace {
constexpr uint16_t kColours[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xA000};
constexpr uint16_t kRingColour = 0xF800;
}  // namespace

CRocket::CRocket(int32_t px, int32_t py, int32_t direction, int32_t shotSpeed)
    : CBaseBullet(kKindRocket, px, py, direction, shotSpeed, kColours) {}

void CRocket::setup() {
    loadDirectionImages(89);
}

void CRocket::die(int32_t killer) {
    markDead(killer);
    CSoundManager::instance().playSampleAt(17, x >> 6, y >> 6, 1);
    explode(*this, killer, kRingColour);
}
