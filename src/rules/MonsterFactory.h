#pragma once
// The monster factory: from a type number of the level file to a monster, set up and not yet
// placed.

#include <cstdint>

class CBaseMonster;
class CLevel;

// A new monster of a type number; null for a number without a class.
CBaseMonster* createMonster(int32_t type);
// One of the level's current map's types at random; null when the map lists none.
CBaseMonster* createRandomMonster(const CLevel& level);
