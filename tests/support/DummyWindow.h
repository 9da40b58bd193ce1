#pragma once
// The desktop window on SDL's dummy display (no screen needed), with a virtual standard
// controller to plug in: for tests of what SDL hands the game. SDL's hints, not the environment,
// which games that later tests start would inherit. No window of the dummy display has the
// focus, and SDL keeps a controller's moves from a window without it unless told otherwise.

#ifdef BOLTFEVER_TEST_WITH_SDL

#include <SDL.h>

#include <memory>
#include <string>

#include "platform/Backend.h"

class CDummyWindow {
public:
    // Opens the window (muted) and starts the platform layer on it.
    bool open(std::string& error);
    // Pulls out the controller, shuts the platform layer down and closes the window.
    void close();
    // A standard controller plugged in; the game sees it from its next poll on.
    bool plugIn(std::string& error);
    void pullOut();

    std::unique_ptr<CBackend> window;
    SDL_Joystick* pad = nullptr;
    int device = -1;
};

#endif
