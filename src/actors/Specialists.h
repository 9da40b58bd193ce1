#pragma once
// The monsters with a weapon of their own: CMChicken drops time-bomb eggs in the path of its
// enemies and runs away, CMEye burns an enemy in its line with an instant laser, CMGrenadeer lobs
// grenades over the walls at anything hostile within four tiles while keeping its distance, and
// CMGrim catches enemies and disks with its tongue, reels them in and swallows them.

#include "actors/BaseMonster.h"

class CMChicken : public CBaseMonster {
public:
    CMChicken();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject&) override {}
    // Walks toward harmless things it sees; leaves an egg between itself and an enemy and flees.
    int32_t think() override;

private:
    // An egg in the next tile that way, unless something is already there.
    void layEgg(int32_t direction);
};

class CMEye : public CBaseMonster {
public:
    CMEye();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject&) override {}
    // Faces an enemy only when it can fire at once; turns away from one ahead while it reloads.
    int32_t think() override;

private:
    // The beam and its hit, both at once; a shell is burnt only head-on.
    void fireLaser(int32_t direction, CGameObject& target);
};

class CMGrenadeer : public CBaseMonster {
public:
    CMGrenadeer();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject&) override {}
    // Throws at the first enemy within four tiles, walls or not; keeps out of the line of
    // enemies it sees and walks toward disks.
    int32_t think() override;

private:
    // From the centre of its box to the centre of the target's, at a target position in 1/8
    // pixel.
    void throwGrenade(int32_t targetX, int32_t targetY);
};

class CMGrim : public CBaseMonster {
public:
    CMGrim();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    // Swallows the victim as a ghost does; a disk is collected, and a speed disk from level
    // number 10 on makes the tongue stronger.
    void attack(CGameObject& victim) override;
    // Reels in what it sees ahead; turns to enemies and disks behind or aside.
    int32_t think() override;

    int32_t pullStrength = 1;  // 1/8 pixels the tongue reels a victim in per update

private:
    // The tongue, drawn into the picture being composed, and one pull along it.
    void pullWithTongue(int32_t direction, CGameObject& target);
};
