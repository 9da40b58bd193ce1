#include "actors/Specialists.h"

#include <algorithm>

#include "actors/BaseSpar.h"
#include "actors/Grenade.h"
#include "actors/MEgg.h"
#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "effects/Laser.h"
#include "render/Draw.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "state/Random.h"
#include "world/ActorSet.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

constexpr int32_t kRandomDir = CBaseMonster::kNoDirection;

// kind, images, hit points, score, speed, fast speed, first cooldown, fire delay, fast fire
// delay, turn chance, damage, start direction, burst colours
// clang-format off
constexpr SMonsterStats kChicken = {kKindChicken, 34, 1, 100, 1, 3, 60, 240, 120, 5, 0,
                                    kRandomDir, {0xE429, 0xFB5F, 0xF81F, 0xF81F}};
constexpr SMonsterStats kEye = {kKindEye, 9, 3, 1000, 3, 5, 160, 240, 160, 10, 1,
                                kRandomDir, {0xFFFF, 0xFFFF, 0xFFFF, 0x319F}};
constexpr SMonsterStats kGrenadeer = {kKindGrenadeer, 93, 2, 350, 2, 4, 60, 250, 100, 15, 0,
                                      kRandomDir, {0xC3DA, 0xA335, 0x7E2E, 0xF608}};
constexpr SMonsterStats kGrim = {kKindGrim, 17, 4, 500, 1, 2, 160, 30, 15, 8, 0,
                                 kRandomDir, {0x6B4D, 0x6B4D, 0x6B4D, 0xB3A7}};
// clang-format on

// Scan lengths in tiles: ahead, behind, right-hand, left-hand.
constexpr int32_t kChickenLooks[4] = {5, 4, 3, 3};
constexpr int32_t kEyeLooks[4] = {8, 6, 5, 5};
constexpr int32_t kGrenadeerLooks[4] = {10, 8, 6, 6};
constexpr int32_t kGrimLooks[4] = {20, 20, 20, 20};
// How far back a chicken fleeing an enemy ahead looks for another before it turns round.
constexpr int32_t kChickenHoldLook = 20;

constexpr int32_t kEggFuse = 160;
constexpr int32_t kEggSample = 6;
constexpr int32_t kLaserSample = 5;
constexpr uint16_t kLaserColour = 0x001F;
constexpr int32_t kThrowSample = 20;
constexpr int32_t kThrowRange = 4;  // tiles each way, walls or not
constexpr int32_t kBoxCentre = 32;  // 1/8 pixel from the corner of an 8 x 8 box to its middle
constexpr int32_t kLastLevelWithWeakTongue = 9;  // speed disks strengthen the tongue after it
constexpr int32_t kStrongestPull = 6;

// The grenadier's view of the tiles around it, kept from one look to the next so that, once
// grown, it allocates nothing.
CActorSet gAround(64);

bool isDisk(const CGameObject& actor) {
    return actor.kind == kKindDisk;
}

// A monster with an enemy ahead turns aside if it can; if not, it turns round, unless an enemy
// behind it (within `behindTiles`) makes that no better.
void fleeAhead(CBaseMonster& monster, int32_t behindTiles) {
    if (monster.CBaseMonster::randomTurn()) return;
    const CGameObject* behind = monster.scan((monster.dir + 2) & 3, behindTiles);
    if (!behind || !monster.isEnemy(*behind)) monster.reverse();
}

// Whether a position lies on the grid line across a direction: its y for left and right, its x
// for up and down.
bool alignedAcross(const CGameObject& actor, int32_t direction) {
    return ((direction == 0 || direction == 2 ? actor.y : actor.x) & 0x38) == 0;
}

}  // namespace

// --- CMChicken: lays eggs and runs

CMChicken::CMChicken() {
    applyStats(kChicken);
}

void CMChicken::setup() {
    loadDirectionImages(kChicken.firstImage);
}

bool CMChicken::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionA);
}

