#include "support/GameTest.h"

#include "world/GameState.h"
#include "world/Random.h"

void resetGameSingletons() {
    CGameState::resetInstance();
    seedGameRand(1);
}
