#include "server/RateLimiter.h"

#include <algorithm>
#include <cmath>

namespace {
// Past this many addresses, those whose bucket is full again are forgotten.
constexpr size_t kMostAddresses = 65536;
}  // namespace

double CRateLimiter::refilled(const SBucket& bucket, int64_t nowMs) const {
    const double gained = static_cast<double>(nowMs - bucket.atMs) * perMinute_ / 60000.0;
    return std::min<double>(perMinute_, bucket.tokens + gained);
}

bool CRateLimiter::allow(const std::string& address, int64_t nowMs, int& retryAfterSeconds) {
    if (perMinute_ == 0) return true;
    std::lock_guard lock(mutex_);
    if (buckets_.size() >= kMostAddresses)
        std::erase_if(buckets_, [&](const auto& entry) {
            return refilled(entry.second, nowMs) >= perMinute_;
        });
    auto [at, fresh] =
        buckets_.try_emplace(address, SBucket{static_cast<double>(perMinute_), nowMs});
    SBucket& bucket = at->second;
    bucket.tokens = refilled(bucket, nowMs);
    bucket.atMs = nowMs;
    if (bucket.tokens >= 1) {
        bucket.tokens -= 1;
        return true;
    }
    retryAfterSeconds = static_cast<int>(std::ceil((1 - bucket.tokens) * 60.0 / perMinute_));
    return false;
}
