#pragma once
// The title screen: the title picture with a playable tutorial in a walled box at the bottom of
// the maze. A timed script slides help lines in one after another and brings in practice
// targets, disks and finally one real monster, then clears the box and shows the credits, while
// "PRESS "START"" pulses below. Releasing START opens the title menu: NEW GAME, RESUME TUTORIAL,
// SETTINGS, QUIT. Once the player has high scores, a small line in the corner offers them on
// SELECT, which the title's play leaves unused: releasing it leaves for their page.

#include <cstdint>

class CTitleScreen {
public:
    static constexpr int32_t kScriptSteps = 10;
    static constexpr int32_t kPlay = 0;
    static constexpr int32_t kQuit = 1;
    static constexpr int32_t kScores = 2;

    // Runs the screen until the player starts a game (0, with the level number set for it),
    // quits (1: closing the window or a signal quits too), or asks for the high scores (2).
    int32_t run();

    // --- its parts, for tests
    // The set-up: tutorial mode, one life, the picture, the practice maze, the title music.
    void begin();
    // One iteration; false once the screen is to be left.
    bool iterate();
    // Leaves the tutorial behind (an empty world, a fresh player to come) and gives the result.
    int32_t finish();
    // The action of one step of the script (its help line aside).
    void runStep(int32_t index);

    int32_t step = 0;           // next script step
    int32_t lastStep = -1;      // the last step carried out
    int32_t textIndex = 0;      // help line showing
    int32_t textX = 0;          // where it is centred; it slides in from the right
    int32_t textTargetX = 0;    //
    int32_t pulse = 10;         // brightness of the prompt
    int32_t pulseStep = 1;      //
    bool startLatched = false;  // START pressed with no menu open
    bool selectHeld = false;    // SELECT pressed with no menu open, high scores kept
    bool leave = false;
    int32_t result = kPlay;

private:
    void drawCredits(uint16_t* surface) const;
};

// The help lines, in the order they come (the first is empty).
extern const char* const kHelpLines[CTitleScreen::kScriptSteps];
