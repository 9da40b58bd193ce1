#pragma once
// A state-variable filter (trapezoidal, so it stays stable while its cutoff sweeps fast), and a
// DC blocker for the end of the chain.

enum class EFilter { None, Lowpass, Highpass, Bandpass };

class CFilter {
public:
    // q around 0.7 is flat; higher rings at the cutoff.
    void set(EFilter type, double cutoffHz, double q);
    double process(double x);
    EFilter type() const { return type_; }

private:
    EFilter type_ = EFilter::None;
    double k_ = 1.4, a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
    double ic1_ = 0.0, ic2_ = 0.0;
};

class CDcBlocker {
public:
    double process(double x) {
        const double y = x - x1_ + 0.9985 * y1_;  // about 5 Hz at 22,050 Hz
        x1_ = x;
        y1_ = y;
        return y;
    }

private:
    double x1_ = 0.0, y1_ = 0.0;
};
