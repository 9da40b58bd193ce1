#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl/KeyMap.h"

namespace {

ButtonMask keys(std::initializer_list<SDL_Scancode> held, bool alt = false) {
    std::vector<Uint8> state(SDL_NUM_SCANCODES, 0);
    for (const SDL_Scancode c : held) state[c] = 1;
    return keyboardButtons(state.data(), alt);
}

ButtonMask b(EButton button) {
    return buttonBit(button);
}

TEST(KeyMap, KeyboardGivesCardinalPairsAndKeypadDiagonals) {
    EXPECT_EQ(keys({SDL_SCANCODE_UP, SDL_SCANCODE_RIGHT}), b(kButtonUp) | b(kButtonRight));
    EXPECT_EQ(keys({SDL_SCANCODE_S, SDL_SCANCODE_A}), b(kButtonDown) | b(kButtonLeft));
    EXPECT_EQ(keys({SDL_SCANCODE_KP_7}), b(kButtonUpLeft));
    EXPECT_EQ(keys({SDL_SCANCODE_KP_9}), b(kButtonUpRight));
    EXPECT_EQ(keys({SDL_SCANCODE_KP_1}), b(kButtonDownLeft));
    EXPECT_EQ(keys({SDL_SCANCODE_KP_3}), b(kButtonDownRight));
    EXPECT_EQ(keys({SDL_SCANCODE_SPACE}), b(kButtonA));
    EXPECT_EQ(keys({SDL_SCANCODE_LCTRL, SDL_SCANCODE_X}), b(kButtonA) | b(kButtonX));
    EXPECT_EQ(keys({SDL_SCANCODE_TAB}), b(kButtonSelect));
    EXPECT_EQ(keys({SDL_SCANCODE_EQUALS, SDL_SCANCODE_KP_MINUS}),
              b(kButtonVolumeUp) | b(kButtonVolumeDown));
    // Enter is START, but Alt+Enter toggles fullscreen; Escape is START either way.
    EXPECT_EQ(keys({SDL_SCANCODE_RETURN}), b(kButtonStart));
    EXPECT_EQ(keys({SDL_SCANCODE_RETURN}, true), 0);
    EXPECT_EQ(keys({SDL_SCANCODE_ESCAPE}, true), b(kButtonStart));
    EXPECT_EQ(keys({SDL_SCANCODE_Q}), 0);
}

TEST(KeyMap, StickSectorsAndDeadZone) {
    EXPECT_EQ(stickContacts(0, 0), 0);
    EXPECT_EQ(stickContacts(11000, 4000), 0);  // inside the dead zone
    EXPECT_EQ(stickContacts(32767, 0), b(kButtonRight));
    EXPECT_EQ(stickContacts(0, -32768), b(kButtonUp));
    EXPECT_EQ(stickContacts(-32768, 0), b(kButtonLeft));
    EXPECT_EQ(stickContacts(0, 32767), b(kButtonDown));
    // Pushed between two directions: the diagonal contact alone.
    EXPECT_EQ(stickContacts(23000, -23000), b(kButtonUpRight));
    EXPECT_EQ(stickContacts(-23000, -23000), b(kButtonUpLeft));
    EXPECT_EQ(stickContacts(-23000, 23000), b(kButtonDownLeft));
    EXPECT_EQ(stickContacts(23000, 23000), b(kButtonDownRight));
    // 20 degrees off right is still right; 25 degrees is the diagonal's sector.
    EXPECT_EQ(stickContacts(30000, -10919), b(kButtonRight));
    EXPECT_EQ(stickContacts(30000, -13989), b(kButtonUpRight));
}

TEST(KeyMap, ControllerButtonsAndDpadPairs) {
    bool pressed[SDL_CONTROLLER_BUTTON_MAX] = {};
    pressed[SDL_CONTROLLER_BUTTON_A] = true;
    pressed[SDL_CONTROLLER_BUTTON_DPAD_UP] = true;
    pressed[SDL_CONTROLLER_BUTTON_DPAD_LEFT] = true;
    pressed[SDL_CONTROLLER_BUTTON_RIGHTSHOULDER] = true;
    EXPECT_EQ(controllerButtons(pressed, 0, 0),
              b(kButtonA) | b(kButtonUp) | b(kButtonLeft) | b(kButtonVolumeUp));
    bool none[SDL_CONTROLLER_BUTTON_MAX] = {};
    none[SDL_CONTROLLER_BUTTON_BACK] = true;
    none[SDL_CONTROLLER_BUTTON_START] = true;
    none[SDL_CONTROLLER_BUTTON_X] = true;
    none[SDL_CONTROLLER_BUTTON_LEFTSHOULDER] = true;
    EXPECT_EQ(controllerButtons(none, -32768, 0), b(kButtonSelect) | b(kButtonStart) | b(kButtonX) |
                                                      b(kButtonVolumeDown) | b(kButtonLeft));
}

}  // namespace
