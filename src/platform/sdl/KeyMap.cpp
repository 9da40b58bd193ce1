#include "platform/sdl/KeyMap.h"

#include <cmath>
#include <initializer_list>

ButtonMask keyboardButtons(const Uint8* keyState, bool altHeld) {
    ButtonMask mask = 0;
    auto held = [&](std::initializer_list<SDL_Scancode> codes, EButton b) {
        for (const SDL_Scancode c : codes)
            if (keyState[c]) mask |= buttonBit(b);
    };
    held({SDL_SCANCODE_UP, SDL_SCANCODE_W, SDL_SCANCODE_KP_8}, kButtonUp);
    held({SDL_SCANCODE_DOWN, SDL_SCANCODE_S, SDL_SCANCODE_KP_2}, kButtonDown);
    held({SDL_SCANCODE_LEFT, SDL_SCANCODE_A, SDL_SCANCODE_KP_4}, kButtonLeft);
    held({SDL_SCANCODE_RIGHT, SDL_SCANCODE_D, SDL_SCANCODE_KP_6}, kButtonRight);
    held({SDL_SCANCODE_KP_7}, kButtonUpLeft);
    held({SDL_SCANCODE_KP_9}, kButtonUpRight);
    held({SDL_SCANCODE_KP_1}, kButtonDownLeft);
    held({SDL_SCANCODE_KP_3}, kButtonDownRight);
    held({SDL_SCANCODE_SPACE, SDL_SCANCODE_Z, SDL_SCANCODE_LCTRL}, kButtonA);
    held({SDL_SCANCODE_X}, kButtonX);
    held({SDL_SCANCODE_ESCAPE}, kButtonStart);
    if (!altHeld) held({SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER}, kButtonStart);
    held({SDL_SCANCODE_TAB}, kButtonSelect);
    held({SDL_SCANCODE_EQUALS, SDL_SCANCODE_KP_PLUS}, kButtonVolumeUp);
    held({SDL_SCANCODE_MINUS, SDL_SCANCODE_KP_MINUS}, kButtonVolumeDown);
    return mask;
}

ButtonMask controllerButtons(const bool pressed[SDL_CONTROLLER_BUTTON_MAX], int stickX,
                             int stickY) {
    ButtonMask mask = 0;
    auto held = [&](SDL_GameControllerButton button, EButton b) {
        if (pressed[button]) mask |= buttonBit(b);
    };
    held(SDL_CONTROLLER_BUTTON_DPAD_UP, kButtonUp);
    held(SDL_CONTROLLER_BUTTON_DPAD_DOWN, kButtonDown);
    held(SDL_CONTROLLER_BUTTON_DPAD_LEFT, kButtonLeft);
    held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kButtonRight);
    held(SDL_CONTROLLER_BUTTON_A, kButtonA);
    held(SDL_CONTROLLER_BUTTON_X, kButtonX);
    held(SDL_CONTROLLER_BUTTON_START, kButtonStart);
    held(SDL_CONTROLLER_BUTTON_BACK, kButtonSelect);
    held(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, kButtonVolumeDown);
    held(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, kButtonVolumeUp);
    return mask | stickContacts(stickX, stickY);
}

ButtonMask stickContacts(int stickX, int stickY) {
    const long long dx = stickX, dy = stickY;
    if (dx * dx + dy * dy < static_cast<long long>(kStickDeadZone) * kStickDeadZone) return 0;
    // Screen y grows downward; the angle counts counter-clockwise from the right.
    const double degrees =
        std::atan2(static_cast<double>(-dy), static_cast<double>(dx)) * 180.0 / M_PI;
    const int sector =
        static_cast<int>(std::lround((degrees < 0 ? degrees + 360.0 : degrees) / 45.0)) % 8;
    constexpr EButton kSector[8] = {kButtonRight, kButtonUpRight,  kButtonUp,   kButtonUpLeft,
                                    kButtonLeft,  kButtonDownLeft, kButtonDown, kButtonDownRight};
    return buttonBit(kSector[sector]);
}
