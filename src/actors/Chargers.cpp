#include "actors/Chargers.h"

#include "actors/BaseSpar.h"
#include "actors/Explosion.h"
#include "sound/SoundManager.h"
#include "state/Random.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

constexpr int32_t kRandomDir = CBaseMonster::kNoDirection;

// kind, images, hit points, score, speed, fast speed, first cooldown, fire delay, fast fire
// delay, turn chance, damage, start direction, burst colours
// clang-format off
constexpr SMonsterStats kZombie = {kKindZombie, 50, 2, 100, 1, 2, 120, 240, 120, 5, 0,
                                   kRandomDir, {0x7BE0, 0x7BEF, 0x7BE0, 0xC618}};
constexpr SMonsterStats kBerzerker = {kKindBerzerker, 61, 2, 400, 1, 2, 120, 240, 120, 5, 2,
                                      kRandomDir, {0xFFFF, 0xFFFF, 0xFFFF, 0xFE18}};
constexpr SMonsterStats kGhost = {kKindGhost, 101, 2, 100, 1, 2, 120, 240, 120, 5, 0,
                                  kRandomDir, {0xE47E, 0xE47E, 0xBBB8, 0xEF5D}};
// clang-format on

// Scan lengths in tiles: ahead, behind, right-hand, left-hand; the same for all three.
constexpr int32_t kChargerLooks[4] = {6, 5, 3, 3};

constexpr int32_t kChargeTime = 40;  // updates, renewed while an enemy stays in sight ahead
constexpr int32_t kWalkSpeed = 1;    // what every charge ends at
constexpr int32_t kZombieChargeSpeed = 2;
constexpr int32_t kGhostChargeSpeed = 2;
constexpr int32_t kBerzerkerChargeSpeed = 3;
// Zombies and ghosts charge only from level number 11; berzerkers always do.
constexpr int32_t kLastLevelWithoutCharges = 10;
// From level number 20 every berzerker is berserk; below, one in (20 - level number).
constexpr int32_t kAlwaysBerserkFrom = 20;

constexpr int32_t kInfectSample = 12;  // also the zombie's charge
constexpr int32_t kCaughtSample = 11;  // the player turned
constexpr int32_t kBerzerkerChargeSample = 14;
constexpr int32_t kExplosionSample = 17;
constexpr uint16_t kRingColour = 0xFFE0;

// The charge runs at the charge speed while its timer lasts; its end drops to walking pace,
// whatever speed disk the charger had picked up.
void countDownCharge(CBaseMonster& charger, int32_t& chargeTimer, int32_t chargeSpeed) {
    if (chargeTimer == 0) return;
    charger.speed = chargeSpeed;
    if (--chargeTimer == 0) charger.speed = kWalkSpeed;
}

// (Re)starts a charge, with its sound when it is a fresh one.
void startCharge(const CBaseMonster& charger, int32_t& chargeTimer, int32_t sample) {
    if (chargeTimer == 0)
        CSoundManager::instance().playSampleAt(sample, charger.x >> 6, charger.y >> 6, 1);
    chargeTimer = kChargeTime;
}

// The chargers' course: an enemy ahead (look 0) keeps them going; one behind or aside turns
// them to it at once (no turn cooldown).
int32_t faceEnemy(CBaseMonster& charger, int32_t look, int32_t direction) {
    if (look < 0) return 0;
    charger.dir = direction;
    return 1;
}

bool chargesOnThisLevel(const CBaseMonster& charger) {
    return charger.level->levelNumber > kLastLevelWithoutCharges;
}

}  // namespace

// Each think looks ahead first and counts its charge down before acting on what it saw; the
// looks change nothing, so the count-down may as well come first.

// --- CMZombie: what it catches becomes a zombie

CMZombie::CMZombie() {
    applyStats(kZombie);
}

void CMZombie::setup() {
    loadDirectionImages(kZombie.firstImage);
}

bool CMZombie::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionB);
}

