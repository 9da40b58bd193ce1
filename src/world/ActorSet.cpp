#include "world/ActorSet.h"

#include <algorithm>

void CActorSet::insert(CGameObject* actor) {
    const auto at = std::lower_bound(items_.begin(), items_.end(), actor, SSerialLess());
    if (at == items_.end() || *at != actor) items_.insert(at, actor);
}

void CActorSet::erase(const CGameObject* actor) {
    const auto at = std::lower_bound(items_.begin(), items_.end(), actor, SSerialLess());
    if (at != items_.end() && *at == actor) items_.erase(at);
}

bool CActorSet::contains(const CGameObject* actor) const {
    const auto at = std::lower_bound(items_.begin(), items_.end(), actor, SSerialLess());
    return at != items_.end() && *at == actor;
}
