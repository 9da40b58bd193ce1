#include "support/GameTest.h"

#include "platform/Input.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "sound/SoundMixer.h"
#include "world/GameState.h"
#include "world/Level.h"
#include "world/Random.h"

void resetGameSingletons() {
    CGameState::resetInstance();
    CScreen::resetInstance();
    CInput::resetInstance();
    CLevel::resetInstance();
    // The manager holds the mixer: it goes first.
    CSoundManager::resetInstance();
    CSoundMixer::resetInstance();
    seedGameRand(1);
}
