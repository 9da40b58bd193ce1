#pragma once
// The monsters that fight by biting: CMLemonShark (a fast rammer), CMBiter (grows faster,
// tougher and quicker to bite with every kill; its jaws open and shut) and CMBeav (homes in on
// the player at every junction). A shell is bitten only head-on.

#include "actors/BaseMonster.h"

class CMLemonShark : public CBaseMonster {
public:
    CMLemonShark();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject& victim) override;
    int32_t think() override;
};

class CMBiter : public CBaseMonster {
public:
    CMBiter();
    void setup() override;
    // Its jaws open and shut every 15 drawn frames.
    void draw() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject& victim) override;
    int32_t think() override;

private:
    // A kill makes it faster, tougher and quicker to bite again.
    void levelUp();

    uint32_t lastJawFrame = UINT32_MAX;  // frame counter at the last draw
};

class CMBeav : public CBaseMonster {
public:
    CMBeav();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject& victim) override;
    int32_t think() override;
    bool randomTurn() override { return homingTurn(); }
};
