#pragma once
// Renders a parsed sound to the bank's 16-bit samples.

#include <cstdint>
#include <vector>

#include "Sound.h"

// The loudest sample lands at the sound's peak level. A part rendered alone for listening can
// be given the gain the whole sound used (`fixedGain`), so parts keep their balance.
std::vector<int16_t> renderSound(const SSound& sound, double* gainUsed = nullptr,
                                 double fixedGain = 0.0);
