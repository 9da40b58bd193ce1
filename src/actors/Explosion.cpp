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

// A shielded victim shrugs the blast off in its own takeDamage.
void hitAll(CGameObject& source, const CActorSet& victims) {
    for (CGameObject* victim : victims)
        if (!victim->dead) victim->takeDamage(source);
}

}  // namespace

void addShockwave(const CGameObject& source, uint16_t colour) {
    CEffectManager::instance().add(
        new CEShockwave((source.x >> 3) + 4, (source.y >> 3) + 4, kRingRadius, kRingSpeed, colour));
}

void blastAround(CGameObject& source) {
    // A chain deeper than the kept sets (never seen in play) gathers into a set of its own.
    CActorSet spare(0);
    CActorSet& victims = gDepth < kKeptDepths ? gVictims[gDepth] : spare;
    ++gDepth;
    CWorld::instance().collectInSquare(source.x >> 6, source.y >> 6, kBlastRadius, victims, true);
    hitAll(source, victims);
    --gDepth;
}

void explode(CGameObject& source, int32_t killer, uint16_t ringColour) {
    CWorld::instance().unfile(&source);
    if (killer != 0)
        if (CPlayer* player = CPlayer::instance(killer)) player->addScore(source.scoreValue);
    addShockwave(source, ringColour);
    blastAround(source);
    CEffectManager::instance().spawnParticles((source.x >> 3) + 4, (source.y >> 3) + 4, 2, false,
                                              source.burstColours);
}
