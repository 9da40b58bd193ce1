#pragma once
// A small set of actors kept in identity order (creation order), so that every walk over it is
// the same on every run. Backed by a vector that keeps its room: filing actors in the world's
// cells allocates nothing once the game is going.

#include <cstddef>
#include <vector>

#include "world/GameObject.h"

class CActorSet {
public:
    explicit CActorSet(size_t room = 8) { items_.reserve(room); }

    // Adds an actor; one already there changes nothing. True when it was added.
    bool insert(CGameObject* actor);
    // Removes an actor; one not there changes nothing. True when it was removed.
    bool erase(const CGameObject* actor);
    void clear() { items_.clear(); }

    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    CGameObject* front() const { return items_.empty() ? nullptr : items_.front(); }
    bool contains(const CGameObject* actor) const;
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<CGameObject*> items_;
};
