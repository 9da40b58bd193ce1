#pragma once
// The tone sources: band-limited saw and pulse (PolyBLEP), triangle, sine, and noise that can be
// held at a rate for the gritty, pitched noise of old sound chips.

#include <cstdint>

enum class EWave { Sine, Triangle, Saw, Pulse, Noise };

// A small xorshift generator: every noise in the bank comes from a fixed seed, so the bank is
// the same on every build.
class CNoise {
public:
    explicit CNoise(uint32_t seed = 1) : state_(seed ? seed : 0x9E3779B9u) {}
    double next() {  // uniform in [-1, 1)
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    uint32_t state_;
};

class COscillator {
public:
    COscillator(EWave wave, uint32_t seed, double startPhase = 0.0)
        : wave_(wave), noise_(seed), phase_(startPhase), held_(noise_.next()) {}

    // One sample. `step` is the frequency divided by the sample rate; for noise it is the hold
    // rate (0 or more than 1: a new value every sample). `duty` is the pulse width (0..1).
    double next(double step, double duty = 0.5, double phaseOffset = 0.0);

private:
    EWave wave_;
    CNoise noise_;
    double phase_;
    double held_;
};
