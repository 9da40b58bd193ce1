#pragma once
// The wizard's shot: whatever it hits is sent to a random spawn point.

#include "actors/BaseBullet.h"

class CTeleBullet : public CBaseBullet {
public:
    CTeleBullet(int32_t x, int32_t y, int32_t direction, int32_t speed);
    void setup() override;
    void draw() override { CGameObject::draw(); }
};
