#pragma once
// The flags that switch the main loop between its situations, the frame counter the timed game
// rules are measured against, and the best level reached (kept in the settings file).

#include <cstdint>

class CGameState {
public:
    static CGameState& instance();
    // Back to the values of a fresh start (tests and tools only; the game never destroys it).
    static void resetInstance();

    bool menuOpen = false;      // a menu is showing; the world stands still
    bool gameOver = false;      // the player lost the last life
    bool tutorial = true;       // the title screen's demonstration is running
    uint32_t frameCounter = 0;  // drawn frames while no menu is open
    int32_t bestLevel = 0;      // level number of the last level completed, at most 8
};
