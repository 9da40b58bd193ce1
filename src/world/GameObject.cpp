#include "world/GameObject.h"

#include <cassert>

#include "effects/EffectManager.h"
#include "render/Draw.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "state/GameState.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

uint32_t gNextSerial = 0;

// The ring of carried disks: 32 points of a closed loop about 5 to 6 pixels round the sprite.
constexpr int8_t kRing[64] = {0,  -1, 1,  -1, 2,  -2, 3,  -2, 4,  -2, 5,  -2, 6,  -1, 7,  -1,
                              8,  0,  8,  1,  9,  2,  9,  3,  9,  4,  9,  5,  8,  6,  8,  7,
                              7,  8,  6,  8,  5,  9,  4,  9,  3,  9,  2,  9,  1,  8,  0,  8,
                              -1, 7,  -1, 6,  -2, 5,  -2, 4,  -2, 3,  -2, 2,  -1, 1,  -1, 0};

}  // namespace

void (*CGameObject::creditScore)(int32_t player, int32_t points) = nullptr;
CGameObject* (*CGameObject::newDisk)() = nullptr;

CGameObject::CGameObject() : serial(gNextSerial++) {}

bool CGameObject::move() {
    if (isAligned() && !CLevel::instance().isOpen(x >> 6, y >> 6, dir)) return false;
    // Moving actors wrap with a period of 39 columns by 28 rows: the last column and row of the
    // grid repeat the first.
    switch (dir) {
        case 0:
            x -= speed;
            if (x < 0) x += 2496;
            break;
        case 1:
            y -= speed;
            if (y < 0) y += 1792;
            break;
        case 2:
            x += speed;
            if ((x >> 3) > 312) x -= 2496;
            break;
        case 3:
            y += speed;
            if ((y >> 3) > 224) y -= 1792;
            break;
        default:
            break;
    }
    return true;
}

void CGameObject::wrapPosition() {
    if (CGameState::instance().tutorial) {
        // Keep placed actors inside the tutorial's walled box.
        if ((x >> 6) <= 1)
            x = 128;
        else if ((x >> 6) > 37)
            x = 2368;
        if ((y >> 6) <= 18)
            y = 1216;
        else if ((y >> 6) > 26)
            y = 1664;
        return;
    }
    if (x < 0)
        x += 2560;
    else if ((x >> 3) > 320)
        x -= 2560;
    if (y < 0)
        y += 1856;
    else if ((y >> 3) > 232)
        y -= 1856;
}

bool CGameObject::needsReindex() const {
    if (dir == 0 || dir == 2) return ((x >> 3) & 7) != ((prevX >> 3) & 7);
    return ((y >> 3) & 7) != ((prevY >> 3) & 7);
}

void CGameObject::tileAhead(int32_t direction, int32_t& outX, int32_t& outY) const {
    outX = x;
    outY = y;
    switch (direction) {
        case 0:
            outX -= 64;
            break;
        case 1:
            outY -= 64;
            break;
        case 2:
            outX += 64;
            break;
        case 3:
            outY += 64;
            break;
        default:
            break;
    }
}

CGameObject* CGameObject::touchCheck() {
    CGameObject* other = CWorld::instance().findOverlap(*this);
    if (other) {
        onTouch(*other);
        other->onTouch(*this);
    }
    return other;
}

bool CGameObject::appear() {
    if (appearDelay == 0) return true;
    if (--appearDelay != 0) return false;
    CWorld& world = CWorld::instance();
    if (world.findOverlap(*this)) {
        appearDelay = 1;  // try again next frame
        return false;
    }
    world.fileAt(this, false);
    onAppeared();
    return true;
}

void CGameObject::draw() {
    if (spawning || appearDelay != 0 || shieldTimer % 3 != 0) return;
    CScreen& screen = CScreen::instance();
    if (disks > 0) {
        diskPhase = (diskPhase + 1) & 63;
        const int32_t h = diskPhase >> 1;
        const int32_t px = x >> 3, py = y >> 3;
        uint16_t* surface = screen.surface();
        for (uint32_t i = 0; i < disks; ++i)
            for (int32_t k = 0; k < 3; ++k) {
                const int32_t j = h + static_cast<int32_t>(i) * diskSpacing + k;
                const int32_t dx = kRing[(2 * j) & 63], dy = kRing[(2 * j + 1) & 63];
                if (py + dy >= 0 && py + dy <= kPlayFieldHeight - 1)
                    fadePixelToward(px + dx, py + dy, k == 2 ? 0 : 1, surface, kFadeWhiteRed,
                                    kFadeWhiteGreen, kFadeWhiteBlue);
            }
    }
    screen.drawImage(x >> 3, y >> 3, images[dir * 3 + animFrame]);
}

void CGameObject::loadDirectionImages(int32_t first) {
    for (int32_t d = 0; d < 4; ++d) images[d * 3] = CScreen::getImage(first + d);
}

void CGameObject::die(int32_t killer) {
    assert(creditScore != nullptr);
    dropDisks();
    hitPoints = 0;
    CEffectManager::instance().spawnParticles((x >> 3) + 4, (y >> 3) + 4, 1, false, burstColours);
    if (deathSound != -1) CSoundManager::instance().playSampleAt(deathSound, x >> 6, y >> 6, 1);
    markDead(killer);
    CWorld::instance().unfile(this);
    if (killer != 0 && creditScore) creditScore(killer, scoreValue);
}

void CGameObject::settleStep() {
    if ((x >> 3) == (prevX >> 3) && (y >> 3) == (prevY >> 3)) return;
    if (touchCheck()) {
        x = prevX;
        y = prevY;
    } else if (!dead && needsReindex()) {
        CWorld::instance().refile(this);
    }
}

void CGameObject::onTouch(CGameObject&) {}

void CGameObject::takeDamage(CGameObject& hitter) {
    if (shieldTimer != 0) return;
    CEffectManager::instance().spawnParticles((x >> 3) + 4, (y >> 3) + 4, 1, false, burstColours);
    const int32_t remaining = hitPoints - hitter.damage;
    if (remaining > 0)
        hitPoints = remaining;
    else
        die(hitter.owner);
}

void CGameObject::collectDisk(CGameObject& disk) {
    if (disk.dead) return;
    hitPoints += 1;
    if (hitPoints > 9) hitPoints = 9;
    disks += 1;
    updateDiskSpacing();
    disk.giveTo(*this);
    disk.die(0);
}

void CGameObject::dropDisks() {
    const int32_t n = static_cast<int32_t>(disks);
    const int32_t level = CLevel::instance().levelNumber;
    const int32_t radius = level <= 10 ? n + 4 : n + level / 5 + 4;
    CWorld& world = CWorld::instance();
    assert(newDisk != nullptr);
    for (int32_t i = 0; i < n && newDisk; ++i) world.addNear(x >> 6, y >> 6, radius, newDisk());
}
