// Presses shorter than a poll in the desktop window, on SDL's dummy display: a key or a
// controller's button pressed and let go of between two of the game's polls (or before its very
// first, while it was still starting) is seen held for one poll, and so pressed and released.

#ifdef BOLTFEVER_TEST_WITH_SDL

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/Input.h"
#include "shell/TitleScreen.h"
#include "sound/SoundManager.h"
#include "state/GameState.h"
#include "support/DummyWindow.h"
#include "support/GameTest.h"

namespace {

class ShortPressTest : public CGameTest {
protected:
    void SetUp() override {
        CGameTest::SetUp();
        std::string error;
        ASSERT_TRUE(dummy_.open(error)) << error;
        CSoundManager::instance().startUp();
    }
    void TearDown() override {
        dummy_.close();
        CGameTest::TearDown();
    }
    // A key down and up again, both waiting for the next poll.
    static void tapKey(SDL_Scancode key) {
        for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event event{};
            event.type = type;
            event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            event.key.keysym.scancode = key;
            event.key.keysym.sym = SDL_GetKeyFromScancode(key);
            SDL_PushEvent(&event);
        }
    }
    // A controller's button down and up again: SDL sees both (its events wait for the next
    // poll), and the controller's state is up when the game looks.
    void tapPad(SDL_GameControllerButton button) {
        for (const Uint8 down : {1, 0}) {
            SDL_JoystickSetVirtualButton(dummy_.pad, button, down);
            SDL_PumpEvents();
        }
    }

    CDummyWindow dummy_;
};

// START tapped on the title, as the Return key or the controller's button: the tap is seen
// down at one poll and up at the next, and the title's menu opens. The key's tap comes before
// the title's first poll, as when the player presses at once while the game is starting.
TEST_F(ShortPressTest, ATapBetweenTwoPollsIsAPressAndARelease) {
    for (const bool controller : {false, true}) {
        SCOPED_TRACE(controller ? "the controller's START" : "Return");
        CGameState& state = CGameState::instance();
        state.menuOpen = false;
        CTitleScreen title;
        title.begin();
        if (controller) {
            std::string error;
            ASSERT_TRUE(dummy_.plugIn(error)) << error;
            for (int i = 0; i < 3; ++i) ASSERT_TRUE(title.iterate());
            tapPad(SDL_CONTROLLER_BUTTON_START);
        } else {
            tapKey(SDL_SCANCODE_RETURN);
        }
        ASSERT_TRUE(title.iterate());
        EXPECT_TRUE(CInput::instance().start);
        EXPECT_FALSE(state.menuOpen);
        ASSERT_TRUE(title.iterate());
        EXPECT_FALSE(CInput::instance().start);
        EXPECT_TRUE(state.menuOpen);
    }
}

}  // namespace

#endif
