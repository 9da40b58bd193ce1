#pragma once
// A value that moves through breakpoints over time: an envelope, a pitch sweep, a filter sweep.

#include <utility>
#include <vector>

struct SCurve {
    enum class EShape {
        Linear,       // straight lines between the points
        Exponential,  // constant ratio per second: pitch and cutoff sweeps sound even
        Step,         // holds each value until the next point: arpeggios
    };

    std::vector<std::pair<double, double>> points;  // (seconds, value), times ascending
    EShape shape = EShape::Linear;

    static SCurve constant(double value) { return SCurve{{{0.0, value}}, EShape::Linear}; }
    bool empty() const { return points.empty(); }
    // Before the first point the curve holds its first value, after the last its last value.
    double at(double seconds) const;
    double endTime() const { return points.empty() ? 0.0 : points.back().first; }
};
