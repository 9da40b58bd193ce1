#pragma once
// The chicken's egg: a time bomb. It sits where it was laid, starts to spin in its last 120
// frames and explodes when its fuse runs out or a shot hits it, hurting everything in the 5 x 5
// tiles around for 2 points; other eggs in reach go off with it.

#include <cstdint>

#include "world/GameObject.h"

class CMEgg : public CGameObject {
public:
    // Laid at (x, y), 1/8 pixel, going off after `fuse` updates (the chicken gives 160).
    CMEgg(int32_t x, int32_t y, int32_t fuse);

    // The four directions are four turning phases of the egg.
    void setup() override;
    void update() override;
    // The explosion; an egg never scores, whoever set it off.
    void die(int32_t killer) override;
    // A shot of any kind sets it off; anything else only bumps into it.
    void onTouch(CGameObject& other) override;

    int32_t fuse = 0;  // updates until the egg explodes
};
