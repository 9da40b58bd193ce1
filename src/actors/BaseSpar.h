#pragma once
// The disk: the pickup of the game. It lies in the maze, slowly spinning; whoever walks into it
// (the player or a monster) collects it: a hit point, a disk carried and, for three of its four
// types, a power-up. Five disks carried by the player complete the level.

#include <cstdint>

#include "world/GameObject.h"

class CBaseSpar : public CGameObject {
public:
    enum EType : int32_t { kUnchosen = -1, kPlain = 0, kSpeed = 1, kRapidFire = 2, kShield = 3 };

    CBaseSpar();

    // Chooses the type when none was set (plain on early levels; power-ups come with the level
    // number), then takes the type's images and colours.
    void setup() override;
    void update() override;
    void die(int32_t killer) override;
    // Disks cannot be destroyed.
    void takeDamage(CGameObject&) override {}
    // The power-up of the disk's type.
    void giveTo(CGameObject& collector) override;

    int32_t diskType = kUnchosen;
    int32_t animCounter = 0;  // frames since the last animation step
};
