#include "actors/BaseMonster.h"

#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "actors/SpitBullet.h"
#include "sound/SoundManager.h"
#include "state/Random.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

constexpr int32_t kTurnCooldown = 10;
constexpr int32_t kTeleportShield = 60;
constexpr int32_t kSwallowSample = 10;

}  // namespace

CBaseMonster::CBaseMonster() : level(&CLevel::instance()) {
    dir = gameRand() % 4;
    turnChance = 10;
    deathSound = 8;
    hitPoints = 1;
    turnCooldown = kTurnCooldown;
    disks = 0;
}

void CBaseMonster::applyStats(const SMonsterStats& stats) {
    kind = stats.kind;
    hitPoints = stats.hitPoints;
    scoreValue = stats.scoreValue;
    speed = stats.speed;
    fastSpeed = stats.fastSpeed;
    fireCooldown = stats.fireCooldown;
    fireDelay = stats.fireDelay;
    fastFireDelay = stats.fastFireDelay;
    turnChance = stats.turnChance;
    damage = stats.damage;
    if (stats.startDir != kNoDirection) dir = stats.startDir;
    for (int i = 0; i < 4; ++i) burstColours[i] = stats.burstColours[i];
}

void CBaseMonster::update() {
    if (!appear()) return;
    if (fireCooldown != 0) --fireCooldown;
    if (turnCooldown != 0) --turnCooldown;
    if (frozenTimer != 0) {
        --frozenTimer;
        return;  // frozen: no thinking, no moving, and the shield does not run down
    }
    if (shieldTimer != 0) --shieldTimer;
    prevX = x;
    prevY = y;

    const int32_t decided = think();
    // A monster whose own decision killed it (its rocket bursting at once beside it) goes no
    // further: no random draw, no turn, no step.
    if (dead) return;
    // The random draw is made at every aligned, undecided update, whatever the cooldown.
    if (decided == 0 && isAligned())
        if (gameRand() % turnChance == 0 && turnCooldown == 0) randomTurn();

    if (!move()) {
        if (!randomTurn()) reverse();
        move();
    }
    settleStep();
}

void CBaseMonster::onTouch(CGameObject& other) {
    if (dead) return;
    switch (other.kind) {
        case kKindBullet:
        case kKindRocket:
            takeDamage(other);
            return;
        case kKindSpitBullet:
            takeDamage(other);
            frozenTimer = static_cast<const CSpitBullet&>(other).stunTime;
            return;
        case kKindTeleBullet: {
            CWorld& world = CWorld::instance();
            world.unfile(this);
            spawning = true;
            shieldTimer = kTeleportShield;
            world.addAtSpawnPoint(this, false);
            return;
        }
        case kKindDisk:
            collectDisk(static_cast<CBaseSpar&>(other));
            return;
        default:
            break;
    }
    if (isEnemy(other)) {
        if (fireReady()) {
            attack(other);
            fireCooldown = fireDelay;
        }
    } else if (directionTo(other) == dir) {
        reverse();  // a friend in the way: turn back
    }
}

bool CBaseMonster::randomTurn() {
    if (!isAligned()) return false;
    const int32_t r = gameRand();
    const int32_t candidate = r % 2 == 1 ? (dir + 1) & 3 : (dir + 3) & 3;
    int32_t chosen = kNoDirection;
    if (level->isOpen(x >> 6, y >> 6, candidate))
        chosen = candidate;
    else if (level->isOpen(x >> 6, y >> 6, (candidate + 2) & 3))
        chosen = (candidate + 2) & 3;
    if (chosen == kNoDirection) return false;
    dir = chosen;
    turnCooldown = kTurnCooldown;
    return true;
}

bool CBaseMonster::homingTurn() {
    if (!isAligned()) return false;
    int32_t h = 0, v = 0;
    axisDirectionsTo(*CPlayer::instance(1), h, v);
    const bool horizontal = dir == 0 || dir == 2;
    const int32_t toward = horizontal ? h : v;  // along its own axis
    const int32_t across = horizontal ? v : h;  // the crossing way toward the player
    const int32_t tx = x >> 6, ty = y >> 6;
    if (level->isOpen(tx, ty, dir) && dir == toward) return false;
    if (level->isOpen(tx, ty, across))
        dir = across;
    else if (level->isOpen(tx, ty, (across + 2) & 3))
        dir = (across + 2) & 3;
    else
        return false;
    turnCooldown = kTurnCooldown;
    return true;
}

void CBaseMonster::swallow(CGameObject& victim) {
    if (victim.shieldTimer != 0) return;
    disks += victim.disks;
    hitPoints += static_cast<int32_t>(victim.disks);
    updateDiskSpacing();
    victim.disks = 0;
    CSoundManager::instance().playSampleAt(kSwallowSample, x >> 6, y >> 6, 1);
    victim.die(0);
}

CGameObject* CBaseMonster::scan(int32_t direction, int32_t maxTiles) {
    if (maxTiles <= 0) return nullptr;
    const CWorld& world = CWorld::instance();
    int32_t tx = x >> 6, ty = y >> 6;
    for (int32_t i = 0; i < maxTiles; ++i) {
        switch (direction) {
            case 0:
                tx = tx - 1 < 0 ? 39 : tx - 1;
                break;
            case 1:
                ty = ty - 1 < 0 ? 28 : ty - 1;
                break;
            case 2:
                tx = tx + 1 > 39 ? 0 : tx + 1;
                break;
            default:
                ty = ty + 1 > 28 ? 0 : ty + 1;
                break;
        }
        if (!level->isFree(tx, ty)) return nullptr;  // walls block the view
        CGameObject* seen = world.firstInCell(tx, ty);
        if (seen && !seen->dead && seen != this && seen->kind != kKindBullet &&
            seen->kind != kKindSpitBullet && seen->kind != kKindTeleBullet)
            return seen;
    }
    return nullptr;
}

void CBaseMonster::reverse() {
    dir = (dir + 2) & 3;
    turnCooldown = kTurnCooldown;
}

int32_t CBaseMonster::directionTo(const CGameObject& other) const {
    if ((dir == 1 && other.y < y) || (dir == 2 && other.x > x) || (dir == 3 && other.y > y))
        return dir;
    if (other.x < x) return 0;
    if (other.y < y) return 1;
    if (other.x > x) return 2;
    if (other.y > y) return 3;
    return kNoDirection;
}

void CBaseMonster::axisDirectionsTo(const CGameObject& player, int32_t& h, int32_t& v) const {
    h = player.x < x ? 0 : 2;
    v = player.y < y ? 1 : 3;
}

bool CBaseMonster::isFriendly(const CGameObject& other) const {
    switch (other.kind) {
        case kKindBullet:
        case kKindSpitBullet:
        case kKindTeleBullet:
        case kKindRocket:
        case kKindDisk:
        case kKindEgg:
            return true;
        default:
            return other.kind == kind;
    }
}

bool CBaseMonster::isEnemyOutside(const CGameObject& other, const SFaction& faction) const {
    if (isFriendly(other)) return false;
    for (const int32_t mate : faction)
        if (other.kind == mate) return false;
    return true;
}

int32_t CBaseMonster::lookDirection(int32_t look) const {
    constexpr int32_t kTurn[4] = {0, 2, 1, 3};  // ahead, behind, right-hand, left-hand
    return (dir + kTurn[look & 3]) & 3;
}
