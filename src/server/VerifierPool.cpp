#include "server/VerifierPool.h"

#include "platform/Messages.h"

void CVerifierPool::start(int count) {
    stopping_ = false;
    for (int i = 0; i < count; ++i) threads_.emplace_back([this] { run(); });
}

void CVerifierPool::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    work_.notify_all();
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
}

void CVerifierPool::wake() {
    {
        std::lock_guard lock(mutex_);
        ++queued_;
    }
    work_.notify_one();
}

void CVerifierPool::waitForVerdict(std::chrono::milliseconds most) {
    std::unique_lock lock(mutex_);
    verdict_.wait_for(lock, most);
}

void CVerifierPool::run() {
    std::string said;  // the store's last failure, said once
    while (!stopping_) {
        uint64_t seen;
        {
            std::lock_guard lock(mutex_);
            seen = queued_;
        }
        std::string error;
        std::unique_ptr<CJobClaim> claim = store_.claim(error);
        if (!error.empty() && error != said) reportLine(error);
        said = error;
        if (!claim) {
            std::unique_lock lock(mutex_);
            work_.wait_for(lock, std::chrono::seconds(1),
                           [&] { return stopping_ || queued_ != seen; });
            continue;
        }
        SVerdict verdict;
        if (!verifier_.verify(claim->job(), verdict, &stopping_)) continue;  // let go: stopping
        if (!claim->finish(verdict, error)) {
            reportLine(error);
            continue;
        }
        claim.reset();
        verdict_.notify_all();
    }
}
