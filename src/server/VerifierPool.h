#pragma once
// A fixed number of verifiers, each a thread that claims the oldest queued job from the store,
// plays it and keeps the verdict. They look for work when a submission is queued here, and every
// second besides for what other servers sharing the store queued.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "server/ScoreStore.h"
#include "server/Verifier.h"

class CVerifierPool {
public:
    CVerifierPool(CScoreStore& store, const SVerifierSetup& setup)
        : store_(store), verifier_(setup) {}
    ~CVerifierPool() { stop(); }

    void start(int count);
    // Stops every verifier; the jobs being played are let go, queued for the next start.
    void stop();
    // A job was queued.
    void wake();
    // Waits until a verdict was kept here, or `most` passed; either way the caller looks again.
    void waitForVerdict(std::chrono::milliseconds most);

private:
    void run();

    CScoreStore& store_;
    CVerifier verifier_;
    std::vector<std::thread> threads_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::condition_variable work_;     // a job was queued, or the pool stops
    std::condition_variable verdict_;  // a verdict was kept
    uint64_t queued_ = 0;              // wakes, so that none is missed between two looks
};
