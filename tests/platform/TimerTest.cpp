#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "render/Screen.h"
#include "support/GameTest.h"

namespace {

class TimerTest : public CGameTest {
protected:
    void start(uint32_t counter) {
        backend_ = std::make_unique<CHeadlessBackend>(counter);
        platformStartup(*backend_);
    }
    std::unique_ptr<CHeadlessBackend> backend_;
};

TEST_F(TimerTest, ElapsedRoundsToTenthsAndSurvivesTheWrap) {
    start(1000);
    EXPECT_EQ(timerElapsed(1000), 0u);  // equal readings
    backend_->advance(368);             // 368 / 737 rounds down
    EXPECT_EQ(timerElapsed(1000), 0u);
    backend_->advance(1);  // 369 rounds up
    EXPECT_EQ(timerElapsed(1000), 1u);

    // 2000 ticks before the wrap to 2000 ticks after it: 4000 ticks, about 5.4 units. The wrapped
    // formula works on quarters: (500 - 1073741324 + 2^30) / 184 = 1000 / 184 = 5.
    start(0xFFFFFFFFu - 1999);
    const uint32_t before = timerNow();
    backend_->advance(4000);
    EXPECT_EQ(timerNow(), 2000u);
    EXPECT_EQ(timerElapsed(before), 5u);
}

TEST_F(TimerTest, WaitIsExactOnTheVirtualClock) {
    start(0);
    timerWait(0);
    EXPECT_EQ(timerNow(), 0u);
    timerWait(130);  // 13.0 ms: the fewest ticks that round to 130 units are 130 * 737 - 368
    EXPECT_EQ(timerNow(), 130u * 737 - 368);
    // Across the wrap the wait still ends, at least the asked time later.
    start(0xFFFFFFFFu - 50000);
    const uint32_t before = timerNow();
    timerWait(130);
    EXPECT_GE(timerElapsed(before), 130u);
    EXPECT_LT(timerNow(), 200000u);
}

TEST_F(TimerTest, PresentPacesToTheFramePeriod) {
    start(5000);
    CScreen& screen = CScreen::instance();
    screen.setFramePeriod(130);
    // The first present takes its reference now, so it waits one whole period.
    screen.present(false);
    const uint32_t first = timerNow();
    EXPECT_EQ(first, 5000u + 130 * 737 - 368);
    // Work that takes 5 ms: the next present is delayed to 13.0 ms after the first.
    backend_->advance(50 * 737);
    screen.present(false);
    EXPECT_EQ(timerElapsed(first), 130u);
    // Work that takes 20 ms: no delay at all.
    const uint32_t second = timerNow();
    backend_->advance(200 * 737);
    screen.present(false);
    EXPECT_EQ(timerNow(), second + 200 * 737);
    EXPECT_EQ(picturesShown(), 3u);
}

// A display that takes its time to take a picture, as a driver without a GPU or one that forces
// vertical sync does.
class CSlowDisplay : public CHeadlessBackend {
public:
    explicit CSlowDisplay(uint32_t units) : ticks_(units * 737) {}
    void show(const uint16_t* picture) override {
        CHeadlessBackend::show(picture);
        advance(ticks_);
    }

private:
    uint32_t ticks_;
};

TEST_F(TimerTest, TheGameKeepsItsSpeedWhateverTheDisplayTakes) {
    // Display time per picture (0.1 ms), and how many of 100 pictures it is handed.
    const struct {
        uint32_t display;
        uint32_t handedOver;
    } cases[] = {{0, 100}, {70, 100}, {120, 100}, {220, 50}, {400, 25}};
    for (const auto& c : cases) {
        CSlowDisplay display(c.display);
        platformStartup(display);
        CScreen::resetInstance();
        CScreen& screen = CScreen::instance();
        screen.setFramePeriod(130);
        screen.present(false);
        const uint32_t start = timerNow();
        const uint32_t shownBefore = display.shownCount();
        for (int i = 0; i < 100; ++i) {
            display.advance(737);  // composing a picture takes 1 ms
            screen.present(false);
        }
        // 100 periods of 13.0 ms (each wait ends within half a unit of its deadline).
        EXPECT_NEAR(timerElapsed(start), 100 * 130, 100) << c.display;
        EXPECT_EQ(display.shownCount() - shownBefore, c.handedOver) << c.display;
        EXPECT_EQ(picturesShown(), 101u);

        // The game itself held up for longer than the display takes: that picture is shown at
        // once, and the time is not made up.
        display.advance(1000 * 737);
        const uint32_t late = timerNow();
        const uint32_t shown = display.shownCount();
        screen.present(false);
        EXPECT_EQ(display.shownCount(), shown + 1) << c.display;
        EXPECT_EQ(timerNow() - late, c.display * 737) << c.display;
    }
}

TEST_F(TimerTest, FlipsAlternateFramebuffersAndVsyncWaitsForTheRefresh) {
    start(1);  // just inside a sync pulse: no wait
    uint16_t picture[kScreenPixels] = {};
    picture[0] = 0x1234;
    EXPECT_EQ(nextFramebuffer(), 0);
    flip(picture, true);
    EXPECT_EQ(timerNow(), 1u);
    EXPECT_EQ(framebuffer(0)[0], 0x1234);
    EXPECT_EQ(nextFramebuffer(), 1);
    picture[0] = 0x5678;
    backend_->advance(20000);  // outside the pulse: wait for the next 60 Hz refresh
    flip(picture, true);
    EXPECT_EQ(timerNow(), kTimerHz / 60);
    EXPECT_EQ(framebuffer(1)[0], 0x5678);
    EXPECT_EQ(framebuffer(0)[0], 0x1234);
    EXPECT_EQ(nextFramebuffer(), 0);
}

TEST_F(TimerTest, AudioDeviceTakesWhatFitsAndDrainsWithTheClock) {
    start(0);
    backend_->setAudioMissing(true);
    EXPECT_FALSE(audioOpen());
    backend_->setAudioMissing(false);
    ASSERT_TRUE(audioOpen());
    static int16_t block[4096] = {};
    // 1024 frames of 4 bytes fit; a write of 2048 frames is taken in part, the next refused.
    EXPECT_EQ(audioWrite(block, 8192), 4096);
    EXPECT_EQ(audioWrite(block, 400), 0);
    // 10 ms of virtual time plays 220 frames (22,050 per second), making room for them.
    backend_->advance(kTimerHz / 100);
    EXPECT_EQ(audioWrite(block, 8192), 220 * 4);
    // Odd byte counts are cut to whole frames.
    backend_->advance(kTimerHz / 100);
    EXPECT_EQ(audioWrite(block, 7), 4);
}

}  // namespace
