#pragma once
// What a game starts from besides its level: everything the run leaves behind that the game goes
// on reading. A game recorded from NEW GAME (after the tutorial, after another game, from the
// pause menu) or from --level carries it in its replay; playing the replay puts it back around
// the same level start, so that the game goes picture for picture as it went.
//
// Taken before the level start, which rolls the disks' places: the random generator, wherever
// the tutorial and the games before left it. Taken as the game's first poll finds the run: the
// frame counter (the level start zeroes it), the best level and the menu's start level (both on
// the menu's label), the menu's count of left and right held, a menu a lost focus opened, the
// locator's pulse and the parity that turns it, the score panel's flash, the size of the GAME
// OVER letters, a START held over from the last game, whether the game's first iteration is a
// drawn one, and the initials a new high score's entry begins with (the run's last).
//
// What no start can hold does not reach the game's pictures: the level start clears the effects
// (particles, beams, rings) of before, and the mixer's channels and music are heard, not seen; a
// game's replay keeps no sound hashes.

#include <cstdint>
#include <vector>

#include "render/ScorePanel.h"
#include "state/Random.h"

class CMainLoop;

struct SGameStart {
    SRandomState random{};
    uint32_t frameCounter = 0;
    int32_t bestLevel = 0;
    int32_t startLevelChoice = 0;
    int32_t menuRepeat = 0;
    bool menuOpen = false;
    int32_t locatorScale = 128;
    int32_t locatorScaleStep = 4;
    int32_t playerUpdateParity = 0;
    SScorePanelFlash flash{0, 1};
    int32_t gameOverScale = 700;
    int32_t gameOverStep = 8;
    bool drawIteration = true;
    bool startLatched = false;
    char offeredInitials[4] = "AAA";  // where a new high score's initials begin
};

// Before the level start: the random generator.
void takeRandom(SGameStart& start);
// At the game's first poll: the rest.
void takeRun(SGameStart& start, const CMainLoop& loop);
// Puts back what was taken before the level start.
void putBackRandom(const SGameStart& start);
// Puts back the rest, after the level start.
void putBackRun(const SGameStart& start, CMainLoop& loop);

// The block a replay keeps it in, and back; false for bytes that are not one, or that hold
// values no game reaches.
std::vector<uint8_t> encodeGameStart(const SGameStart& start);
bool decodeGameStart(const std::vector<uint8_t>& bytes, SGameStart& start);
