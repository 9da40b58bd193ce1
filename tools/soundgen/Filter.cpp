#include "Filter.h"

#include "DetMath.h"
#include "SoundFormat.h"

void CFilter::set(EFilter type, double cutoffHz, double q) {
    type_ = type;
    if (type == EFilter::None) return;
    const double maxHz = 0.45 * kRate;
    const double hz = cutoffHz < 10.0 ? 10.0 : (cutoffHz > maxHz ? maxHz : cutoffHz);
    const double g = det::tan(det::kPi * hz / kRate);
    k_ = 1.0 / (q < 0.3 ? 0.3 : q);
    a1_ = 1.0 / (1.0 + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
}

double CFilter::process(double x) {
    if (type_ == EFilter::None) return x;
    const double v3 = x - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    switch (type_) {
        case EFilter::Lowpass:
            return v2;
        case EFilter::Bandpass:
            return k_ * v1;  // unity gain at the centre
        case EFilter::Highpass:
            return x - k_ * v1 - v2;
        case EFilter::None:
            break;
    }
    return x;
}
