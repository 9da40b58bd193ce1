#include "Curve.h"

#include <cstddef>

#include "DetMath.h"

double SCurve::at(double seconds) const {
    if (points.empty()) return 0.0;
    if (seconds <= points.front().first) return points.front().second;
    for (size_t i = 1; i < points.size(); ++i) {
        const auto& [t1, v1] = points[i];
        if (seconds >= t1) continue;
        const auto& [t0, v0] = points[i - 1];
        const double u = (seconds - t0) / (t1 - t0);
        switch (shape) {
            case EShape::Step:
                return v0;
            case EShape::Exponential:
                if (v0 > 0.0 && v1 > 0.0) return v0 * det::exp2(u * det::log2(v1 / v0));
                return v0 + (v1 - v0) * u;
            case EShape::Linear:
                return v0 + (v1 - v0) * u;
        }
    }
    return points.back().second;
}
