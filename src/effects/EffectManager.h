#pragma once
// Owns every live effect, in the order they were made, and advances and draws them once per
// drawn frame. While the in-game menu is open they are drawn, frozen.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "effects/Effect.h"

class CEffectManager {
public:
    static CEffectManager& instance();
    static void resetInstance();

    // A burst of 8, 16 or 32 particles (size class 0, 1, 2) at pixel (x, y), flying outward or,
    // with implode, converging on it.
    void spawnParticles(int32_t x, int32_t y, int32_t sizeClass, bool implode,
                        const uint16_t colours[4]);
    // Takes ownership of an effect made by the caller.
    void add(CEffect* effect) { effects_.push_back(effect); }
    void updateAndDraw();
    void clear();

    size_t count() const { return effects_.size(); }
    const CEffect* at(size_t i) const { return effects_[i]; }

private:
    CEffectManager() { effects_.reserve(256); }

    std::vector<CEffect*> effects_;
};
