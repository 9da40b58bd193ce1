#include <gtest/gtest.h>

#include <cstring>

#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "effects/ParticleSystem.h"
#include "shell/Menu.h"
#include "shell/TitleScreen.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "state/Random.h"
#include "support/HeadlessGameTest.h"
#include "support/Place.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

class TitleScreenTest : public CHeadlessGameTest {
protected:
    void SetUp() override {
        CHeadlessGameTest::SetUp();
        title_.begin();
    }
    // Iterations until the frame counter reaches `frame` (the menu closed).
    void runTo(uint32_t frame) {
        while (CGameState::instance().frameCounter < frame) ASSERT_TRUE(title_.iterate());
    }
    // One iteration with these buttons down.
    bool press(ButtonMask buttons) {
        backend_.setButtons(buttons);
        return title_.iterate();
    }
    CTitleScreen title_;
};

constexpr ButtonMask kStart = buttonBit(kButtonStart);
constexpr ButtonMask kDown = buttonBit(kButtonDown);

// START held, then let go under the controls page: the title stands still, and the menu opens
// only once the page has closed, as the release is seen then.
TEST_F(TitleScreenTest, UnderTheControlsPageTheTitleStandsStillAndStartWaits) {
    CGameState& state = CGameState::instance();
    press(0);
    press(kStart);
    const uint32_t frame = state.frameCounter;
    const int32_t textX = title_.textX;
    for (int i = 0; i < 5; ++i) press(kControlsOpen);
    EXPECT_FALSE(state.menuOpen);
    EXPECT_TRUE(title_.startLatched);
    EXPECT_EQ(state.frameCounter, frame + 1);  // the iteration that saw F1 had begun
    EXPECT_EQ(title_.textX, textX - 1);
    press(0);
    press(0);
    EXPECT_TRUE(state.menuOpen);
}

TEST_F(TitleScreenTest, TheScriptBringsItsLinesAndActorsAtItsFrames) {
    const CGameReport& report = CGameReport::instance();
    runTo(1);
    // The first line is empty: it bursts into nothing and makes no sound. The player is in.
    EXPECT_EQ(report.samples[8], 0u);
    EXPECT_EQ(report.effects[static_cast<int>(EEffectClass::kParticles)], 1u);  // materialising
    EXPECT_EQ(title_.textIndex, 1);
    EXPECT_TRUE(CGameState::instance().tutorial);
    const uint32_t particles = report.effects[static_cast<int>(EEffectClass::kParticles)];
    runTo(500);
    EXPECT_EQ(report.samples[8], 1u);  // the first real line bursts, a burst per character
    EXPECT_EQ(report.effects[static_cast<int>(EEffectClass::kParticles)],
              particles + std::strlen(kHelpLines[1]));
    // The next line enters from the right and has slid a pixel already.
    EXPECT_EQ(title_.textX, 320 + 4 * static_cast<int32_t>(std::strlen(kHelpLines[2])) - 1);
    runTo(1000);
    EXPECT_EQ(countOfKind(kKindDummy), 1);
    runTo(2000);
    EXPECT_EQ(countOfKind(kKindDummy), 3);
    EXPECT_EQ(countOfKind(kKindDisk), 2);
    runTo(4199);
    EXPECT_GE(countOfKind(kKindPlayer), 1);
    CPlayer::instance(1)->locatorTimer = 200;  // X held: the arrows are showing
    runTo(4200);                               // the box is cleared and the credits come
    runTo(4201);
    EXPECT_EQ(CWorld::instance().objects.size(), 0u);
    EXPECT_TRUE(CGameState::instance().gameOver);
    // Staging, not play: the report counts no death of the player and no game over.
    EXPECT_EQ(report.killed[kKindPlayer], 0u);
    EXPECT_EQ(report.gameOvers, 0u);
    EXPECT_EQ(CPlayer::instance(1)->locatorTimer, 0);  // and do not stay frozen on screen
    EXPECT_EQ(title_.lastStep, 9);
}

