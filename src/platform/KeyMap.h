#pragma once
// The PC's keys and game controllers as the handheld's buttons: one table, read by the desktop
// window and by the browser alike.

#include <cstdint>
#include <span>

#include "platform/Buttons.h"

// Keys by their USB HID usage: the numbers SDL's scancodes are, and what the browser's key codes
// name. Only the keys the game uses are listed.
enum EKey : uint8_t {
    kKeyA = 4,
    kKeyD = 7,
    kKeyS = 22,
    kKeyW = 26,
    kKeyX = 27,
    kKeyZ = 29,
    kKeyReturn = 40,
    kKeyEscape = 41,
    kKeyTab = 43,
    kKeySpace = 44,
    kKeyMinus = 45,
    kKeyEquals = 46,
    kKeyRight = 79,
    kKeyLeft = 80,
    kKeyDown = 81,
    kKeyUp = 82,
    kKeyKpMinus = 86,
    kKeyKpPlus = 87,
    kKeyKpEnter = 88,
    kKeyKp1 = 89,
    kKeyKp2 = 90,
    kKeyKp3 = 91,
    kKeyKp4 = 92,
    kKeyKp6 = 94,
    kKeyKp7 = 95,
    kKeyKp8 = 96,
    kKeyKp9 = 97,
    kKeyLeftCtrl = 224,
};
// Entries of a keys-down array: every usage above fits.
constexpr int kKeyUsages = 256;

struct SKeyBinding {
    EKey key;
    const char* code;  // the browser's name of the key (KeyboardEvent.code)
    EButton button;
};

// Game controller buttons, numbered as SDL numbers them.
enum EPadButton : uint8_t {
    kPadA,
    kPadB,
    kPadX,
    kPadY,
    kPadBack,
    kPadGuide,
    kPadStart,
    kPadLeftStick,
    kPadRightStick,
    kPadLeftShoulder,
    kPadRightShoulder,
    kPadDpadUp,
    kPadDpadDown,
    kPadDpadLeft,
    kPadDpadRight,
    kPadButtons
};

struct SPadBinding {
    EPadButton pad;
    uint8_t standardIndex;  // the browser's number for it in the standard gamepad layout
    EButton button;
};

// A stick pushed less than this far (of 32767) counts as centred.
constexpr int kStickDeadZone = 12000;

// Buttons held on the keyboard, given which keys are down (indexed by usage, at least kKeyUsages
// entries), by the keys in use (CControls: the defaults unless the player set others). With Alt
// held, Enter toggles fullscreen instead of pressing START.
ButtonMask keyboardButtons(const uint8_t* keysDown, bool altHeld);
// The keys every action has until the player sets others.
std::span<const SKeyBinding> defaultKeyBindings();
// A key a player may bind (platform/Controls.h), by the browser's name for it; 0 for any other.
int keyForCode(const char* code);

// Buttons of one game controller: `pressed` by EPadButton, the left stick's axes.
ButtonMask controllerButtons(const bool pressed[kPadButtons], int stickX, int stickY);
// The controller button at a position of the browser's standard layout; kPadButtons for one the
// game has no use for.
EPadButton padButtonAtStandardIndex(int index);

// The handheld's eight stick contacts from an analogue stick: four cardinal and four diagonal
// sectors of 45 degrees each, nothing inside the dead zone.
ButtonMask stickContacts(int stickX, int stickY);
