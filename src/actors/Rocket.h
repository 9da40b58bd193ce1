#pragma once
// The rocketeer's rocket: it flies like a shot and explodes where it ends, hurting everything in
// the 5 x 5 tiles around; other rockets, eggs and shots in reach go off with it.

#include "actors/BaseBullet.h"

class CRocket : public CBaseBullet {
public:
    CRocket(int32_t x, int32_t y, int32_t direction, int32_t speed);
    void setup() override;
    void draw() override { CGameObject::draw(); }
    void die(int32_t killer) override;
};
