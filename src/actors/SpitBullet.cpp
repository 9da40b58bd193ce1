#include "actors/SpitBullet.h"

namespace {
constexpr uint16_t kColours[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0x83F0};
}

CSpitBullet::CSpitBullet(int32_t px, int32_t py, int32_t direction, int32_t shotSpeed)
    : CBaseBullet(kKindSpitBullet, px, py, direction, shotSpeed, kColours) {}

void CSpitBullet::setup() {
    loadDirectionImages(105);
}
