#include "shell/MainLoop.h"

#include "platform/Input.h"
#include "platform/Platform.h"
#include "render/Screen.h"
#include "world/GameState.h"
#include "world/Random.h"

bool CMainLoop::startUp(uint32_t seed) {
    screen_ = &CScreen::instance();
    screen_->loadTileImages();
    seedGameRand(seed);
    screen_->setFramePeriod(130);
    return true;
}

bool CMainLoop::enterGame() {
    CGameState::instance().tutorial = false;
    if (quitRequested) return false;
    screen_->clear();
    screen_->present(true);
    drawIteration = true;
    startLatched = false;
    gameOverScale = 700;
    gameOverStep = 8;
    return true;
}

bool CMainLoop::iterate() {
    CGameState& state = CGameState::instance();
    CInput& input = CInput::instance();
    const bool drawing = drawIteration;
    drawIteration = !drawIteration;

    input.poll();
    if (drawing) {
        if (!state.menuOpen) ++state.frameCounter;
        screen_->clear();
    }
    if (drawing) screen_->present(false);
    handleStart();
    if (platformQuitRequested()) quitRequested = true;
    return !quitRequested;
}

void CMainLoop::handleStart() {
    CGameState& state = CGameState::instance();
    const bool startDown = CInput::instance().start != 0;
    if (!state.menuOpen && startDown && !startLatched && !state.gameOver) {
        startLatched = true;
    } else if (!state.menuOpen && !startDown && startLatched) {
        // The menu opens on the release, never while the game is over.
        if (!state.gameOver) {
            state.menuOpen = true;
            startLatched = false;
        }
    }
}

int CMainLoop::shutDown() {
    platformShutdown();
    return 0;
}

int runMainLoop(uint32_t seed) {
    CMainLoop loop;
    if (!loop.startUp(seed)) return 1;
    if (loop.enterGame())
        while (loop.iterate()) {
        }
    return loop.shutDown();
}
