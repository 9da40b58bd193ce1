#include "Oscillator.h"

#include <cmath>

#include "DetMath.h"

namespace {

// The polynomial band-limited step: smooths the one-sample neighbourhood of a jump so that
// high notes do not fold back into a metallic mess at 22 kHz.
double polyBlep(double t, double dt) {
    if (dt <= 0.0) return 0.0;
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double wrap01(double x) {
    return x - std::floor(x);
}

}  // namespace

double COscillator::next(double step, double duty, double phaseOffset) {
    double out = 0.0;
    const double p = wrap01(phase_ + phaseOffset);
    switch (wave_) {
        case EWave::Sine:
            out = det::sinTurn(p);
            break;
        case EWave::Triangle:
            out = 4.0 * std::fabs(p - 0.5) - 1.0;
            break;
        case EWave::Saw:
            out = 2.0 * p - 1.0 - polyBlep(p, step);
            break;
        case EWave::Pulse: {
            const double d = duty < 0.01 ? 0.01 : (duty > 0.99 ? 0.99 : duty);
            out = p < d ? 1.0 : -1.0;
            out += polyBlep(p, step) - polyBlep(wrap01(p - d + 1.0), step);
            out -= 2.0 * d - 1.0;  // centre it: narrow pulses would otherwise carry an offset
            break;
        }
        case EWave::Noise:
            if (step <= 0.0 || step >= 1.0) {
                held_ = noise_.next();
            } else if (phase_ + step >= 1.0) {
                held_ = noise_.next();
            }
            out = held_;
            break;
    }
    phase_ = wrap01(phase_ + step);
    return out;
}
