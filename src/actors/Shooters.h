#pragma once
// The monsters that shoot: CMSoldier (slow shots in all four directions), CMJoust (fast shots,
// runs after disks), CMLBug (shoots while holding its course; its shell covers its back and
// sides), CMWizard (tele-bullets), CMScorp (freezing spit) and CMRocketeer (rockets, never
// point-blank); and CMDummy, the harmless target everyone shoots at.

#include "actors/BaseMonster.h"

class CMSoldier : public CBaseMonster {
public:
    CMSoldier();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject&) override {}
    int32_t think() override;

private:
    void shoot(int32_t direction);
};

class CMJoust : public CBaseMonster {
public:
    CMJoust();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject&) override {}
    int32_t think() override;

private:
    void shoot(int32_t direction);
};

class CMLBug : public CBaseMonster {
public:
    CMLBug();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject&) override {}
    int32_t think() override;
    // Only the front is soft: shots from behind or the side glance off.
    void onTouch(CGameObject& other) override;

private:
    void shoot(int32_t direction);
};

class CMWizard : public CBaseMonster {
public:
    CMWizard();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject&) override {}
    int32_t think() override;

private:
    void shoot(int32_t direction);
};

class CMScorp : public CBaseMonster {
public:
    CMScorp();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject&) override {}
    int32_t think() override;

private:
    void shoot(int32_t direction);
};

class CMRocketeer : public CBaseMonster {
public:
    CMRocketeer();
    void setup() override;
    bool isEnemy(const CGameObject& other) const override;
    void attack(CGameObject&) override {}
    int32_t think() override;

private:
    void shoot(int32_t direction);
    // Pixels to another actor along a line of fire, without the maze's wrap.
    int32_t axisPixelDistance(const CGameObject& other, int32_t direction) const;
};

class CMDummy : public CBaseMonster {
public:
    CMDummy();
    void setup() override;
    bool isEnemy(const CGameObject&) const override { return false; }
    void attack(CGameObject&) override {}
};
