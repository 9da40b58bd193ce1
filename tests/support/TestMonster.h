#pragma once
// A monster for tests of the shared monster rules: its think returns what the test sets, its
// enemies are the kinds the test names, and it counts its attacks.

#include "actors/BaseMonster.h"

class CTestMonster : public CBaseMonster {
public:
    explicit CTestMonster(int32_t monsterKind = kKindSoldier) {
        kind = monsterKind;
        speed = 1;
    }
    void setup() override {}
    bool isEnemy(const CGameObject& other) const override {
        return !isFriendly(other) && other.kind == enemyKind;
    }
    void attack(CGameObject&) override { ++attacks; }
    int32_t think() override {
        if (dieInThink) die(0);
        return thinkResult;
    }

    int32_t enemyKind = kKindPlayer;
    int32_t thinkResult = 0;
    int attacks = 0;
    bool dieInThink = false;
};
