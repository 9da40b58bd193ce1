#pragma once
// The counter of a host whose timers count whole milliseconds and fire a little late (a
// browser's). Such a timer cannot end a wait between two milliseconds: a game that waited for
// its deadline with them alone would spin the last fraction of every picture. Instead each wait
// sleeps the whole milliseconds that end nearest its deadline, and the counter takes up what is
// left, ahead or behind, by running up to kMostShiftMs ahead of or behind the host's clock. The
// game then finds its deadlines met on the dot, one sleep a picture, and keeps its pace: every
// sleep steers the shift back towards none, so on average the counter runs exactly with the
// host. A wait that ends later than the shift can take up (the tab was held up) is late, as on
// the handheld, and that time is not made up.

#include <algorithm>
#include <cmath>

class CCoarseTimerClock {
public:
    // How late a browser's timer fires after its whole milliseconds, to begin with; the clock
    // then learns it from its sleeps.
    static constexpr double kFirstLateMs = 0.2;
    // How far the counter may run from the host's clock.
    static constexpr double kMostShiftMs = 1.0;

    // The counter's reading, in ms, at this time of the host's clock.
    double read(double hostMs) const { return hostMs + shiftMs_; }

    // One go at a wait with leftMs to go on the counter: sleep(ms) sleeps the whole milliseconds
    // that end nearest the deadline once the shift is back to none, and returns the host's
    // milliseconds that passed meanwhile; then the counter takes up what is left, ahead or
    // behind, as far as its bound allows (the caller comes back for the rest).
    template <class Sleep>
    void idle(double leftMs, Sleep&& sleep) {
        double wholeMs = std::round(leftMs - lateMs_ + shiftMs_);
        // Too far for the counter to jump to: a millisecond's sleep at least.
        if (shiftMs_ + leftMs > kMostShiftMs) wholeMs = std::max(wholeMs, 1.0);
        if (wholeMs > 0) {
            const double sleptMs = sleep(wholeMs);
            leftMs -= sleptMs;
            // A sleep held up far longer (the tab was busy) says nothing of the timers.
            lateMs_ += (std::clamp(sleptMs - wholeMs, 0.0, kMostShiftMs) - lateMs_) / 8;
        }
        shiftMs_ = std::clamp(shiftMs_ + leftMs, -kMostShiftMs, kMostShiftMs);
    }

private:
    double shiftMs_ = 0;
    double lateMs_ = kFirstLateMs;  // how late the timers have fired lately
};
