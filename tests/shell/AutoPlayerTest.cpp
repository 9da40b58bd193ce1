#include "shell/AutoPlayer.h"

#include <gtest/gtest.h>

#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "shell/MainLoop.h"
#include "shell/Menu.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "state/Random.h"
#include "support/GameTest.h"
#include "support/Place.h"
#include "support/TestActor.h"
#include "world/Level.h"

namespace {

class AutoPlayerTest : public CPlayTest {};

// Whatever it sees (the tutorial, its menu, play with a disk to fetch and a monster to shoot, the
// pause menu, the settings page, GAME OVER), the automatic player decides with a generator of its
// own: the game's draws come out as if nobody had asked.
TEST_F(AutoPlayerTest, NeverDrawsFromTheGamesGenerator) {
    CGameState& state = CGameState::instance();
    CMenu& menu = CMenu::instance();
    CPlayer* player = present(CPlayer::instance(1), 10 * 64, 10 * 64);
    present(new CBaseSpar, 20 * 64, 10 * 64);
    present(new CTestActor(kKindSoldier), 10 * 64, 4 * 64);
    struct SSituation {
        bool tutorial, menuOpen, settings, gameOver;
        uint32_t disks;
    } const situations[] = {
        {true, false, false, false, 0},  {true, true, false, false, 0},
        {false, false, false, false, 0}, {false, false, false, false, 5},
        {false, true, false, false, 0},  {false, true, true, false, 0},
        {false, false, false, true, 0},
    };
    CAutoPlayer autoplayer(5);
    int i = 0;
    for (const SSituation& s : situations) {
        state.tutorial = s.tutorial;
        state.menuOpen = s.menuOpen;
        state.gameOver = s.gameOver;
        state.frameCounter = 10000;  // long enough in the tutorial to open its menu
        menu.inSettings = s.settings;
        player->disks = s.disks;
        seedGameRand(3);
        const int first = gameRand();
        seedGameRand(3);
        ButtonMask seen = 0;
        for (int poll = 0; poll < 20000; ++poll) seen |= autoplayer.next();
        EXPECT_NE(seen, 0) << "situation " << i;  // it did something
        EXPECT_EQ(gameRand(), first) << "situation " << i;
        ++i;
    }
}

// A whole game as the automatic player plays it: out of the title by its menu, levels completed,
// and after GAME OVER a new game from the menu under it, at the start level it chose there.
TEST_F(AutoPlayerTest, LeavesTheTitleCompletesLevelsAndStartsOverAfterGameOver) {
    CHeadlessBackend headless;
    CAutoplayBackend autoplay(headless, 251);
    platformStartup(autoplay);
    CMainLoop loop;
    CGameState& state = CGameState::instance();
    const CGameReport& report = CGameReport::instance();
    ASSERT_TRUE(loop.startUp({251, 0, {}, true}));  // a demo, as --autoplay runs
    ASSERT_TRUE(loop.enterGame());
    EXPECT_FALSE(state.tutorial);
    EXPECT_EQ(CLevel::instance().levelNumber, 0);
    for (int i = 0; i < 40000 && report.levelsCompleted < 2; ++i) loop.iterate();
    EXPECT_EQ(report.levelsCompleted, 2u);

    CPlayer* last = CPlayer::instance(1);
    last->lives = 1;
    last->die(0);
    for (int i = 0; i < 2000 && !state.gameOver; ++i) loop.iterate();
    ASSERT_TRUE(state.gameOver);
    for (int i = 0; i < 20000 && state.gameOver; ++i) loop.iterate();
    ASSERT_FALSE(state.gameOver);
    const CPlayer* fresh = CPlayer::instance(1);
    EXPECT_EQ(fresh->lives, 3);
    EXPECT_EQ(fresh->score, 0);
    EXPECT_EQ(CLevel::instance().levelNumber, CMenu::instance().startLevelChoice);
    EXPECT_FALSE(state.menuOpen);
    // And on it plays.
    const uint32_t completed = report.levelsCompleted;
    for (int i = 0; i < 40000 && report.levelsCompleted == completed; ++i) loop.iterate();
    EXPECT_EQ(report.levelsCompleted, completed + 1);
}

}  // namespace
