#include "DetMath.h"

#include <array>
#include <cmath>

namespace det {

namespace {

// Taylor series about 0 for |x| <= pi/4, where nine terms are exact to double precision.
double sinCore(double x) {
    const double x2 = x * x;
    double term = x, sum = x;
    for (int n = 1; n < 10; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double cosCore(double x) {
    const double x2 = x * x;
    double term = 1.0, sum = 1.0;
    for (int n = 1; n < 10; ++n) {
        term *= -x2 / ((2.0 * n - 1.0) * (2.0 * n));
        sum += term;
    }
    return sum;
}

}  // namespace

double sin(double x) {
    // Reduce to an octant: x = k * pi/2 + r with |r| <= pi/4.
    const double k = std::floor(x / (kPi / 2.0) + 0.5);
    const double r = x - k * (kPi / 2.0);
    switch (static_cast<long long>(k) & 3) {
        case 0:
            return sinCore(r);
        case 1:
            return cosCore(r);
        case 2:
            return -sinCore(r);
        default:
            return -cosCore(r);
    }
}

double cos(double x) {
    return sin(x + kPi / 2.0);
}

double tan(double x) {
    return sin(x) / cos(x);
}

double exp2(double x) {
    if (x < -1000.0) return 0.0;
    if (x > 1000.0) x = 1000.0;
    const double n = std::floor(x);
    const double f = (x - n) * kLn2;  // 0 <= f < ln 2
    double term = 1.0, sum = 1.0;
    for (int i = 1; i < 16; ++i) {
        term *= f / i;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(n));
}

double log2(double x) {
    int e = 0;
    const double m = std::frexp(x, &e);  // m in [0.5, 1)
    // ln m = 2 atanh(z) with z = (m - 1) / (m + 1), |z| <= 1/3.
    const double z = (m - 1.0) / (m + 1.0);
    const double z2 = z * z;
    double power = z, sum = 0.0;
    for (int k = 0; k < 30; ++k) {
        sum += power / (2.0 * k + 1.0);
        power *= z2;
    }
    return e + 2.0 * sum / kLn2;
}

double exp(double x) {
    return exp2(x / kLn2);
}

double tanh(double x) {
    if (x > 20.0) return 1.0;
    if (x < -20.0) return -1.0;
    const double e = exp(2.0 * x);
    return (e - 1.0) / (e + 1.0);
}

double dbToGain(double db) {
    return exp2(db / 20.0 * 3.32192809488736234787);
}  // log2(10)

double noteToHz(double midiNote) {
    return 440.0 * exp2((midiNote - 69.0) / 12.0);
}

double hzToNote(double hz) {
    return 69.0 + 12.0 * log2(hz / 440.0);
}

double sinTurn(double phase) {
    constexpr int kSize = 4096;
    static const std::array<double, kSize + 1> table = [] {
        std::array<double, kSize + 1> t{};
        for (int i = 0; i <= kSize; ++i) t[i] = sin(kTwoPi * i / kSize);
        return t;
    }();
    const double p = (phase - std::floor(phase)) * kSize;
    const int i = p < kSize ? static_cast<int>(p) : kSize - 1;  // a phase just below 0 rounds up
    const double f = p - i;
    return table[i] + (table[i + 1] - table[i]) * f;
}

}  // namespace det
