#include "platform/Pacing.h"

namespace {
CPacing* gInstance = nullptr;
}

CPacing& CPacing::instance() {
    if (!gInstance) gInstance = new CPacing;
    return *gInstance;
}

void CPacing::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

void CPacing::pictureInterval(uint32_t micros) {
    const uint32_t bucket = micros / kStepMicros;
    ++buckets[bucket < kBuckets ? bucket : kBuckets - 1];
    ++count;
    totalMicros += micros;
}

uint32_t CPacing::percentile(double share) const {
    const double wanted = share * count;
    uint64_t seen = 0;
    for (int i = 0; i < kBuckets; ++i) {
        seen += buckets[i];
        if (static_cast<double>(seen) >= wanted && seen != 0) return i * kStepMicros;
    }
    return (kBuckets - 1) * kStepMicros;
}
