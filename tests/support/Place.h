#pragma once
// Puts actors into the world as they are after their appearance: added, visible, filed.

#include <memory>

#include "actors/BaseMonster.h"
#include "actors/BaseSpar.h"
#include "actors/SpitBullet.h"
#include "rules/MonsterFactory.h"
#include "support/TestActor.h"
#include "world/Level.h"
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

// A monster of a level-file type number, made by the factory, present at (x, y) facing dir and
// ready to attack.
template <class M = CBaseMonster>
M* presentMonster(int32_t type, int32_t x, int32_t y, int32_t dir) {
    M* monster = static_cast<M*>(createMonster(type));
    present(monster, x, y);
    monster->dir = dir;
    monster->fireCooldown = 0;
    return monster;
}

// A plain actor of a kind present at (x, y) with that many hit points.
inline CTestActor* presentTarget(int32_t kind, int32_t x, int32_t y, int32_t hitPoints) {
    CTestActor* actor = present(new CTestActor(kind), x, y);
    actor->hitPoints = hitPoints;
    return actor;
}

// How many actors of a kind the world holds, the dead ones it has not yet deleted included.
inline int countOfKind(int32_t kind) {
    int n = 0;
    for (const CGameObject* a : CWorld::instance().objects) n += a->kind == kind;
    return n;
}

// Whether any cell of the index holds an actor.
inline bool filedAnywhere(const CGameObject* actor) {
    for (const auto& column : CWorld::instance().cells)
        for (const CActorSet& cell : column)
            if (cell.contains(actor)) return true;
    return false;
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

// Something of a kind to touch an actor with, not in the world: a spit shot (which files itself
// where it is made), a plain disk, or a plain actor of that kind; each does 1 damage.
inline std::unique_ptr<CGameObject> toucher(int32_t kind, int32_t x, int32_t y) {
    std::unique_ptr<CGameObject> other;
    if (kind == kKindSpitBullet)
        other = std::make_unique<CSpitBullet>(x, y, 0, 1);
    else if (kind == kKindDisk)
        other = std::make_unique<CBaseSpar>();
    else
        other = std::make_unique<CTestActor>(kind, x, y);
    other->damage = 1;
    return other;
}
