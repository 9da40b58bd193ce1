#pragma once
// The game's one random generator. It behaves exactly as the C library's rand() on the handheld
// (the glibc additive feedback generator), so a seed gives the same game on every machine:
// non-negative results up to 2^31 - 1, reduced by the callers with %.

#include <cstdint>

void seedGameRand(uint32_t seed);
int gameRand();
