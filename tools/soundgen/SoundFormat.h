#pragma once
// The bank's format: mono at the audio device's rate.

constexpr double kRate = 22050.0;
// Sweeps, envelopes and filter coefficients are updated once per block of this many samples:
// well under a millisecond, and it keeps the build quick.
constexpr int kControlBlock = 8;