int32_t CMChicken::think() {
    // Anything ahead or to the sides decides; behind, only an enemy does.
    const SSighting s = lookAround(kChickenLooks, [this](const CGameObject& m, int32_t direction) {
        return direction != ((dir + 2) & 3) || isEnemy(m);
    });
    if (!s.seen) return 0;
    const bool enemy = isEnemy(*s.seen);
    switch (s.look) {
        case 0:
            // It keeps walking toward something harmless; from an enemy it flees, egg first.
            if (enemy) {
                layEgg(dir);
                fleeAhead(*this, kChickenHoldLook);
            }
            return 1;
        case 1:
            layEgg(s.direction);
            CBaseMonster::randomTurn();
            return 1;
        default:
            if (enemy)
                layEgg(s.direction);
            else
                dir = s.direction;
            return 1;
    }
}

void CMChicken::layEgg(int32_t direction) {
    if (!fireReady()) return;
    int32_t ex = 0, ey = 0;
    tileAhead(direction, ex, ey);
    CMEgg* egg = new CMEgg(ex, ey, kEggFuse);
    CWorld& world = CWorld::instance();
    if (world.findOverlap(*egg)) {
        delete egg;  // the spot is taken: it tries again later
        return;
    }
    CSoundManager::instance().playSampleAt(kEggSample, x >> 6, y >> 6, 1);
    fireCooldown = fireDelay;
    egg->setup();
    world.add(egg);
    CGameReport::instance().shotFired(kind);
}

// --- CMEye: the instant laser

CMEye::CMEye() {
    applyStats(kEye);
}

void CMEye::setup() {
    loadDirectionImages(kEye.firstImage);
}

bool CMEye::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionD);
}

int32_t CMEye::think() {
    // Ahead an enemy or a disk decides; elsewhere a disk, or an enemy it can fire at at once.
    const SSighting s = lookAround(kEyeLooks, [this](const CGameObject& m, int32_t direction) {
        return isDisk(m) || (isEnemy(m) && (direction == dir || fireReady()));
    });
    if (!s.seen) return 0;
    if (s.look != 0) {
        dir = s.direction;
        return 1;
    }
    if (isDisk(*s.seen)) return 1;
    // An enemy ahead: burnt if the eye is ready and it lies this side of the maze's seam; else
    // the eye gets out of its way.
    if (fireReady() && directionTo(*s.seen) == dir)
        fireLaser(dir, *s.seen);
    else
        fleeAhead(*this, kEyeLooks[1]);
    return 1;
}

void CMEye::fireLaser(int32_t direction, CGameObject& target) {
    if (!fireReady()) return;
    CSoundManager::instance().playSampleAt(kLaserSample, x >> 6, y >> 6, 1);
    // From the eye's side of the target to the eye, along the middle of the corridor.
    const int32_t ex = x >> 3, ey = y >> 3, tx = target.x >> 3, ty = target.y >> 3;
    CLaser* beam = new CLaser(kLaserColour);
    switch (direction) {
        case 0:
            beam->x = tx + 12;
            beam->y = ey + 4;
            beam->width = ex - (tx + 12);
            beam->height = 2;
            break;
        case 2:
            beam->x = ex + 12;
            beam->y = ey + 4;
            beam->width = tx - (ex + 12);
            beam->height = 2;
            break;
        case 1:
            beam->x = ex + 4;
            beam->y = ty + 12;
            beam->width = 2;
            beam->height = ey - (ty + 12);
            break;
        default:
            beam->x = ex + 4;
            beam->y = ey + 12;
            beam->width = 2;
            beam->height = ty - (ey + 12);
            break;
    }
    CEffectManager::instance().add(beam);
    // The hit is instant and credited to nobody.
    if (!shellSpares(target)) target.takeDamage(*this);
    fireCooldown = fireDelay;
    CGameReport::instance().shotFired(kind);
}

// --- CMGrenadeer: lobs grenades, keeps its distance

CMGrenadeer::CMGrenadeer() {
    applyStats(kGrenadeer);
}

void CMGrenadeer::setup() {
    loadDirectionImages(kGrenadeer.firstImage);
}

bool CMGrenadeer::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionC);
}

int32_t CMGrenadeer::think() {
    if (fireReady()) {
        // The first enemy around in identity order, whatever the walls.
        CWorld::instance().collectInSquare(x >> 6, y >> 6, kThrowRange, gAround, true);
        for (const CGameObject* actor : gAround)
            if (!actor->dead && isEnemy(*actor)) {
                throwGrenade(actor->x, actor->y);
                break;
            }
    }
    // Ahead an enemy or a disk decides; elsewhere only a disk.
    const SSighting s =
        lookAround(kGrenadeerLooks, [this](const CGameObject& m, int32_t direction) {
            return isDisk(m) || (direction == dir && isEnemy(m));
        });
    if (!s.seen) return 0;
    if (s.look == 0) {
        if (!isDisk(*s.seen)) fleeAhead(*this, kGrenadeerLooks[1]);
        return 1;
    }
    dir = s.direction;
    return 1;
}

