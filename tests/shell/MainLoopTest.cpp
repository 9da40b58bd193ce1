#include <gtest/gtest.h>

#include "actors/Player.h"
#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "shell/MainLoop.h"
#include "shell/Menu.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "support/GameTest.h"
#include "support/TestActor.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

constexpr ButtonMask kStart = buttonBit(kButtonStart);
constexpr ButtonMask kDown = buttonBit(kButtonDown);

// Counts the rests between the polls of a wait; when asked, presses START at the third rest (or
// at the 50th poll, should the wait never rest).
class CPatientBackend : public CHeadlessBackend {
public:
    bool startInWait = false;
    int rests = 0;
    int polls = 0;
    void pauseBetweenPolls() override {
        if (++rests == 3 && startInWait) setButtons(kStart);
    }
    ButtonMask pollButtons() override {
        if (++polls == 50 && startInWait) setButtons(kStart);
        return CHeadlessBackend::pollButtons();
    }
};

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
    // A game of level 1 after a drawn and a logic-only iteration.
    void startGame() {
        // Straight into the first level; a run whose scores count for nothing, so that GAME OVER
        // shows its menu at once.
        ASSERT_TRUE(loop_.startUp({1, 1, {}, true}));
        ASSERT_TRUE(loop_.enterGame());  // level number 0, from the maps.dat beside the tests
        loop_.iterate();
        loop_.iterate();
        ASSERT_TRUE(loop_.drawIteration);
    }
    // The player took its fifth disk in the logic-only iteration just run and loses its last
    // life in the next update, killed by an actor that comes before or after it in the walk.
    void loseTheLastLifeWithFiveDisks(bool killerFirst) {
        startGame();
        CPlayer* player = CPlayer::instance(1);
        player->lives = 1;
        player->disks = 5;
        auto* killer = new CTestActor;
        killer->spawning = false;
        killer->onUpdate = [](CTestActor& self) {
            CPlayer::instance(1)->die(0);
            self.dead = true;
        };
        auto& objects = CWorld::instance().objects;
        if (killerFirst)
            objects.push_front(killer);
        else
            objects.push_back(killer);
        // START held throughout: a LEVEL COMPLETE shown by mistake would not wait for it.
        backend_.setButtons(kStart);
        for (int i = 0; i < 4; ++i) loop_.iterate();
        const CGameReport& report = CGameReport::instance();
        EXPECT_TRUE(CGameState::instance().gameOver);
        EXPECT_EQ(CLevel::instance().levelNumber, 0);
        EXPECT_EQ(player->lives, 0);
        EXPECT_EQ(CGameState::instance().bestLevel, 0);
        EXPECT_EQ(report.levelsCompleted, 0u);
        EXPECT_EQ(report.gameOvers, 1u);
        EXPECT_EQ(report.samples[18], 0u);  // no fanfare
        EXPECT_FALSE(CGameState::instance().menuOpen);
    }
    // Buttons down for two iterations and up for two, so that a drawn one sees each.
    void tap(ButtonMask buttons) {
        for (const ButtonMask b : {buttons, buttons, ButtonMask{0}, ButtonMask{0}}) {
            backend_.setButtons(b);
            loop_.iterate();
        }
    }
    // START held on an item of the menu showing (the pause menu opened first when none is).
    void pointAt(int32_t item) {
        if (!CGameState::instance().gameOver && !CGameState::instance().menuOpen) tap(kStart);
        while (CMenu::instance().cursor != item) tap(kDown);
        backend_.setButtons(kStart);
        loop_.iterate();
        loop_.iterate();
    }
    // Lets START go and runs to the drawn iteration that acts on it; false when it quits.
    bool release() {
        backend_.setButtons(0);
        const bool drawn = loop_.drawIteration;
        return loop_.iterate() && (drawn || loop_.iterate());
    }
    CPatientBackend backend_;
    CMainLoop loop_;
};

// An actor that counts how often the world draws it.
class CDrawnActor : public CTestActor {
public:
    void draw() override { ++draws; }
    int draws = 0;
};

