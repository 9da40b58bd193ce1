#pragma once
// One maze of the level file with the numbers that drive its monster waves.

#include <cstdint>
#include <memory>
#include <vector>

constexpr int32_t kMazeColumns = 40;
constexpr int32_t kMazeRows = 29;
constexpr int32_t kMazeTiles = kMazeColumns * kMazeRows;
// Room for monster types in a record; a longer list in a file is cut to this.
constexpr int32_t kMonsterTypeSlots = 8;

// The type numbers the monster factory makes a monster of: the sixteen fighters (0..15) and the
// dummy (22). Any other number in a map's list places nothing.
constexpr bool makesMonster(uint8_t type) {
    return type < 16 || type == 22;
}

struct SMapRecord {
    uint8_t tiles[kMazeTiles] = {};                // column-major: column * 29 + row; 0 = floor
    uint8_t monsterTypes[kMonsterTypeSlots] = {};  // factory type numbers; the first
                                                   // monsterTypeCount are used
    uint8_t monsterTypeCount = 0;                  // 0..8; 0 = the level makes no monsters
    uint8_t maxMonsters = 0;                       // a refill starts only below this many alive
    uint8_t firstWave = 0;                         // monsters the first wave places

    uint8_t tileAt(int32_t column, int32_t row) const { return tiles[column * kMazeRows + row]; }
};

// The maps of the level file in file order; the level owns them for the whole run.
using MapList = std::vector<std::unique_ptr<SMapRecord>>;