TEST_F(TitleScreenTest, TheMenuStopsTheFrameTheLineTheWorldAndTheEffects) {
    runTo(520);  // the second line is sliding in; the player materialised long ago
    press(kStart);
    ASSERT_TRUE(press(0));
    ASSERT_TRUE(CGameState::instance().menuOpen);
    const uint32_t frame = CGameState::instance().frameCounter;
    const int32_t textX = title_.textX;
    const uint32_t updates = CGameReport::instance().worldUpdates;
    const size_t effects = CEffectManager::instance().count();
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(press(0));
    EXPECT_EQ(CGameState::instance().frameCounter, frame);
    EXPECT_EQ(title_.textX, textX);
    EXPECT_EQ(CGameReport::instance().worldUpdates, updates);
    EXPECT_EQ(CEffectManager::instance().count(), effects);
    // RESUME TUTORIAL closes it.
    press(kDown);
    press(0);
    press(kStart);
    ASSERT_TRUE(press(0));
    EXPECT_FALSE(CGameState::instance().menuOpen);
}

TEST_F(TitleScreenTest, NewGameWithoutABestLevelStartsTheFirstLevel) {
    runTo(10);
    press(kStart);
    press(0);
    press(kStart);
    EXPECT_FALSE(press(0));
    EXPECT_EQ(CLevel::instance().levelNumber, -1);
    EXPECT_EQ(title_.finish(), CTitleScreen::kPlay);
    EXPECT_FALSE(CGameState::instance().tutorial);
    EXPECT_EQ(CGameState::instance().frameCounter, 0u);
    EXPECT_TRUE(CWorld::instance().objects.empty());
}

// Each item of the title's menu, on a fresh screen each: NEW GAME leaves to play, RESUME
// TUTORIAL goes on, SETTINGS opens the settings page, QUIT leaves with the quit result.
TEST_F(TitleScreenTest, EveryMenuItemDoesWhatItSays) {
    const struct {
        int32_t item;
        bool goesOn, menuOpen, settings;
        int32_t result;
    } cases[] = {{0, false, false, false, CTitleScreen::kPlay},
                 {1, true, false, false, CTitleScreen::kPlay},
                 {2, true, true, true, CTitleScreen::kPlay},
                 {3, false, false, false, CTitleScreen::kQuit}};
    for (const auto& c : cases) {
        title_ = CTitleScreen();
        title_.begin();
        CMenu::instance().reset();
        CGameState::instance().menuOpen = false;
        press(kStart);
        press(0);
        for (int i = 0; i < c.item; ++i) {
            press(kDown);
            press(0);
        }
        press(kStart);
        EXPECT_EQ(press(0), c.goesOn) << "item " << c.item;
        EXPECT_EQ(CGameState::instance().menuOpen, c.menuOpen) << "item " << c.item;
        EXPECT_EQ(CMenu::instance().inSettings, c.settings) << "item " << c.item;
        EXPECT_EQ(title_.result, c.result) << "item " << c.item;
    }
}

// The one real monster of the tutorial, for each value of its draw.
TEST_F(TitleScreenTest, TheTutorialsMonsterComesFromItsDraw) {
    const int32_t kinds[10] = {kKindGrenadeer, kKindGrenadeer, kKindGrenadeer, kKindGrenadeer,
                               kKindGrenadeer, kKindGrenadeer, kKindGrenadeer, kKindRocketeer,
                               kKindJoust,     kKindEye};
    for (int32_t r = 0; r < 10; ++r) {
        uint32_t seed = 1;
        while (seedGameRand(seed), gameRand() % 10 != r) ++seed;
        CWorld::instance().clear(true);
        seedGameRand(seed);
        title_.runStep(6);
        ASSERT_EQ(CWorld::instance().objects.size(), 1u);
        EXPECT_EQ(CWorld::instance().objects.front()->kind, kinds[r]) << "draw " << r;
    }
}

TEST_F(TitleScreenTest, LosingFocusOpensTheMenuAndAQuitRequestLeaves) {
    runTo(10);
    press(kPauseRequest);
    EXPECT_TRUE(CGameState::instance().menuOpen);
    platformRequestQuit();
    EXPECT_FALSE(press(0));
    EXPECT_EQ(title_.finish(), CTitleScreen::kQuit);
}

}  // namespace
