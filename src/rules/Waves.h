#pragma once
// The wave schedule of a level: the first wave in batches, refills below the level's ceiling of
// monsters alive, and a fresh disk now and then. Measured in drawn frames.

#include <cstdint>

class CLevel;

// Once per drawn frame: brings monsters in batches and refills, and now and then a disk.
void updateWaves(CLevel& level, int32_t monstersAlive);
