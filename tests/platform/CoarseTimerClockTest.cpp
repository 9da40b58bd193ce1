#include <gtest/gtest.h>

#include <cstdint>

#include "platform/CoarseTimerClock.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "render/Screen.h"
#include "support/GameTest.h"

namespace {

// A browser's tab as the game's waits see it: timers of whole milliseconds that fire a little
// late, and a counter kept by CCoarseTimerClock as the page's backend keeps it.
class CCoarseHost : public CHeadlessBackend {
public:
    // Each timer fires this much late, in ms: from `lateMs` to `lateMs` + `spreadMs`.
    CCoarseHost(double late, double spread) : lateMs(late), spreadMs(spread) {}

    uint32_t counter() override {
        return static_cast<uint32_t>(static_cast<uint64_t>(clock.read(hostMs) * kTimerHz / 1000));
    }
    void idleUntil(uint32_t start, uint32_t ticks) override {
        const uint32_t passed = counter() - start;
        if (passed >= ticks) return;
        clock.idle((ticks - passed) * 1000.0 / kTimerHz, [this](double ms) {
            EXPECT_EQ(ms, static_cast<int>(ms)) << "a timer of a fraction of a millisecond";
            const double slept = ms + lateMs + spreadMs * next() + (sleeps == stallAt ? 30 : 0);
            hostMs += slept;
            ++sleeps;
            return slept;
        });
    }

    double lateMs;
    double spreadMs;
    CCoarseTimerClock clock;
    double hostMs = 0;
    int stallAt = -1;  // the sleep that ends 30 ms later still
    int sleeps = 0;

private:
    double next() {  // 0 to 1, the same every run
        seed_ = seed_ * 1103515245u + 12345u;
        return (seed_ >> 8) / 16777216.0;
    }
    uint32_t seed_ = 1;
};

class CoarseTimerClockTest : public CGameTest {};

// The ms that `pictures` pictures take from the first present on, each composed in 0 to 4.8 ms
// (`work` moves the backend's clock on by so many ticks).
template <class Work, class Now>
double playPictures(CBackend& backend, int pictures, Work work, Now nowMs) {
    platformStartup(backend);
    CScreen::resetInstance();
    CScreen& screen = CScreen::instance();
    screen.setFramePeriod(130);
    screen.present(false);
    const double began = nowMs();
    uint32_t step = 7;
    for (int i = 0; i < pictures; ++i) {
        step = (step * 37 + 11) % 97;
        work(step * 369);
        screen.present(false);
    }
    return nowMs() - began;
}

TEST_F(CoarseTimerClockTest, PicturesKeepTheHandheldsPaceWithOneSleepEachAndAStallIsNotMadeUp) {
    // The pace on an exact counter: the headless one, which jumps to every deadline.
    CHeadlessBackend exact;
    const double exactMs = playPictures(
        exact, 3000, [&](uint32_t ticks) { exact.advance(ticks); },
        [&] { return timerNow() * 1000.0 / kTimerHz; });

    // How late timers fire: as a quiet tab's, a busy tab's, and a slow browser's.
    const struct { double lateMs, spreadMs; } hosts[] = {{0.1, 0.2}, {0.0, 0.9}, {0.7, 0.4}};
    for (const auto& h : hosts) {
        CCoarseHost host(h.lateMs, h.spreadMs);
        auto work = [&](uint32_t ticks) { host.hostMs += ticks * 1000.0 / kTimerHz; };
        auto now = [&] { return host.hostMs; };
        // The same pace on the host's clock, within the counter's bound, one sleep a picture.
        EXPECT_NEAR(playPictures(host, 3000, work, now), exactMs, 1.1) << h.lateMs;
        EXPECT_LE(host.sleeps, 3001 + 3) << h.lateMs;

        // The tab held up for 30 ms: that time is lost, as on the handheld, and only what the
        // counter's bound takes up of it is made good. The timers are no later for it.
        host.stallAt = host.sleeps + 1500;
        const int sleeps = host.sleeps;
        EXPECT_NEAR(playPictures(host, 3000, work, now), exactMs + 30, 2.1) << h.lateMs;
        EXPECT_LE(host.sleeps - sleeps, 3000 + 3) << h.lateMs;
    }
}

TEST_F(CoarseTimerClockTest, EveryWaitEndsWhateverTheShiftAndTheTimers) {
    // Waits of 0.1 to 2 ms (the music's fade, the rest of a poll) while the timers swing from
    // punctual to late and back: the shift runs against its bounds, and no wait may spin.
    CCoarseHost host(0.0, 0.1);
    platformStartup(host);
    for (int i = 0; i < 2000; ++i) {
        const uint32_t start = timerNow(), ticks = (i % 20 + 1) * kTimerHz / 10000;
        int tries = 0;
        while (timerNow() - start < ticks && tries < 4) {
            host.idleUntil(start, ticks);
            ++tries;
        }
        ASSERT_LT(tries, 4) << "wait " << i << " of " << ticks << " ticks";
        host.lateMs = i / 100 % 2 * 0.9;
    }
}

}  // namespace
