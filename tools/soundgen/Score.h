#pragma once
// Turns the tracks of a score into timed notes and drum hits.

#include <cstdint>
#include <vector>

#include "Sound.h"

struct SDrumHit {
    int64_t start = 0;  // sample
    int drum = 0;
    double velocity = 1.0;
};

struct SScoreNote {
    int instrument = 0;
    SNoteEvent event;
};

// The sample where a step begins, with swing: in every pair of swing units the first is
// stretched and the second squeezed, so steps inside a unit keep their order.
int64_t stepStart(const SSound& sound, int64_t step);

void collectScore(const SSound& sound, std::vector<SScoreNote>& notes, std::vector<SDrumHit>& hits);
