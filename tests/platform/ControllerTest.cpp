// A game controller in the desktop window: SDL's virtual controller, plugged in and pulled out in
// the middle of a level, on SDL's dummy display.

#ifdef BOLTFEVER_TEST_WITH_SDL

#include <SDL.h>
#include <gtest/gtest.h>

#include "actors/Player.h"
#include "platform/ControlsPage.h"
#include "platform/Input.h"
#include "platform/Platform.h"
#include "shell/MainLoop.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "support/DummyWindow.h"
#include "support/GameTest.h"

namespace {

// The fourteen levels the game polled, as one mask.
ButtonMask heldFlags() {
    const CInput& in = CInput::instance();
    const uint8_t flags[kButtonCount] = {in.up,          in.down,         in.left,     in.right,
                                         in.select,      in.start,        in.buttonA,  in.buttonX,
                                         in.upLeft,      in.upRight,      in.downLeft, in.downRight,
                                         in.volumeUpKey, in.volumeDownKey};
    ButtonMask mask = 0;
    for (int b = 0; b < kButtonCount; ++b) mask |= flags[b] ? buttonBit(EButton(b)) : 0;
    return mask;
}

constexpr uint32_t pad(SDL_GameControllerButton button) {
    return 1u << button;
}

class ControllerTest : public CPlayTest {
protected:
    void SetUp() override {
        CPlayTest::SetUp();
        std::string error;
        ASSERT_TRUE(dummy_.open(error)) << error;
        ASSERT_TRUE(loop_.startUp({1, 1, {}}));
        ASSERT_TRUE(loop_.enterGame());
        // The level begins with the player materialising; it walks and fires after that.
        const CPlayer* player = CPlayer::instance(1);
        for (int i = 0; i < 1000 && (player->spawning || player->appearDelay != 0); ++i)
            ASSERT_TRUE(loop_.iterate());
    }
    void TearDown() override {
        dummy_.close();
        CPlayTest::TearDown();
    }
    void plugIn() {
        std::string error;
        ASSERT_TRUE(dummy_.plugIn(error)) << error;
    }
    // The controller in this state (the stick; the buttons held, by SDL's numbers as bits) for
    // a few iterations of the game.
    void hold(int x, int y, uint32_t buttons, int iterations = 3) {
        SDL_JoystickSetVirtualAxis(dummy_.pad, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(dummy_.pad, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
            SDL_JoystickSetVirtualButton(dummy_.pad, b, (buttons >> b) & 1);
        for (int i = 0; i < iterations; ++i) ASSERT_TRUE(loop_.iterate());
    }

    CDummyWindow dummy_;
    CMainLoop loop_;
};

TEST_F(ControllerTest, StickDpadAndButtonsReachTheGameAndSurviveUnplugging) {
    plugIn();
    struct SCase {
        int x, y;
        uint32_t buttons;
        ButtonMask want;
    } const cases[] = {
        // Which stick contacts and buttons each of these makes is KeyMap's; here they come
        // through SDL: both axes, the D-pad, the buttons.
        {-23170, -23170, 0, buttonBit(kButtonUpLeft)},
        {0, 0, pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN) | pad(SDL_CONTROLLER_BUTTON_DPAD_LEFT),
         buttonBit(kButtonDown) | buttonBit(kButtonLeft)},
        {0, 0,
         pad(SDL_CONTROLLER_BUTTON_A) | pad(SDL_CONTROLLER_BUTTON_X) |
             pad(SDL_CONTROLLER_BUTTON_BACK) | pad(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER),
         buttonBit(kButtonA) | buttonBit(kButtonX) | buttonBit(kButtonSelect) |
             buttonBit(kButtonVolumeUp)},
    };
    for (const SCase& c : cases) {
        hold(c.x, c.y, c.buttons);
        EXPECT_EQ(heldFlags(), c.want) << c.x << "," << c.y << " " << c.buttons;
    }

    // Pulled out while the stick is pushed and fire is down: nothing stays held.
    const CPlayer* player = CPlayer::instance(1);
    hold(32767, 0, pad(SDL_CONTROLLER_BUTTON_A));
    dummy_.pullOut();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(loop_.iterate());
    EXPECT_EQ(heldFlags(), 0);
    const uint32_t shots = CGameReport::instance().shotsFired[kKindPlayer];
    const int32_t x = player->x, y = player->y;
    for (int i = 0; i < 40; ++i) ASSERT_TRUE(loop_.iterate());
    EXPECT_EQ(CGameReport::instance().shotsFired[kKindPlayer], shots);
    EXPECT_TRUE(player->x == x && player->y == y);

    // Plugged in again, the same level goes on under it: the player walks (whichever way the
    // maze lets it) and fires.
    plugIn();
    for (const auto way : {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_UP,
                           SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_DPAD_DOWN}) {
        hold(0, 0, pad(way) | pad(SDL_CONTROLLER_BUTTON_A), 10);
        if (player->x != x || player->y != y) break;
    }
    EXPECT_TRUE(player->x != x || player->y != y);
    EXPECT_GT(CGameReport::instance().shotsFired[kKindPlayer], shots);

    // START reaches the game's loop: the menu opens when it is let go of.
    hold(0, 0, pad(SDL_CONTROLLER_BUTTON_START));
    EXPECT_EQ(heldFlags(), buttonBit(kButtonStart));
    hold(0, 0, 0);
    EXPECT_TRUE(CGameState::instance().menuOpen);
}

// On the controller, as SDL maps its buttons: Y opens the controls page, A chooses an action, B
// gives up waiting for its key, and B again closes the page.
TEST_F(ControllerTest, YOpensTheControlsPageAndBCancelsABindingThenClosesIt) {
    plugIn();
    const CControlsPage& page = CControlsPage::instance();
    const struct {
        SDL_GameControllerButton button;
        bool open, binding;
    } steps[] = {{SDL_CONTROLLER_BUTTON_Y, true, false},
                 {SDL_CONTROLLER_BUTTON_DPAD_DOWN, true, false},
                 {SDL_CONTROLLER_BUTTON_A, true, true},
                 {SDL_CONTROLLER_BUTTON_B, true, false},
                 {SDL_CONTROLLER_BUTTON_B, false, false}};
    for (const auto& s : steps) {
        hold(0, 0, pad(s.button));
        hold(0, 0, 0);
        EXPECT_EQ(page.isOpen, s.open) << s.button;
        EXPECT_EQ(page.binding, s.binding) << s.button;
    }
}

}  // namespace

#endif
