#pragma once
// The level being played: its number, the working copy of its maze with the queries every
// moving actor asks, the bookkeeping of its waves and extra life, and the maps of the level
// file, which it owns for the whole run.

#include <cstdint>
#include <memory>
#include <string>

#include "world/MapRecord.h"

class CLevel {
public:
    static CLevel& instance();
    // Back to the values of a fresh start (tests and tools only; the game never destroys it).
    static void resetInstance();

    CLevel() = default;
    CLevel(const CLevel&) = delete;
    CLevel& operator=(const CLevel&) = delete;

    // --- maze queries -------------------------------------------------------------------
    // Wraps one step past an edge (-1 is column 39, 40 is column 0; rows alike), so a
    // neighbour of any tile of the grid can be asked. Only floor (0) is free.
    bool isFree(int32_t tileX, int32_t tileY) const;
    // isFree of the neighbour in dir (0 left, 1 up, 2 right, 3 down); false for any other dir.
    bool isOpen(int32_t tileX, int32_t tileY, int32_t dir) const;
    // Rolls tiles until one is floor: column first, then row, as every replay expects.
    void randomFreeTile(int32_t& tileX, int32_t& tileY) const;

    // --- maps ---------------------------------------------------------------------------
    // Makes map n (cyclically) current and copies its maze. False, changing nothing, when the
    // level file gave no map.
    bool loadLevel(int32_t n);
    // The practice maze of the title screen: a walled box where only the dummy lives.
    void loadTutorialMap();
    // Reads maps.dat from the first place findMapFile knows. False when there is none (maps
    // stays null). Meant to run once at start-up: records of an earlier load are freed.
    bool loadMaps();
    // The same from a given file.
    bool loadMapsFrom(const std::string& path);
    // Map n mod the number of maps (a negative n counts back from the end); null when none.
    SMapRecord* mapAt(int32_t n) const;

    // Called by the level start before it advances the level number: the level just finished
    // becomes the best one reached, up to the last start level the menu offers.
    void recordBestLevel() const;

    static constexpr int32_t kBestLevelLimit = 8;

    bool extraLifeGiven = false;                  // the score rule granted this level's life
    int32_t levelNumber = -16;                    // from 0 for a game's first level
    int32_t tiles[kMazeColumns][kMazeRows] = {};  // [column][row]; 0 = floor
    SMapRecord* currentMap = nullptr;             // the map tiles came from
    int32_t spawnedCount = 0;                     // monsters placed in the current wave
    int32_t waveQuota = 0;                        // monsters the current wave places
    bool refillMode = false;                      // the first wave is over
    uint32_t lastWaveFrame = UINT32_MAX;          // frame counter at the last updateWaves
    std::unique_ptr<MapList> maps;                // the level file's maps; null without one
    std::unique_ptr<SMapRecord> tutorialMap;      // built on first use, kept for the run

private:
    void copyTiles(const SMapRecord& map);
    void dropMaps();
};
