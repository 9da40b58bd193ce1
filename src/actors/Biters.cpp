#include "actors/Biters.h"

#include <algorithm>

#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "state/GameState.h"

namespace {

constexpr int32_t kRandomDir = CBaseMonster::kNoDirection;

// kind, images, hit points, score, speed, fast speed, first cooldown, fire delay, fast fire
// delay, turn chance, damage, start direction, burst colours
// clang-format off
constexpr SMonsterStats kLemonShark = {kKindLemonShark, 42, 3, 200, 3, 5, 60, 120, 60, 10, 1,
                                       kRandomDir, {0xFFE0, 0xFFE0, 0xAD60, 0xFFE0}};
constexpr SMonsterStats kBiter = {kKindBiter, 73, 3, 600, 2, 4, 60, 120, 80, 15, 1,
                                  0, {0x07E0, 0x0640, 0x0640, 0x0500}};
constexpr SMonsterStats kBeav = {kKindBeav, 57, 2, 100, 2, 4, 60, 100, 50, 1, 2,
                                 kRandomDir, {0x79E0, 0x71E0, 0x7A00, 0x7BEF}};
// clang-format on

// Scan lengths in tiles: ahead, behind, right-hand, left-hand.
constexpr int32_t kLemonSharkLooks[4] = {8, 6, 5, 5};
constexpr int32_t kBiterLooks[4] = {10, 8, 7, 7};
constexpr int32_t kBeavLooks[4] = {6, 4, 3, 3};

constexpr int32_t kBiteSample = 10;
constexpr int32_t kBiterJawsOpen = 77;  // bank images of the second frame, left .. down
constexpr int32_t kJawFrames = 15;      // drawn frames between two snaps of the jaws
constexpr int32_t kBiterTopSpeed = 8;
constexpr int32_t kBiterQuickestBite = 40;
constexpr int32_t kBiterBiteGain = 20;  // updates less between two bites, per kill

// The biters' course: running at what they saw ahead (look 0) keeps them going, what they saw
// behind (1) turns them round, what they saw aside (2, 3) turns them that way.
int32_t faceSighting(CBaseMonster& biter, int32_t look, int32_t direction) {
    if (look < 0) return 0;
    if (look == 1)
        biter.reverse();
    else
        biter.dir = direction;
    return 1;
}

// Sharks and biters run after enemies anywhere and after disks behind and aside (not ahead:
// a disk there is on their way anyway).
auto enemiesAndDisks(const CBaseMonster* biter) {
    return [biter](const CGameObject& seen, int32_t direction) {
        return biter->isEnemy(seen) || (direction != biter->dir && seen.kind == kKindDisk);
    };
}

// The sound of the bite even when a shell takes it; the hit is credited to nobody.
void bite(CBaseMonster& biter, CGameObject& victim) {
    CSoundManager::instance().playSampleAt(kBiteSample, biter.x >> 6, biter.y >> 6, 1);
    if (!biter.shellSpares(victim)) victim.takeDamage(biter);
}

}  // namespace

// --- CMLemonShark: a fast rammer

CMLemonShark::CMLemonShark() {
    applyStats(kLemonShark);
}

void CMLemonShark::setup() {
    loadDirectionImages(kLemonShark.firstImage);
}

bool CMLemonShark::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionD);
}

int32_t CMLemonShark::think() {
    const SSighting s = lookAround(kLemonSharkLooks, enemiesAndDisks(this));
    return faceSighting(*this, s.look, s.direction);
}

void CMLemonShark::attack(CGameObject& victim) {
    if (!victim.dead) bite(*this, victim);
}

// --- CMBiter: grows with every kill

CMBiter::CMBiter() {
    applyStats(kBiter);
}

void CMBiter::setup() {
    loadDirectionImages(kBiter.firstImage);
    for (int32_t d = 0; d < 4; ++d) images[d * 3 + 1] = CScreen::getImage(kBiterJawsOpen + d);
}

void CMBiter::draw() {
    // Under an open menu the frame counter stands still while the picture is still drawn: the
    // jaws move once per frame, not at every picture.
    const uint32_t frame = CGameState::instance().frameCounter;
    if (frame % kJawFrames == 0 && frame != lastJawFrame) animFrame ^= 1;
    lastJawFrame = frame;
    CGameObject::draw();
}

bool CMBiter::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionB);
}

int32_t CMBiter::think() {
    const SSighting s = lookAround(kBiterLooks, enemiesAndDisks(this));
    return faceSighting(*this, s.look, s.direction);
}

void CMBiter::attack(CGameObject& victim) {
    if (victim.dead) return;
    bite(*this, victim);
    if (victim.dead) levelUp();
}

void CMBiter::levelUp() {
    speed = std::min(speed + 1, kBiterTopSpeed);
    if (speed > fastSpeed) fastSpeed = speed;
    hitPoints += 1;
    fireDelay = std::max(fireDelay - kBiterBiteGain, kBiterQuickestBite);
    if (fastFireDelay > fireDelay) fastFireDelay = fireDelay;
}

// --- CMBeav: homes in on the player

CMBeav::CMBeav() {
    applyStats(kBeav);
}

void CMBeav::setup() {
    loadDirectionImages(kBeav.firstImage);
}

bool CMBeav::isEnemy(const CGameObject& other) const {
    return isEnemyOutside(other, kFactionA);
}

int32_t CMBeav::think() {
    // It looks for enemies only, never for disks.
    const SSighting s = lookForEnemies(kBeavLooks);
    return faceSighting(*this, s.look, s.direction);
}

void CMBeav::attack(CGameObject& victim) {
    // A frozen beaver does not bite; nor does it bite what is already dead (a berzerker that
    // blew up a moment ago would be killed twice).
    if (victim.dead || !isEnemy(victim) || frozenTimer != 0) return;
    bite(*this, victim);
}
