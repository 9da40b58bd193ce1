#pragma once
// The scorpion's spit: it hurts like a shot and freezes its victim for a while.

#include "actors/BaseBullet.h"

class CSpitBullet : public CBaseBullet {
public:
    CSpitBullet(int32_t x, int32_t y, int32_t direction, int32_t speed);
    void setup() override;
    void draw() override { CGameObject::draw(); }

    int32_t stunTime = 90;  // frames the victim stays frozen
};
