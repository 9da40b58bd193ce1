#include "actors/BaseBullet.h"

#include "effects/EffectManager.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "world/Level.h"
#include "world/World.h"

namespace {
constexpr uint16_t kWhite[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
constexpr int kFirstImage = 0;  // the thin shot, one image per direction
}  // namespace

CBaseBullet::CBaseBullet(int32_t px, int32_t py, int32_t direction, int32_t shotSpeed) {
    place(kKindBullet, px, py, direction, shotSpeed, kWhite);
    owner = 0;
    if (isInWall()) die(0);
}

CBaseBullet::CBaseBullet(int32_t shotKind, int32_t px, int32_t py, int32_t direction,
                         int32_t shotSpeed, const uint16_t (&colours)[4]) {
    place(shotKind, px, py, direction, shotSpeed, colours);
    CWorld::instance().fileAt(this, false);
}

void CBaseBullet::place(int32_t shotKind, int32_t px, int32_t py, int32_t direction,
                        int32_t shotSpeed, const uint16_t (&colours)[4]) {
    kind = shotKind;
    dir = direction;
    x = px;
    y = py;
    speed = shotSpeed;
    wrapPosition();
    prevX = x;
    prevY = y;
    damage = 1;
    for (int i = 0; i < 4; ++i) burstColours[i] = colours[i];
    spawning = false;
}

void CBaseBullet::setup() {
    loadDirectionImages(kFirstImage);
}

void CBaseBullet::update() {
    // A shot made inside a wall has popped already; the monster that fired it still gives it
    // its first step, which must neither pop it again nor let it hurt what it touches.
    if (dead) return;
    prevX = x;
    prevY = y;
    if (isInWall() || !move()) {
        touchCheck();
        // The touch may already have ended the shot; a rocket must not explode twice.
        if (!dead) die(0);
        return;
    }
    if ((x >> 3) == (prevX >> 3) && (y >> 3) == (prevY >> 3)) return;
    if (touchCheck()) return;  // the touch has decided the shot's fate
    CWorld::instance().refile(this);
}

void CBaseBullet::draw() {
    const SImage* image = images[dir * 3 + animFrame];
    if (dir == 0 || dir == 2)
        CScreen::instance().drawImage(x >> 3, (y >> 3) + 3, image);
    else
        CScreen::instance().drawImage((x >> 3) + 3, y >> 3, image);
}

void CBaseBullet::die(int32_t killer) {
    CSoundManager::instance().playSampleAt(7, x >> 6, y >> 6, 0);
    CEffectManager::instance().spawnParticles((x >> 3) + 4, (y >> 3) + 4, 0, false, burstColours);
    markDead(killer);
    CWorld::instance().unfile(this);
}

void CBaseBullet::onTouch(CGameObject& other) {
    // A shelled bug is hurt only from the front: a shot that does not meet it head-on flies on.
    if (shellSpares(other)) return;
    die(0);
}

bool CBaseBullet::isInWall() const {
    const CLevel& level = CLevel::instance();
    const int32_t tx = x >> 6, ty = y >> 6;
    if (isAligned()) return !level.isFree(tx, ty);
    // Across the flight the box reaches one tile or, when centred on the seam, both.
    const bool horizontal = dir == 0 || dir == 2;
    const int32_t across = ((horizontal ? y : x) >> 3) % 8;
    const int32_t first = across <= 4 ? 0 : 1;
    const int32_t last = across >= 4 ? 1 : 0;
    for (int32_t a = first; a <= last; ++a)
        for (int32_t along = 0; along <= 1; ++along) {
            const bool free =
                horizontal ? level.isFree(tx + along, ty + a) : level.isFree(tx + a, ty + along);
            if (!free) return true;
        }
    return false;
}
