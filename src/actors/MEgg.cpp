#include "actors/MEgg.h"

#include "actors/Explosion.h"
#include "sound/SoundManager.h"
#include "world/World.h"

namespace {

constexpr int32_t kFirstImage = 38;
constexpr int32_t kSpinFrames = 120;  // the egg spins while its fuse is below this
constexpr int32_t kBlastDamage = 2;
constexpr int32_t kBangSound = 17;
constexpr uint16_t kColour = 0xFFFF;
constexpr uint16_t kRingColour = 0xFFE0;
constexpr uint16_t kBlastColours[4] = {0xFFE0, 0xFBE7, 0xFBE7, 0xFFE0};

}  // namespace

CMEgg::CMEgg(int32_t px, int32_t py, int32_t eggFuse) {
    speed = 0;
    x = px;
    y = py;
    kind = kKindEgg;
    dir = 1;
    wrapPosition();
    prevX = x;
    prevY = y;
    fuse = eggFuse;
    hitPoints = 1;
    deathSound = kBangSound;
    spawning = false;  // laid in place: no materialising
    disks = 0;
    for (uint16_t& c : burstColours) c = kColour;
    damage = kBlastDamage;
}

void CMEgg::setup() {
    loadDirectionImages(kFirstImage);
}

void CMEgg::update() {
    --fuse;
    // A quarter turn every second frame of the last 120.
    if (fuse < kSpinFrames && (fuse & 1) != 0) dir = (dir + 1) & 3;
    CWorld::instance().fileAt(this, false);
    if (fuse == 0) die(0);
}

void CMEgg::onTouch(CGameObject& other) {
    switch (other.kind) {
        case kKindBullet:
        case kKindSpitBullet:
        case kKindTeleBullet:
        case kKindRocket:
            takeDamage(other);  // one hit point: it goes off
            break;
        default:
            break;
    }
}

void CMEgg::die(int32_t killer) {
    // The bang comes after the blast: eggs set off by this one are heard before it. An egg
    // never scores, whoever set it off.
    markDead(killer);
    for (int i = 0; i < 4; ++i) burstColours[i] = kBlastColours[i];
    explode(*this, 0, kRingColour);
    CSoundManager::instance().playSampleAt(deathSound, x >> 6, y >> 6, 1);
}
