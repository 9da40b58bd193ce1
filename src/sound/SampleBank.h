#pragma once
// The compiled-in sample bank: 21 sounds of signed 16-bit mono PCM at 22,050 Hz. Ids 0..3 are
// the music loops, 4..20 the effects. Made at build time from the sources under assets/.

#include <cstdint>
#include <string>

#include "state/SampleCount.h"

struct SSample {
    const int16_t* data;
    uint32_t length;  // in samples
};

constexpr int kSampleRate = 22050;
extern const SSample kSampleBank[kSampleCount];

// Makes whatever the bank does not hold as built: the page, which ships its music as scores,
// synthesises the loops here (about a second). False, with a one-line reason, when a loop could
// not be made as the build made it; the game plays on, that loop as it came out or silent.
bool prepareSampleBank(std::string& error);
// Every sample is the build's: prepared, or held as built.
bool sampleBankReady();
