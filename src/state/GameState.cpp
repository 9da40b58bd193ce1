#include "state/GameState.h"

namespace {
CGameState* gInstance = nullptr;
}

CGameState& CGameState::instance() {
    if (!gInstance) gInstance = new CGameState;
    return *gInstance;
}

void CGameState::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}