void CMGrenadeer::throwGrenade(int32_t targetX, int32_t targetY) {
    if (!fireReady()) return;
    CSoundManager::instance().playSampleAt(kThrowSample, x >> 6, y >> 6, 1);
    CGrenade* grenade =
        new CGrenade(x + kBoxCentre, y + kBoxCentre, targetX + kBoxCentre, targetY + kBoxCentre);
    grenade->setup();
    CWorld::instance().add(grenade);
    fireCooldown = fireDelay;
    CGameReport::instance().shotFired(kind);
}

// --- CMGrim: the tongue

CMGrim::CMGrim() {
    applyStats(kGrim);
}

void CMGrim::setup() {
    loadDirectionImages(kGrim.firstImage);
}

bool CMGrim::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionB);
}

int32_t CMGrim::think() {
    const SSighting s = lookAround(
        kGrimLooks, [this](const CGameObject& m, int32_t) { return isEnemy(m) || isDisk(m); });
    switch (s.look) {
        case -1:
            return 0;
        case 0:
            pullWithTongue(dir, *s.seen);
            return 1;
        case 1:
            reverse();
            return 1;
        default:
            dir = s.direction;
            return 1;
    }
}

void CMGrim::pullWithTongue(int32_t direction, CGameObject& target) {
    if (target.dead || target.shieldTimer != 0) return;
    if (directionTo(target) != dir || fireCooldown != 0) return;

    // The tongue goes straight into the picture being composed, a new grey every time.
    const int32_t e = gameRand() % 16;
    const uint16_t colour = static_cast<uint16_t>(e * 2048 + e * 64 + e);
    const int32_t gx = x >> 3, gy = y >> 3, tx = target.x >> 3, ty = target.y >> 3;
    uint16_t* surface = CScreen::instance().surface();
    switch (direction) {
        case 0:
            drawLine(tx + 8, gy + 4, gx, gy + 4, colour, surface);
            break;
        case 1:
            drawLine(gx + 4, ty + 8, gx + 4, gy, colour, surface);
            break;
        case 2:
            drawLine(gx + 8, gy + 4, tx, gy + 4, colour, surface);
            break;
        default:
            drawLine(gx + 4, gy + 8, gx + 4, ty, colour, surface);
            break;
    }

    // It pulls only along a corridor: itself on the line, the victim square across it (the
    // player, who steers off the grid, where it could step that way itself).
    if (!alignedAcross(*this, direction)) return;
    const int32_t toward = (direction + 2) & 3;
    const bool canCome = target.kind == kKindPlayer
                             ? static_cast<const CPlayer&>(target).canStep(toward)
                             : alignedAcross(target, direction);
    if (!canCome) return;

    target.dir = toward;
    CWorld& world = CWorld::instance();
    world.fileAt(&target, true);
    switch (toward) {
        case 0:
            target.prevX = target.x;
            target.x -= pullStrength;
            break;
        case 1:
            target.prevY = target.y;
            target.y -= pullStrength;
            break;
        case 2:
            target.prevX = target.x;
            target.x += pullStrength;
            break;
        default:
            target.prevY = target.y;
            target.y += pullStrength;
            break;
    }
    // Filed where it now is before the grim looks for it there: reeled in far enough to touch,
    // it is swallowed (and takes itself out of the cells as it dies).
    world.fileAt(&target, false);
    if (world.findOverlap(*this) == &target) attack(target);
}

void CMGrim::attack(CGameObject& victim) {
    // A frozen grim swallows nothing; nor is what is already dead swallowed twice.
    if (frozenTimer != 0 || victim.dead) return;
    if (isDisk(victim)) {
        CBaseSpar& disk = static_cast<CBaseSpar&>(victim);
        collectDisk(disk);
        if (disk.diskType == CBaseSpar::kSpeed && level->levelNumber > kLastLevelWithWeakTongue)
            pullStrength = std::min(pullStrength * 2, kStrongestPull);
        return;
    }
    swallow(victim);
}
