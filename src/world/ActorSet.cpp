#include "world/ActorSet.h"

#include <algorithm>

bool CActorSet::insert(CGameObject* actor) {
    const auto at = std::lower_bound(items_.begin(), items_.end(), actor, SSerialLess());
    if (at != items_.end() && *at == actor) return false;
    items_.insert(at, actor);
    return true;
}

bool CActorSet::erase(const CGameObject* actor) {
    const auto at = std::lower_bound(items_.begin(), items_.end(), actor, SSerialLess());
    if (at == items_.end() || *at != actor) return false;
    items_.erase(at);
    return true;
}

bool CActorSet::contains(const CGameObject* actor) const {
    const auto at = std::lower_bound(items_.begin(), items_.end(), actor, SSerialLess());
    return at != items_.end() && *at == actor;
}