// The loop's rhythm, iteration by iteration: a drawn iteration and a logic-only one, each with a
// world update; the frame counter moves in drawn ones only, and not under the menu, where the
// world stands still but is drawn; the volume keys act in every iteration.
TEST_F(MainLoopTest, TwoUpdatesPerPictureAndTheMenuFreezesTheWorldButNotTheVolume) {
    startGame();
    CGameState& state = CGameState::instance();
    const CGameReport& report = CGameReport::instance();
    auto* actor = new CDrawnActor;
    actor->spawning = false;
    CWorld::instance().add(actor);
    struct SStep {
        bool menu;
        ButtonMask buttons;
        int pictures, updates, frames, draws, volume;  // what the iteration adds
    } const steps[] = {
        {false, 0, 1, 1, 1, 1, 0},
        {false, 0, 0, 1, 0, 0, 0},
        {false, buttonBit(kButtonVolumeDown), 1, 1, 1, 1, -1},
        {false, buttonBit(kButtonVolumeDown), 0, 1, 0, 0, -1},
        {true, buttonBit(kButtonVolumeUp), 1, 0, 0, 1, 1},
        {true, buttonBit(kButtonVolumeUp), 0, 0, 0, 0, 1},
        {true, 0, 1, 0, 0, 1, 0},
        {false, 0, 0, 1, 0, 0, 0},
    };
    int i = 0;
    for (const SStep& s : steps) {
        state.menuOpen = s.menu;
        backend_.setButtons(s.buttons);
        const uint32_t pictures = picturesShown(), updates = report.worldUpdates;
        const uint32_t frame = state.frameCounter;
        const int draws = actor->draws, actorUpdates = actor->updates;
        const int32_t volume = CSoundManager::instance().masterVolume;
        loop_.iterate();
        EXPECT_EQ(picturesShown() - pictures, static_cast<uint32_t>(s.pictures)) << "step " << i;
        EXPECT_EQ(report.worldUpdates - updates, static_cast<uint32_t>(s.updates)) << "step " << i;
        EXPECT_EQ(actor->updates - actorUpdates, s.updates) << "step " << i;
        EXPECT_EQ(state.frameCounter - frame, static_cast<uint32_t>(s.frames)) << "step " << i;
        EXPECT_EQ(actor->draws - draws, s.draws) << "step " << i;
        EXPECT_EQ(CSoundManager::instance().masterVolume - volume, s.volume) << "step " << i;
        ++i;
    }
}

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

TEST_F(MainLoopTest, UnderTheControlsPageNothingMovesButTheVolume) {
    startGame();
    CGameState& state = CGameState::instance();
    backend_.setButtons(kStart);  // held in play: latched
    loop_.iterate();
    ASSERT_TRUE(loop_.startLatched);
    const uint32_t frames = state.frameCounter, shown = picturesShown();
    const uint32_t updates = CGameReport::instance().worldUpdates;
    const bool drawing = loop_.drawIteration;
    const int32_t volume = CSoundManager::instance().masterVolume;
    backend_.setButtons(kControlsOpen | buttonBit(kButtonVolumeUp));  // START let go under it
    for (int i = 0; i < 10; ++i) loop_.iterate();
    EXPECT_EQ(state.frameCounter, frames);
    EXPECT_EQ(CGameReport::instance().worldUpdates, updates);
    EXPECT_EQ(loop_.drawIteration, drawing);
    EXPECT_EQ(picturesShown(), shown + 10);  // shown on at the game's pace
    EXPECT_EQ(CSoundManager::instance().masterVolume, volume + 10);
    EXPECT_TRUE(loop_.startLatched);
    EXPECT_FALSE(state.menuOpen);
    backend_.setButtons(0);  // the page closed: the release is seen now, and the menu opens
    loop_.iterate();
    EXPECT_TRUE(state.menuOpen);
}

