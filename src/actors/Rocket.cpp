#include "actors/Rocket.h"

#include "actors/Explosion.h"
#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "sound/SoundManager.h"
#include "world/World.h"

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
    CWorld& world = CWorld::instance();
    world.fileInCells(this, prevX, prevY, true);
    world.fileInCells(this, x, y, true);
    if (killer != 0)
        if (CPlayer* player = CPlayer::instance(killer)) player->addScore(scoreValue);
    addShockwave(*this, kRingColour);
    blastAround(*this);
    CEffectManager::instance().spawnParticles((x >> 3) + 4, (y >> 3) + 4, 2, false, burstColours);
}
