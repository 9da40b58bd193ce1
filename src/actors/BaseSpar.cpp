#include "actors/BaseSpar.h"

#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "state/Random.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

struct SDiskLook {
    int firstImage;
    uint16_t colour;
};

constexpr SDiskLook kLook[4] = {{31, 0xFFFF}, {25, 0x6B5F}, {28, 0xF800}, {109, 0x05C0}};

}  // namespace

CBaseSpar::CBaseSpar() {
    kind = kKindDisk;
    animFrame = gameRand() % 3;
}

void CBaseSpar::setup() {
    if (diskType == kUnchosen) {
        const int32_t level = CLevel::instance().levelNumber;
        const int32_t r = gameRand() % 50;
        if (r <= 9)
            diskType = level >= 4 ? kSpeed : kPlain;
        else if (r <= 18)
            diskType = level >= 7 ? kRapidFire : kPlain;
        else if (r <= 25)
            diskType = level >= 10 ? kShield : kPlain;
        else
            diskType = kPlain;
    }
    const SDiskLook& look = kLook[diskType >= kPlain && diskType <= kShield ? diskType : kPlain];
    for (int d = 0; d < 4; ++d)
        for (int f = 0; f < 3; ++f) images[d * 3 + f] = CScreen::getImage(look.firstImage + f);
    for (uint16_t& c : burstColours) c = look.colour;
}

void CBaseSpar::update() {
    if (!appear()) return;
    if (++animCounter > 10) {
        animCounter = 0;
        animFrame = (animFrame + 1) % 3;
    }
}

void CBaseSpar::giveTo(CGameObject& collector) {
    switch (diskType) {
        case kSpeed:
            collector.speed = collector.fastSpeed;
            break;
        case kRapidFire:
            collector.fireDelay = collector.fastFireDelay;
            break;
        case kShield:
            collector.shieldTimer += 1500;
            if (collector.shieldTimer > 3000) collector.shieldTimer = 3000;
            break;
        default:
            break;
    }
}

void CBaseSpar::die(int32_t killer) {
    CWorld::instance().fileAt(this, true);
    markDead(killer);
    CSoundManager::instance().playSampleAt(9, x >> 6, y >> 6, 1);
}
