#include "actors/Shooters.h"

#include <cstdlib>

#include "actors/BaseBullet.h"
#include "actors/Rocket.h"
#include "actors/SpitBullet.h"
#include "actors/TeleBullet.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "world/World.h"

namespace {

constexpr int32_t kRandomDir = CBaseMonster::kNoDirection;
constexpr int32_t kNoSound = -1;

// kind, images, hit points, score, speed, fast speed, first cooldown, fire delay, fast fire
// delay, turn chance, damage, start direction, burst colours
constexpr SMonsterStats kSoldier = {
    kKindSoldier, 5, 2, 150, 1, 2, 60, 240, 40, 5, 0, kRandomDir, {0x7BE0, 0xC618, 0xF5A8, 0x7BE0}};
constexpr SMonsterStats kJoust = {
    kKindJoust, 13, 3, 1000, 3, 5, 60, 40, 30, 10, 0, kRandomDir, {0x07E0, 0x07E0, 0x03EF, 0x03EF}};
constexpr SMonsterStats kLBug = {
    kKindLBug, 81, 2, 1000, 1, 3, 60, 120, 80, 10, 1, 0, {0xF800, 0xF800, 0x0640, 0xA800}};
constexpr SMonsterStats kWizard = {
    kKindWizard, 21, 1, 350, 2, 3, 60, 120, 60, 5, 0, kRandomDir, {0x7BEF, 0x001F, 0xC618, 0x7BEF}};
constexpr SMonsterStats kScorp = {
    kKindScorp, 97, 1, 350, 2, 3, 60, 180, 90, 5, 0, kRandomDir, {0xFB2E, 0xFB2E, 0x843F, 0xB596}};
constexpr SMonsterStats kRocketeer = {kKindRocketeer,
                                      85,
                                      2,
                                      350,
                                      2,
                                      4,
                                      60,
                                      240,
                                      120,
                                      15,
                                      0,
                                      kRandomDir,
                                      {0x085F, 0x7BFF, 0xBDD7, 0xF608}};
constexpr SMonsterStats kDummy = {
    kKindDummy, 56, 2, 1000, 1, 3, 60, 120, 80, 15, 2, 0, {0xFFE0, 0xFFE0, 0xFFE0, 0xFFE0}};

// Scan lengths in tiles: ahead, behind, right-hand, left-hand.
constexpr int32_t kSoldierLooks[4] = {8, 8, 8, 8};
constexpr int32_t kJoustLooks[4] = {20, 20, 20, 20};
constexpr int32_t kLBugLooks[4] = {10, 7, 6, 6};
constexpr int32_t kWizardLooks[4] = {15, 15, 8, 8};
constexpr int32_t kScorpLooks[4] = {15, 15, 8, 8};
constexpr int32_t kRocketeerLooks[4] = {16, 12, 10, 10};

// The rocketeer holds its fire at an enemy this close (two tiles) or closer.
constexpr int32_t kPointBlankPixels = 16;

// A shot from the tile next to the shooter on the side it fires to; the shooter does not turn.
// The shot makes its first step at once. Its owner stays nobody: its kills score nothing.
template <class TShot>
void fire(CBaseMonster& shooter, int32_t direction, int32_t shotSpeed, int32_t sample) {
    if (!shooter.fireReady()) return;
    int32_t bx = 0, by = 0;
    shooter.tileAhead(direction, bx, by);
    TShot* shot = new TShot(bx, by, direction, shotSpeed);
    shot->setup();
    CWorld::instance().add(shot);
    shot->update();
    shooter.fireCooldown = shooter.fireDelay;
    if (sample != kNoSound)
        CSoundManager::instance().playSampleAt(sample, shooter.x >> 6, shooter.y >> 6, 1);
    CGameReport::instance().shotFired(shooter.kind);
}

}  // namespace

// --- CMSoldier: a slow guard

CMSoldier::CMSoldier() {
    applyStats(kSoldier);
}

void CMSoldier::setup() {
    loadDirectionImages(kSoldier.firstImage);
}

bool CMSoldier::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionC);
}

int32_t CMSoldier::think() {
    const SSighting enemy = lookForEnemies(kSoldierLooks);
    if (enemy.seen) shoot(enemy.direction);
    return 0;
}

void CMSoldier::shoot(int32_t direction) {
    fire<CBaseBullet>(*this, direction, 2, 4);
}

// --- CMJoust: fast, shoots far, runs after disks

CMJoust::CMJoust() {
    applyStats(kJoust);
}

void CMJoust::setup() {
    loadDirectionImages(kJoust.firstImage);
}