TEST_F(MainLoopTest, TheMouseHighlightsAnItemAndItsButtonChoosesItOnRelease) {
    startGame();
    tap(kStart);
    CMenu& menu = CMenu::instance();
    ASSERT_TRUE(CGameState::instance().menuOpen);
    const ButtonMask overQuit = pointerBits(4, false);
    tap(overQuit);
    EXPECT_EQ(menu.cursor, 3);
    // A key moves on; the mouse resting on QUIT does not pull the highlight back.
    for (const ButtonMask b : {overQuit | kDown, overQuit | kDown, overQuit, overQuit}) {
        backend_.setButtons(b);
        loop_.iterate();
    }
    EXPECT_EQ(menu.cursor, 0);
    backend_.setButtons(pointerBits(4, true));
    loop_.iterate();
    loop_.iterate();
    EXPECT_EQ(menu.cursor, 3);
    EXPECT_FALSE(release());  // QUIT
}

// LEVEL COMPLETE waits without drawing; under the controls page it shows its picture on and
// takes the page's volume, and START after the page ends the wait as ever.
TEST_F(MainLoopTest, LevelCompleteWaitsUnderTheControlsPageShowingItsPicture) {
    startGame();
    CPlayer::instance(1)->disks = 5;
    const int32_t volume = CSoundManager::instance().masterVolume;
    const uint32_t shown = picturesShown();
    int polls = 0;
    backend_.setButtonSource([&polls](uint32_t) {
        ++polls;
        return polls < 10   ? ButtonMask{0}
               : polls < 20 ? kControlsOpen | buttonBit(kButtonVolumeDown)
                            : kStart;
    });
    EXPECT_TRUE(loop_.iterate());
    EXPECT_EQ(CLevel::instance().levelNumber, 1);
    EXPECT_EQ(CSoundManager::instance().masterVolume, volume - 10);
    EXPECT_EQ(picturesShown(), shown + 13);  // the panel, ten under the page, as before
}

TEST_F(MainLoopTest, FiveDisksCompleteTheLevelAndAHeldStartCarriesOverIntoTheMenu) {
    ASSERT_TRUE(loop_.startUp({1, 1, {}, true}));  // straight into the first level
    ASSERT_TRUE(loop_.enterGame());  // level number 0, from the maps.dat beside the tests
    CLevel& level = CLevel::instance();
    ASSERT_EQ(level.levelNumber, 0);
    loop_.iterate();
    loop_.iterate();
    CPlayer* player = CPlayer::instance(1);
    player->disks = 4;  // one short: nothing happens
    backend_.setButtons(kStart);
    loop_.iterate();
    loop_.iterate();
    EXPECT_EQ(level.levelNumber, 0);
    backend_.setButtons(0);
    loop_.iterate();  // the release opens the menu; closed again, the level goes on
    loop_.iterate();
    CGameState::instance().menuOpen = false;
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
    EXPECT_EQ(CGameReport::instance().levelsCompleted, 1u);
    // Still held at the next poll: latched again, and its release opens the menu.
    loop_.iterate();
    EXPECT_TRUE(loop_.startLatched);
    backend_.setButtons(0);
    loop_.iterate();
    EXPECT_TRUE(CGameState::instance().menuOpen);
}

TEST_F(MainLoopTest, FiveDisksAndTheLastLifeLostInOneFrameEndTheGameWithoutALevelComplete) {
    loseTheLastLifeWithFiveDisks(true);
}

TEST_F(MainLoopTest, FiveDisksAndTheLastLifeLostLaterInTheWalkEndTheGameWithoutALevelComplete) {
    loseTheLastLifeWithFiveDisks(false);
}

TEST_F(MainLoopTest, NewGameChosenAtGameOverStartsAFreshPlayerAtTheFirstLevel) {
    startGame();
    CGameState& state = CGameState::instance();
    CPlayer* old = CPlayer::instance(1);
    old->lives = 1;
    old->score = 1234;
    // START, held since before the last life was lost, confirms NEW GAME, the first item of the
    // menu under GAME OVER, when it is released.
    backend_.setButtons(kStart);
    loop_.iterate();
    ASSERT_TRUE(loop_.startLatched);
    old->die(0);
    for (int i = 0; i < 4; ++i) loop_.iterate();
    EXPECT_TRUE(state.gameOver);
    backend_.setButtons(0);
    loop_.iterate();
    loop_.iterate();
    EXPECT_FALSE(state.gameOver);
    EXPECT_EQ(CLevel::instance().levelNumber, 0);
    const CPlayer* fresh = CPlayer::instance(1);
    EXPECT_EQ(fresh->lives, 3);
    EXPECT_EQ(fresh->score, 0);
    int disks = 0, players = 0;
    for (const CGameObject* actor : CWorld::instance().objects) {
        disks += actor->kind == kKindDisk;
        players += actor == fresh;
    }
    EXPECT_EQ(disks, 6);
    EXPECT_EQ(players, 1);
    // The press that chose it, latched in play, opens no pause menu afterwards.
    for (int i = 0; i < 4; ++i) loop_.iterate();
    EXPECT_FALSE(state.menuOpen);
    EXPECT_FALSE(loop_.startLatched);
}

