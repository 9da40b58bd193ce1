#pragma once
// A level as text: a header of "key: value" lines (ceiling, first-wave, monsters, and tile
// declarations), then 29 rows of 40 tile characters; ';' starts a comment anywhere.
// levels/README.md describes the format for level authors.

#include <cstdint>
#include <string>
#include <string_view>

#include "Problems.h"
#include "world/MapRecord.h"

// The characters every level may use.
constexpr char kFloorChar = '.';
constexpr char kWallChars[4] = {'#', '%', '@', '&'};  // wall styles 1..4

// A parsed level with the places of its parts, for messages.
struct SLevelSource {
    std::string path;
    SMapRecord map;
    bool complete = false;    // header and maze all read without a problem
    bool mazeWhole = false;   // 29 rows of 40 known tiles, whatever the header says
    int32_t ceilingLine = 0;  // lines of the header keys (0 when missing)
    int32_t firstWaveLine = 0;
    int32_t monstersLine = 0;
    int32_t monsterColumns[kMonsterTypeSlots] = {};  // column of each name on its line
    int32_t gridLines[kMazeRows] = {};               // line of each maze row
};

// Parses text read from path. Problems are appended; `complete` tells whether the map is whole.
SLevelSource parseLevel(const std::string& path, std::string_view text, ProblemList& problems);

// The text of a map, which parseLevel reads back to the same map. Tile values without a
// character of their own (5..255) get a letter through a tile declaration. `comment` becomes
// the first line. Lossless except for unused monster slots and, in a map with more than 62
// different such values, the rarest of them (counted in `merged`).
std::string formatLevel(const SMapRecord& map, const std::string& comment, int32_t& merged);
