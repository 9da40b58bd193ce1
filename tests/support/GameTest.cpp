#include "support/GameTest.h"

#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "platform/Controls.h"
#include "platform/ControlsPage.h"
#include "platform/Input.h"
#include "platform/PlayerInput.h"
#include "platform/Pointer.h"
#include "platform/Session.h"
#include "platform/WorldClient.h"
#include "render/ScorePanel.h"
#include "render/Screen.h"
#include "shell/GameHooks.h"
#include "shell/Menu.h"
#include "sound/SoundManager.h"
#include "sound/SoundMixer.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "state/HighScores.h"
#include "state/Random.h"
#include "support/Maze.h"
#include "world/Level.h"
#include "world/World.h"

void resetGameSingletons() {
    // The world first: it deletes the actors it holds, the player among them.
    CWorld::resetInstance();
    CPlayer::forgetAll();
    CPlayer::resetStatics();
    CWorld::resetInstance();
    CEffectManager::resetInstance();
    CLevel::resetInstance();
    CSession::resetInstance();
    CWorldClient::resetInstance();
    CGameReport::resetInstance();
    CMenu::resetInstance();
    CControls::resetInstance();
    CControlsPage::resetInstance();
    CPlayerInput::resetInstance();
    clearPointerTargets();
    resetScorePanelFlash();
    CGameState::resetInstance();
    CHighScores::resetInstance();
    CScreen::resetInstance();
    CInput::resetInstance();
    // The manager holds the mixer: it goes first.
    CSoundManager::resetInstance();
    CSoundMixer::resetInstance();
    seedGameRand(1);
    wireGameHooks();
}

void CPlayTest::SetUp() {
    CGameTest::SetUp();
    CGameState::instance().tutorial = false;
    loadTestMaze();
}
