#pragma once
// The game's frame: start-up, the loop that alternates a drawn iteration with a logic-only one,
// the three situations that interrupt play (the in-game menu, GAME OVER, LEVEL COMPLETE), and the
// exit sequence.

#include <cstdint>
#include <string>
#include <vector>

#include "shell/GameEnd.h"
#include "shell/GameStart.h"
#include "state/HighScores.h"

class CPlayer;
class CScreen;

// How a run starts and what it leaves behind.
struct SGameSetup {
    uint32_t seed = 0;
    int32_t startLevel = 0;  // a level to start at directly (1-based); 0 = as usual
    std::string reportPath;  // JSON summary written at the end; empty = none
    bool demo = false;       // the automatic player's: no high score of its run counts
};

class CMainLoop {
public:
    // The start-up steps up to the title screen. False when the audio device cannot be opened:
    // the program then ends with status 1.
    bool startUp(const SGameSetup& setup);
    // What the title screen leaves behind, then the first level start. False when the player
    // chose to quit instead.
    bool enterGame();
    // A game from a recorded start (a game's replay, or an entry watched), with the maps loaded:
    // the level start at `startLevel` (from 1) between the two halves of `start`. The loop then
    // ends where the recording ends, at the first poll it does not hold. Its end is judged
    // against `table`, the high scores as the game found them, so that a recording that goes on
    // through its initials plays them as they were entered; the entry is reported, not kept.
    void enterRecordedGame(const SGameStart& start, int32_t startLevel,
                           const std::vector<uint8_t>& table);
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
    // A game has started (NEW GAME, or the first level): its first poll comes next.
    void gameStarts();
    void beginGame();
    // GAME OVER has just come: a score that makes the table is entered.
    void gameEnds();
    // The initials are done and the score is final: the entry goes into the table.
    void keepEntry();
    // The game's end was judged and made no entry: its recording is not needed.
    void dropRecording();
    bool recordingOver() const;
    // The title screen, and the high scores' page when the title leaves for it. False when the
    // player quits there.
    bool runTitle();
    void loadMapsOnce();
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
    bool mapsLoaded_ = false;
    // High scores: games are recorded to be kept (a player's own run), and a score that makes
    // the table takes initials (a player's run, live or played back).
    bool recordGames_ = false;
    bool takeEntries_ = false;
    bool endsWithRecording_ = false;  // a recorded game: the loop ends where its recording does
    bool gameStarting_ = false;       // a game's first poll comes next
    bool gameOn_ = false;             // between a game's first poll and its GAME OVER
    SGameStart start_;                // where the game being recorded (or played back) started
    CGameEnd end_;
    CHighScores recordedTable_;  // a recorded game's table, as the game found it
    int32_t endLevel_ = 0;       // the game's level when GAME OVER came (from 1)
};

// The whole program after the command line: start-up, play, exit. Returns the status.
int runMainLoop(const SGameSetup& setup);
