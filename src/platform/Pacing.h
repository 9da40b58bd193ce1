#pragma once
// How evenly the window hands its pictures to the display: the time between two of them, kept
// as a histogram for the run's report. Fed by the backends that show pictures to a player; a
// headless run leaves it empty.

#include <cstdint>

class CPacing {
public:
    // Intervals between shown pictures are kept in 10 us steps up to 100 ms.
    static constexpr int kBuckets = 10000;
    static constexpr uint32_t kStepMicros = 10;

    static CPacing& instance();
    static void resetInstance();

    // The time between two pictures handed to the display.
    void pictureInterval(uint32_t micros);
    // The interval below which a share of the pictures fall, in us.
    uint32_t percentile(double share) const;

    uint32_t buckets[kBuckets] = {};  // the last bucket takes every longer interval
    uint32_t count = 0;
    uint64_t totalMicros = 0;
};
