#pragma once
// A plain actor for tests: it counts its updates and can be told to die in one.

#include "world/GameObject.h"

class CTestActor : public CGameObject {
public:
    explicit CTestActor(int32_t actorKind = kKindDummy, int32_t px = 0, int32_t py = 0) {
        kind = actorKind;
        x = prevX = px;
        y = prevY = py;
    }
    void setup() override {}
    void update() override {
        ++updates;
        if (dieInUpdate) dead = true;
        if (onUpdate) onUpdate(*this);
    }

    int updates = 0;
    bool dieInUpdate = false;
    void (*onUpdate)(CTestActor&) = nullptr;
};