// Every item of the menu under GAME OVER and of the pause menu, one after the other in one
// run: SETTINGS opens the settings page and DONE leaves it; NEW GAME starts a fresh player
// with the world running again; QUIT ends the loop (here it is taken back to go on).
TEST_F(MainLoopTest, EveryMenuItemDoesWhatItSays) {
    startGame();
    CGameState& state = CGameState::instance();
    const CGameReport& report = CGameReport::instance();
    const struct {
        const char* what;
        bool dieFirst;  // the last life lost first: the menu under GAME OVER
        int32_t item;
        bool goesOn, menuOpen, settings, gameOver, fresh;
    } rows[] = {
        {"game over: SETTINGS", true, 1, true, false, true, true, false},
        {"settings: DONE", false, 2, true, false, false, true, false},
        {"game over: NEW GAME", false, 0, true, false, false, false, true},
        {"pause: SETTINGS", false, 2, true, true, true, false, false},
        {"settings: DONE", false, 2, true, true, false, false, false},
        {"pause: RESUME GAME", false, 0, true, false, false, false, false},
        {"pause: NEW GAME", false, 1, true, false, false, false, true},
        {"pause: QUIT", false, 3, false, true, false, false, false},
        {"pause: RESUME GAME", false, 0, true, false, false, false, false},
        {"game over: QUIT", true, 2, false, false, false, true, false},
    };
    for (const auto& r : rows) {
        CPlayer* player = CPlayer::instance(1);
        player->score = 1234;
        if (r.dieFirst) {
            player->lives = 1;
            player->die(0);
            tap(0);
            ASSERT_TRUE(state.gameOver) << r.what;
        }
        pointAt(r.item);
        EXPECT_EQ(release(), r.goesOn) << r.what;
        EXPECT_EQ(state.menuOpen, r.menuOpen) << r.what;
        EXPECT_EQ(CMenu::instance().inSettings, r.settings) << r.what;
        EXPECT_EQ(state.gameOver, r.gameOver) << r.what;
        EXPECT_EQ(CPlayer::instance(1)->score == 0, r.fresh) << r.what;
        const uint32_t updates = report.worldUpdates;
        loop_.quitRequested = false;
        loop_.iterate();
        EXPECT_EQ(report.worldUpdates - updates, r.menuOpen ? 0u : 1u) << r.what;
    }
}

// A QUIT confirmed in the drawn iteration in which the fifth disk would complete the level ends
// the game there: the level is not completed first.
TEST_F(MainLoopTest, AQuitChosenAsTheLevelCompletesIsHonouredFirst) {
    startGame();
    backend_.startInWait = true;  // a LEVEL COMPLETE shown all the same ends its wait
    pointAt(3);
    CPlayer::instance(1)->disks = 5;
    EXPECT_FALSE(release());
    EXPECT_EQ(CLevel::instance().levelNumber, 0);
    EXPECT_EQ(CGameReport::instance().levelsCompleted, 0u);
}

// In the window a wait that only polls would spin a core: it rests between polls.
TEST_F(MainLoopTest, TheLevelCompleteWaitRestsBetweenPolls) {
    startGame();
    CPlayer::instance(1)->disks = 5;
    backend_.startInWait = true;
    backend_.polls = 0;
    loop_.iterate();
    EXPECT_EQ(CLevel::instance().levelNumber, 1);
    EXPECT_EQ(backend_.rests, 3);
    EXPECT_EQ(backend_.polls, 4 + 1);  // the wait's four and the iteration's own
}

}  // namespace
