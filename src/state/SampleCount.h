#pragma once
// How many sounds the compiled-in sample bank holds (sound/SampleBank.h): ids 0..3 are the music
// loops, 4..20 the effects. The run's counters count plays by id, below the sound that plays them.

constexpr int kSampleCount = 21;
