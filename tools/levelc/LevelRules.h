#pragma once
// The rules a level set must keep to play well, as the game moves its actors: corridors one
// tile wide with no dead ends, every floor tile reachable, a way round through both seams,
// seams that repeat the opposite edge and lead straight across, a free start tile, new
// monster kinds brought in two at a time at most, and difficulty that never falls.

#include <string>
#include <vector>

#include "LevelText.h"
#include "Problems.h"

// Checks one complete level on its own.
void checkLevel(const SLevelSource& level, ProblemList& problems);
// Checks what the set as a whole must offer, with the levels in play order.
void checkLevelSet(const std::string& folder, const std::vector<SLevelSource>& levels,
                   ProblemList& problems);
