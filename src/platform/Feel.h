#pragma once
// What the player may feel in their hands where the machine can shake: a hit taken, a life lost.

#include <cstdint>

enum class EFeel : uint8_t { kHit, kLifeLost };
