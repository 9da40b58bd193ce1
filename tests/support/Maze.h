#pragma once
// Mazes for tests, drawn as 29 rows of 40 characters: '#' is wall, anything else floor. Rows
// left out are floor.

#include <initializer_list>
#include <string>

#include "world/Level.h"

inline void loadTestMaze(std::initializer_list<std::string> rows = {}) {
    CLevel& level = CLevel::instance();
    for (auto& column : level.tiles)
        for (int32_t& t : column) t = 0;
    int r = 0;
    for (const std::string& row : rows) {
        for (int c = 0; c < 40 && c < static_cast<int>(row.size()); ++c)
            level.tiles[c][r] = row[c] == '#' ? 1 : 0;
        ++r;
    }
}
