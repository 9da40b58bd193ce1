#include <gtest/gtest.h>

#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "shell/MainLoop.h"
#include "support/GameTest.h"
#include "world/GameState.h"

namespace {

class MainLoopTest : public CPlayTest {
protected:
    void SetUp() override {
        CPlayTest::SetUp();
        platformStartup(backend_);
    }
    // One poll with these buttons, then the loop's START handling.
    void poll(ButtonMask buttons) {
        backend_.setButtons(buttons);
        CInput::instance().poll();
        loop_.handleStart();
    }
    CHeadlessBackend backend_;
    CMainLoop loop_;
};

constexpr ButtonMask kStart = buttonBit(kButtonStart);

TEST_F(MainLoopTest, TheMenuOpensWhenStartIsReleased) {
    CGameState& state = CGameState::instance();
    poll(kStart);
    poll(kStart);
    EXPECT_TRUE(loop_.startLatched);
    EXPECT_FALSE(state.menuOpen);
    poll(0);
    EXPECT_TRUE(state.menuOpen);
    EXPECT_FALSE(loop_.startLatched);
}

TEST_F(MainLoopTest, StartDoesNothingWhileTheGameIsOver) {
    CGameState& state = CGameState::instance();
    state.gameOver = true;
    poll(kStart);
    EXPECT_FALSE(loop_.startLatched);
    poll(0);
    EXPECT_FALSE(state.menuOpen);
    // Latched just before the game ended: the release does not open the menu, and the latch
    // stays until the game is on again.
    state.gameOver = false;
    poll(kStart);
    state.gameOver = true;
    poll(0);
    EXPECT_FALSE(state.menuOpen);
    EXPECT_TRUE(loop_.startLatched);
}

TEST_F(MainLoopTest, LosingFocusPausesAsStartWould) {
    CGameState& state = CGameState::instance();
    poll(kPauseRequest);
    EXPECT_TRUE(state.menuOpen);
    EXPECT_EQ(CInput::instance().start, 0);  // not a button the game sees
    state.menuOpen = false;
    state.gameOver = true;
    poll(kPauseRequest);
    EXPECT_FALSE(state.menuOpen);
}

}  // namespace
