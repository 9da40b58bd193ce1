#pragma once
// The monsters that speed up at an enemy they see ahead and finish it by touch, each its own
// way: CMZombie turns what it catches into another zombie, CMBerzerker blows itself up and
// everything around it, CMGhost homes in on the player and swallows its victims.

#include "actors/BaseMonster.h"

class CMZombie : public CBaseMonster {
public:
    CMZombie();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    // The victim becomes a zombie where it stood, carrying its disks.
    void attack(CGameObject& victim) override;
    int32_t think() override;

    int32_t chargeTimer = 0;  // updates left in a charge
};

class CMBerzerker : public CBaseMonster {
public:
    CMBerzerker();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    // It explodes on touching an enemy; nobody scores for it.
    void attack(CGameObject&) override { die(0); }
    int32_t think() override;
    // A berserk one homes in on the player.
    bool randomTurn() override { return berserk ? homingTurn() : CBaseMonster::randomTurn(); }
    // The explosion: a blast that hurts everything within two tiles, chaining.
    void die(int32_t killer) override;

    int32_t chargeTimer = 0;  // updates left in a charge
    bool berserk = false;     // decided at birth, likelier on later levels
};

class CMGhost : public CBaseMonster {
public:
    CMGhost();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    // Swallows the victim; its disks become the ghost's, and hit points with them.
    void attack(CGameObject& victim) override;
    int32_t think() override;
    bool randomTurn() override { return homingTurn(); }

    int32_t chargeTimer = 0;  // updates left in a charge
};
