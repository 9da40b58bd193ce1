#pragma once
// The game's frame: start-up, the loop that alternates a drawn iteration with a logic-only one,
// the three situations that interrupt play (the in-game menu, GAME OVER, LEVEL COMPLETE), and the
// exit sequence.

#include <cstdint>
#include <string>

class CPlayer;
class CScreen;

// How a run starts and what it leaves behind.
struct SGameSetup {
    uint32_t seed = 0;
    int32_t startLevel = 0;  // a level to start at directly (1-based); 0 = as usual
    std::string reportPath;  // JSON summary written at the end; empty = none
};

class CMainLoop {
public:
    // The start-up steps up to the title screen. False when the audio device cannot be opened:
    // the program then ends with status 1.
    bool startUp(const SGameSetup& setup);
    // What the title screen leaves behind, then the first level start. False when the player
    // chose to quit instead.
    bool enterGame();
    // One iteration of the loop. False once the loop is to be left.
    bool iterate();
    // The exit sequence, then the report. Returns the process status.
    int shutDown();

    // Handles START for this iteration: latched on press, the menu opens on release.
    void handleStart();

    bool quitRequested = false;
    bool drawIteration = true;    // this iteration composes and presents a picture
    bool startLatched = false;    // START seen pressed while no menu was open
    int32_t gameOverScale = 700;  // GAME OVER letter size, 1/256 units
    int32_t gameOverStep = 8;
    CPlayer* player = nullptr;  // player 1, re-read in every drawn iteration

private:
    void drawGameOver();
    void runPauseMenu();
    // Both menus' NEW GAME: a fresh player at the chosen start level.
    void newGame();
    // Five disks carried by a live player, with the game still on.
    bool levelIsComplete() const;
    void levelComplete();

    bool writeReport() const;

    SGameSetup setup_;
    CScreen* screen_ = nullptr;
};

// The whole program after the command line: start-up, play, exit. Returns the status.
int runMainLoop(const SGameSetup& setup);
