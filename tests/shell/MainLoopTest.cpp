#include <gtest/gtest.h>

#include "actors/Player.h"
#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "shell/MainLoop.h"
#include "sound/SoundManager.h"
#include "support/GameTest.h"
#include "world/GameState.h"
#include "world/Level.h"

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

TEST_F(MainLoopTest, FiveDisksCompleteTheLevelAndAHeldStartCarriesOverIntoTheMenu) {
    ASSERT_TRUE(loop_.startUp({1, 1, {}}));  // straight into the first level
    ASSERT_TRUE(loop_.enterGame());          // level number 0, from the maps.dat beside the tests
    CLevel& level = CLevel::instance();
    ASSERT_EQ(level.levelNumber, 0);
    loop_.iterate();
    loop_.iterate();
    CPlayer* player = CPlayer::instance(1);
    player->disks = 5;
    // START already held when the wait begins: it ends at once, the fanfare plays, the next
    // level starts, and the press is forgotten for this iteration.
    backend_.setButtons(kStart);
    const uint32_t shown = picturesShown();
    EXPECT_TRUE(loop_.iterate());
    EXPECT_EQ(level.levelNumber, 1);
    EXPECT_EQ(player->disks, 0u);
    EXPECT_EQ(CGameState::instance().frameCounter, 0u);
    EXPECT_EQ(picturesShown(), shown + 3);  // the panel, the level start's clear, and one more
    EXPECT_FALSE(loop_.startLatched);
    bool fanfare = false;
    for (const SSoundChannel& c : CSoundManager::instance().mixer.channels)
        fanfare |= c.active && c.sampleId == 18;
    EXPECT_TRUE(fanfare);
    // Still held at the next poll: latched again, and its release opens the menu.
    loop_.iterate();
    EXPECT_TRUE(loop_.startLatched);
    backend_.setButtons(0);
    loop_.iterate();
    EXPECT_TRUE(CGameState::instance().menuOpen);
}

}  // namespace
