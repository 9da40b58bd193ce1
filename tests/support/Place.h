#pragma once
// Puts actors into the world as they are after their appearance: added, visible, filed.

#include "world/World.h"

template <class T>
T* present(T* actor, int32_t x, int32_t y) {
    actor->x = actor->prevX = x;
    actor->y = actor->prevY = y;
    actor->spawning = false;
    actor->appearDelay = 0;
    CWorld& world = CWorld::instance();
    world.add(actor);
    world.fileAt(actor, false);
    return actor;
}

// Runs the world for a number of updates.
inline void runWorld(int updates) {
    for (int i = 0; i < updates; ++i) CWorld::instance().update();
}

// Whether the world still holds an actor (it deletes the dead ones as its walk reaches them).
inline bool inWorld(const CGameObject* actor) {
    for (const CGameObject* a : CWorld::instance().objects)
        if (a == actor) return true;
    return false;
}
