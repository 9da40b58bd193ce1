// A game controller in the desktop window: SDL's virtual controller, plugged in and pulled out in
// the middle of a level, on SDL's dummy display (no screen needed).

#ifdef BOLTFEVER_TEST_WITH_SDL

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "actors/Player.h"
#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "shell/MainLoop.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "support/GameTest.h"

namespace {

// The fourteen levels as one mask, read back from the input the game polled.
ButtonMask heldFlags() {
    const CInput& in = CInput::instance();
    const uint8_t flags[kButtonCount] = {in.up,          in.down,         in.left,     in.right,
                                         in.select,      in.start,        in.buttonA,  in.buttonX,
                                         in.upLeft,      in.upRight,      in.downLeft, in.downRight,
                                         in.volumeUpKey, in.volumeDownKey};
    ButtonMask mask = 0;
    for (int b = 0; b < kButtonCount; ++b)
        if (flags[b]) mask |= buttonBit(static_cast<EButton>(b));
    return mask;
}

class ControllerTest : public CPlayTest {
protected:
    void SetUp() override {
        CPlayTest::SetUp();
        // Set for this test alone: later tests start the game as a process, which inherits it.
        const char* before = std::getenv("SDL_VIDEODRIVER");
        if (before) videoDriverBefore_ = before;
        hadVideoDriver_ = before != nullptr;
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        // No window of the dummy display ever has the focus, and SDL keeps a controller's
        // moves from a window without it.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        SWindowOptions options;
        options.mute = true;
        std::string error;
        window_ = openWindow(options, error);
        ASSERT_TRUE(window_) << error;
        platformStartup(*window_);
        ASSERT_TRUE(loop_.startUp({1, 1, {}}));
        ASSERT_TRUE(loop_.enterGame());
        // The level begins with the player materialising; it walks and fires after that.
        const CPlayer* player = CPlayer::instance(1);
        for (int i = 0; i < 1000 && (player->spawning || player->appearDelay != 0); ++i)
            ASSERT_TRUE(loop_.iterate());
        ASSERT_FALSE(player->spawning || player->appearDelay != 0);
    }
    void TearDown() override {
        if (pad_) SDL_JoystickClose(pad_);
        if (window_) platformShutdown();
        window_.reset();
        SDL_ResetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS);
        if (hadVideoDriver_)
            setenv("SDL_VIDEODRIVER", videoDriverBefore_.c_str(), 1);
        else
            unsetenv("SDL_VIDEODRIVER");
        CPlayTest::TearDown();
    }
    // A standard controller plugged in; the game sees it from its next poll on.
    void plugIn() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Bolt Fever test pad";
        device_ = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(device_, 0) << SDL_GetError();
        pad_ = SDL_JoystickOpen(device_);
        ASSERT_TRUE(pad_) << SDL_GetError();
    }
    void pullOut() {
        SDL_JoystickClose(pad_);
        pad_ = nullptr;
        ASSERT_EQ(SDL_JoystickDetachVirtual(device_), 0) << SDL_GetError();
    }
    // The controller in this state (the stick, the buttons held by SDL's numbers as bits) for a
    // few iterations of the game.
    void hold(int x, int y, uint32_t buttons, int iterations = 3) {
        SDL_JoystickSetVirtualAxis(pad_, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(pad_, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
            SDL_JoystickSetVirtualButton(pad_, b, (buttons >> b) & 1);
        for (int i = 0; i < iterations; ++i) ASSERT_TRUE(loop_.iterate());
    }

    std::unique_ptr<CBackend> window_;
    CMainLoop loop_;
    SDL_Joystick* pad_ = nullptr;
    int device_ = -1;
    bool hadVideoDriver_ = false;
    std::string videoDriverBefore_;
};

constexpr uint32_t pad(SDL_GameControllerButton button) {
    return 1u << button;
}

TEST_F(ControllerTest, StickDpadAndButtonsReachTheGameAndSurviveUnplugging) {
    plugIn();
    struct SCase {
        int x, y;
        uint32_t buttons;
        ButtonMask want;
    } const cases[] = {
        {32767, 0, 0, buttonBit(kButtonRight)},
        {-23170, -23170, 0, buttonBit(kButtonUpLeft)},
        {0, 32767, 0, buttonBit(kButtonDown)},
        {8000, 0, 0, 0},  // inside the dead zone
        {0, 0, pad(SDL_CONTROLLER_BUTTON_DPAD_UP), buttonBit(kButtonUp)},
        {0, 0, pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN) | pad(SDL_CONTROLLER_BUTTON_DPAD_LEFT),
         buttonBit(kButtonDown) | buttonBit(kButtonLeft)},
        {0, 0, pad(SDL_CONTROLLER_BUTTON_A) | pad(SDL_CONTROLLER_BUTTON_X),
         buttonBit(kButtonA) | buttonBit(kButtonX)},
        {0, 0, pad(SDL_CONTROLLER_BUTTON_BACK), buttonBit(kButtonSelect)},
        {0, 0, pad(SDL_CONTROLLER_BUTTON_LEFTSHOULDER) | pad(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER),
         buttonBit(kButtonVolumeDown) | buttonBit(kButtonVolumeUp)},
        {0, 0, pad(SDL_CONTROLLER_BUTTON_B) | pad(SDL_CONTROLLER_BUTTON_Y), 0},
    };
    for (const SCase& c : cases) {
        hold(c.x, c.y, c.buttons);
        EXPECT_EQ(heldFlags(), c.want) << c.x << "," << c.y << " " << c.buttons;
    }

    // Pulled out while the stick is held and fire is down: nothing stays held.
    CPlayer* player = CPlayer::instance(1);
    hold(32767, 0, pad(SDL_CONTROLLER_BUTTON_A));
    pullOut();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(loop_.iterate());
    EXPECT_EQ(heldFlags(), 0);
    const uint32_t shots = CGameReport::instance().shotsFired[kKindPlayer];
    const int32_t x = player->x, y = player->y;
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(loop_.iterate());
    EXPECT_EQ(player->x, x);
    EXPECT_EQ(CGameReport::instance().shotsFired[kKindPlayer], shots);

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

}  // namespace

#endif
