#pragma once
// How many submissions an address may send: a bucket of `perMinute` for each address, filled
// again at that rate. The addresses are kept in memory only, and only while their bucket is not
// full again.

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

class CRateLimiter {
public:
    explicit CRateLimiter(uint32_t perMinute) : perMinute_(perMinute) {}
    // Takes one submission from the address's bucket at `nowMs` (a steady clock). False when
    // it is empty, with the whole seconds until there is one again.
    bool allow(const std::string& address, int64_t nowMs, int& retryAfterSeconds);

private:
    struct SBucket {
        double tokens;
        int64_t atMs;
    };
    double refilled(const SBucket& bucket, int64_t nowMs) const;

    uint32_t perMinute_;  // 0: no limit
    std::mutex mutex_;
    std::unordered_map<std::string, SBucket> buckets_;
};
