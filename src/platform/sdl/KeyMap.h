#pragma once
// The PC's keys and game controllers as the handheld's buttons.

#include <SDL.h>

#include "platform/Buttons.h"

// A stick pushed less than this far (of 32767) counts as centred.
constexpr int kStickDeadZone = 12000;

// Buttons held on the keyboard, given SDL's key state array. With Alt held, Enter toggles the
// window instead of pressing START.
ButtonMask keyboardButtons(const Uint8* keyState, bool altHeld);

// Buttons of one game controller: `pressed` by SDL_GameControllerButton, the left stick's axes.
ButtonMask controllerButtons(const bool pressed[SDL_CONTROLLER_BUTTON_MAX], int stickX, int stickY);

// The handheld's eight stick contacts from an analogue stick: four cardinal and four diagonal
// sectors of 45 degrees each, nothing inside the dead zone.
ButtonMask stickContacts(int stickX, int stickY);
