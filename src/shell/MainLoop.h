#pragma once
// The game's frame: start-up, the loop that alternates a drawn iteration with a logic-only one,
// the three situations that interrupt play (the in-game menu, GAME OVER, LEVEL COMPLETE), and the
// exit sequence.

#include <cstdint>

class CScreen;

class CMainLoop {
public:
    // Runs the start-up steps; false (status 1) when the audio device cannot be opened.
    bool startUp(uint32_t seed);
    // Runs the title screen and the first level start; false when the player chose to quit.
    bool enterGame();
    // One iteration of the loop. False once the loop is to be left.
    bool iterate();
    // The exit sequence. Returns the process status.
    int shutDown();

    // Handles START for this iteration (latched on press, the menu opens on release).
    void handleStart();

    bool quitRequested = false;
    bool drawIteration = true;    // the next iteration composes and presents a picture
    bool startLatched = false;    // START seen pressed while no menu was open
    int32_t gameOverScale = 700;  // GAME OVER letter size, 1/256 units
    int32_t gameOverStep = 8;

private:
    CScreen* screen_ = nullptr;
};

// The whole program after the command line: start-up, title, play, exit. Returns the status.
int runMainLoop(uint32_t seed);
