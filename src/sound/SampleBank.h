#pragma once
// The compiled-in sample bank: 21 sounds of signed 16-bit mono PCM at 22,050 Hz. Ids 0..3 are
// the music loops, 4..20 the effects. Made at build time from the sources under assets/.

#include <cstdint>

#include "state/SampleCount.h"

struct SSample {
    const int16_t* data;
    uint32_t length;  // in samples
};

constexpr int kSampleRate = 22050;
extern const SSample kSampleBank[kSampleCount];