int32_t CMZombie::think() {
    countDownCharge(*this, chargeTimer, kZombieChargeSpeed);
    const SSighting enemy = lookForEnemies(kChargerLooks);
    if (enemy.look == 0 && chargesOnThisLevel(*this))
        startCharge(*this, chargeTimer, kInfectSample);
    return faceEnemy(*this, enemy.look, enemy.direction);
}

void CMZombie::attack(CGameObject& victim) {
    // A victim already dead (a berzerker that blew up a moment ago) stays a corpse: its disks
    // are scattered already.
    if (victim.dead || !isEnemy(victim) || victim.shieldTimer != 0 || frozenTimer != 0 ||
        shellSpares(victim))
        return;
    CSoundManager::instance().playSampleAt(kInfectSample, x >> 6, y >> 6, 1);
    CMZombie* zombie = new CMZombie;
    zombie->setup();
    // Where the victim is filed; a player, who steers off the grid, to its tile's corner.
    zombie->x = victim.prevX;
    zombie->y = victim.prevY;
    if (victim.kind == kKindPlayer) {
        zombie->x &= ~63;
        zombie->y &= ~63;
    }
    zombie->dir = victim.dir;
    zombie->hitPoints = static_cast<int32_t>(victim.disks) + 1;
    zombie->disks = victim.disks;
    zombie->updateDiskSpacing();
    zombie->spawning = false;  // there at once; filed when it first moves within a tile

    // No death of its own: no score, no burst, no death sound, no disks dropped.
    victim.markDead(0);
    if (victim.kind == kKindPlayer)
        CSoundManager::instance().playSample(kCaughtSample, 256, 256, 2);
    victim.hitPoints = 0;
    // Out of the cells under both places it may be filed at, as a death takes it: a player
    // caught straddling two tiles would otherwise stay filed in the old one for the level.
    CWorld& world = CWorld::instance();
    world.unfile(&victim);
    world.add(zombie);
}

// --- CMBerzerker: charges and explodes

CMBerzerker::CMBerzerker() {
    applyStats(kBerzerker);
    // Drawn only where the odds mean something: at level number 20 they would divide by zero.
    const int32_t levelNumber = level->levelNumber;
    berserk =
        levelNumber >= kAlwaysBerserkFrom || gameRand() % (kAlwaysBerserkFrom - levelNumber) == 0;
}

void CMBerzerker::setup() {
    loadDirectionImages(kBerzerker.firstImage);
}

bool CMBerzerker::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionD);
}

int32_t CMBerzerker::think() {
    countDownCharge(*this, chargeTimer, kBerzerkerChargeSpeed);
    const SSighting enemy = lookForEnemies(kChargerLooks);
    if (enemy.look == 0) startCharge(*this, chargeTimer, kBerzerkerChargeSample);
    return faceEnemy(*this, enemy.look, enemy.direction);
}

void CMBerzerker::die(int32_t killer) {
    markDead(killer);
    CSoundManager::instance().playSampleAt(kExplosionSample, x >> 6, y >> 6, 1);
    dropDisks();
    explode(*this, killer, kRingColour);
}

// --- CMGhost: homes in and swallows

CMGhost::CMGhost() {
    applyStats(kGhost);
}

void CMGhost::setup() {
    loadDirectionImages(kGhost.firstImage);
}

bool CMGhost::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionB);
}

int32_t CMGhost::think() {
    countDownCharge(*this, chargeTimer, kGhostChargeSpeed);
    const SSighting enemy = lookForEnemies(kChargerLooks);
    if (enemy.look == 0 && chargesOnThisLevel(*this)) chargeTimer = kChargeTime;  // silently
    return faceEnemy(*this, enemy.look, enemy.direction);
}

void CMGhost::attack(CGameObject& victim) {
    // What is already dead is not swallowed twice.
    if (victim.dead) return;
    if (victim.kind == kKindDisk) {
        collectDisk(static_cast<CBaseSpar&>(victim));
        return;
    }
    swallow(victim);
}
