#include "actors/Explosion.h"

#include "actors/Player.h"
#include "effects/EShockwave.h"
#include "effects/EffectManager.h"
#include "world/ActorSet.h"
#include "world/World.h"

namespace {

constexpr int32_t kBlastRadius = 2;  // tiles each way
constexpr int32_t kRingRadius = 20;  // pixels
constexpr int32_t kRingSpeed = 8;    // 1/8 pixel per update

// Blasts set off blasts; each depth of a chain gathers into its own set, kept from one
// explosion to the next so that, once grown, gathering allocates nothing.
constexpr int kKeptDepths = 16;
CActorSet gVictims[kKeptDepths];
int gDepth = 0;

void hitAll(CGameObject& source, const CActorSet& victims) {
    for (CGameObject* victim : victims)
        if (!victim->dead && victim->shieldTimer == 0) victim->takeDamage(source);
}

}  // namespace

void addShockwave(const CGameObject& source, uint16_t colour) {
    CEffectManager::instance().add(
        new CEShockwave((source.x >> 3) + 4, (source.y >> 3) + 4, kRingRadius, kRingSpeed, colour));
}

void blastAround(CGameObject& source) {
    const CWorld& world = CWorld::instance();
    if (gDepth >= kKeptDepths) {
        CActorSet victims;
        world.collectInSquare(source.x >> 6, source.y >> 6, kBlastRadius, victims, true);
        hitAll(source, victims);
        return;
    }
    CActorSet& victims = gVictims[gDepth++];
    world.collectInSquare(source.x >> 6, source.y >> 6, kBlastRadius, victims, true);
    hitAll(source, victims);
    --gDepth;
}

void explode(CGameObject& source, int32_t killer, uint16_t ringColour) {
    CWorld& world = CWorld::instance();
    world.fileInCells(&source, source.prevX, source.prevY, true);
    world.fileInCells(&source, source.x, source.y, true);
    if (killer != 0)
        if (CPlayer* player = CPlayer::instance(killer)) player->addScore(source.scoreValue);
    addShockwave(source, ringColour);
    blastAround(source);
    CEffectManager::instance().spawnParticles((source.x >> 3) + 4, (source.y >> 3) + 4, 2, false,
                                              source.burstColours);
}