bool CMJoust::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionC);
}

int32_t CMJoust::think() {
    const SSighting sighting = lookAround(kJoustLooks, [this](const CGameObject& m, int32_t) {
        return isEnemy(m) || m.kind == kKindDisk;
    });
    if (!sighting.seen) return 0;
    if (isEnemy(*sighting.seen)) {
        shoot(sighting.direction);
        return 0;
    }
    // A disk: run at it (turning without the turn cooldown).
    dir = sighting.direction;
    return 1;
}

void CMJoust::shoot(int32_t direction) {
    fire<CBaseBullet>(*this, direction, 7, 4);
}

// --- CMLBug: slow and armoured

CMLBug::CMLBug() {
    applyStats(kLBug);
}

void CMLBug::setup() {
    loadDirectionImages(kLBug.firstImage);
}

bool CMLBug::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionA);
}

int32_t CMLBug::think() {
    const SSighting enemy = lookForEnemies(kLBugLooks);
    if (!enemy.seen) return 0;
    shoot(enemy.direction);
    return 1;  // holds its course while it has an enemy in sight
}

void CMLBug::shoot(int32_t direction) {
    fire<CBaseBullet>(*this, direction, 5, 4);
}

void CMLBug::onTouch(CGameObject& other) {
    if (dead) return;
    switch (other.kind) {
        case kKindBullet:
        case kKindSpitBullet:
        case kKindTeleBullet:
        case kKindRocket: {
            if (((other.dir + 2) & 3) == dir) {
                takeDamage(other);  // head-on: no freezing, no teleport, only the hit
                return;
            }
            // It glances off: back where it came from, turned round, filed where it now is.
            CSoundManager::instance().playSampleAt(19, x >> 6, y >> 6, 1);
            CWorld& world = CWorld::instance();
            world.fileAt(&other, true);
            other.dir = (other.dir + 2) & 3;
            other.x = other.prevX;
            other.y = other.prevY;
            world.fileAt(&other, false);
            if (world.findOverlap(*this) == &other) takeDamage(other);
            return;
        }
        default:
            CBaseMonster::onTouch(other);  // disks, enemies and friends as any monster
    }
}

// --- CMWizard: tele-bullets

CMWizard::CMWizard() {
    applyStats(kWizard);
}

void CMWizard::setup() {
    loadDirectionImages(kWizard.firstImage);
}

bool CMWizard::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionD);
}

int32_t CMWizard::think() {
    const SSighting enemy = lookForEnemies(kWizardLooks);
    if (enemy.seen) shoot(enemy.direction);
    return 0;
}

void CMWizard::shoot(int32_t direction) {
    fire<CTeleBullet>(*this, direction, speed + 1, 4);
}

// --- CMScorp: freezing spit, silently

CMScorp::CMScorp() {
    applyStats(kScorp);
}

void CMScorp::setup() {
    loadDirectionImages(kScorp.firstImage);
}

bool CMScorp::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionA);
}

int32_t CMScorp::think() {
    const SSighting enemy = lookForEnemies(kScorpLooks);
    if (enemy.seen) shoot(enemy.direction);
    return 0;
}

void CMScorp::shoot(int32_t direction) {
    fire<CSpitBullet>(*this, direction, speed + 3, kNoSound);
}

// --- CMRocketeer: rockets, never point-blank

CMRocketeer::CMRocketeer() {
    applyStats(kRocketeer);
}

void CMRocketeer::setup() {
    loadDirectionImages(kRocketeer.firstImage);
}

bool CMRocketeer::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionC);
}

int32_t CMRocketeer::think() {
    const SSighting enemy =
        lookAround(kRocketeerLooks, [this](const CGameObject& m, int32_t direction) {
            return isEnemy(m) && axisPixelDistance(m, direction) > kPointBlankPixels;
        });
    if (enemy.seen) shoot(enemy.direction);
    return 0;
}

void CMRocketeer::shoot(int32_t direction) {
    fire<CRocket>(*this, direction, 8, 16);
}

int32_t CMRocketeer::axisPixelDistance(const CGameObject& other, int32_t direction) const {
    if (direction == 0 || direction == 2) return std::abs((x >> 3) - (other.x >> 3));
    return std::abs((y >> 3) - (other.y >> 3));
}

// --- CMDummy: everyone's target

CMDummy::CMDummy() {
    applyStats(kDummy);
}

void CMDummy::setup() {
    for (int32_t d = 0; d < 4; ++d) images[d * 3] = CScreen::getImage(kDummy.firstImage);
}
