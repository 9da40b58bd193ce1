#include "actors/TeleBullet.h"

namespace {
constexpr uint16_t kColours[4] = {0xFFE0, 0xFFE0, 0xFFE0, 0xFFE0};
}

CTeleBullet::CTeleBullet(int32_t px, int32_t py, int32_t direction, int32_t shotSpeed)
    : CBaseBullet(kKindTeleBullet, px, py, direction, shotSpeed, kColours) {}

void CTeleBullet::setup() {
    loadDirectionImages(69);
}
