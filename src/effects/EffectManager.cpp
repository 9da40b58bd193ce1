#include "effects/EffectManager.h"

#include "effects/ParticleSystem.h"
#include "render/Screen.h"
#include "state/GameState.h"

namespace {
CEffectManager* gInstance = nullptr;
}

CEffectManager& CEffectManager::instance() {
    if (!gInstance) gInstance = new CEffectManager;
    return *gInstance;
}

void CEffectManager::resetInstance() {
    if (gInstance) gInstance->clear();
    delete gInstance;
    gInstance = nullptr;
}

void CEffectManager::spawnParticles(int32_t x, int32_t y, int32_t sizeClass, bool implode,
                                    const uint16_t colours[4]) {
    add(new CParticleSystem(x, y, sizeClass, implode, colours));
}

void CEffectManager::updateAndDraw() {
    const bool frozen = CGameState::instance().menuOpen;
    uint16_t* surface = CScreen::instance().surface();
    // Done effects are deleted on the way; the rest close up behind them, keeping their order.
    size_t kept = 0;
    for (size_t i = 0; i < effects_.size(); ++i) {
        CEffect* effect = effects_[i];
        if (!effect->done) {
            if (!frozen) effect->update();
            effect->draw(surface);
        }
        if (effect->done)
            delete effect;
        else
            effects_[kept++] = effect;
    }
    effects_.resize(kept);
}

void CEffectManager::clear() {
    for (CEffect* effect : effects_) delete effect;
    effects_.clear();
}
