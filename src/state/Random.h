#pragma once
// The game's one random generator. It behaves exactly as the C library's rand() on the handheld
// (the glibc additive feedback generator), so a seed gives the same game on every machine:
// non-negative results up to 2^31 - 1, reduced by the callers with %.

#include <cstdint>

void seedGameRand(uint32_t seed);
int gameRand();

// Where the generator stands: a recorded game starts from it, wherever the games and the
// tutorial before it left the numbers.
struct SRandomState {
    int32_t ring[34];
    int32_t index;
};
SRandomState gameRandState();
// False, changing nothing, for a state no seed can lead to (an index outside the ring).
bool setGameRandState(const SRandomState& state);
