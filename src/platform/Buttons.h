#pragma once
// The fourteen buttons of the handheld, as flag indices (bit positions of a button mask) and as
// the GPIO bit numbers the game reads them by.

#include <cstdint>

enum EButton : uint8_t {
    kButtonUp,
    kButtonDown,
    kButtonLeft,
    kButtonRight,
    kButtonSelect,
    kButtonStart,
    kButtonA,
    kButtonX,
    kButtonUpLeft,
    kButtonUpRight,
    kButtonDownLeft,
    kButtonDownRight,
    kButtonVolumeUp,
    kButtonVolumeDown,
    kButtonCount
};

// The handheld's buttons in the low bits; above them what the PC adds and the game must see the
// same way in a replay (the pause on a lost focus, the controls page, the mouse in the menus).
using ButtonMask = uint32_t;

constexpr ButtonMask buttonBit(EButton b) {
    return static_cast<ButtonMask>(1u << b);
}

// Not a button of the handheld: the window lost focus, and the game should pause as if START had
// been pressed and released. It travels with the buttons so that replays reproduce it.
constexpr ButtonMask kPauseRequest = 1u << kButtonCount;
// Not a button either: the controls page (F1) is open over the picture. The game stands still
// and reads nothing of this poll but the volume buttons, which the page presses for its bar.
constexpr ButtonMask kControlsOpen = 1u << (kButtonCount + 1);
// The mouse in a menu: which of the shown picture's pointer targets it is over (1..15, 0 for
// none), and its button held. Reported only while the mouse is in use (see CPlayerInput). The
// target's fourth bit came later, above the press, so that older replays read as they did.
constexpr int kPointerShift = kButtonCount + 2;
constexpr ButtonMask kPointerTargetLow = 7u << kPointerShift;
constexpr ButtonMask kPointerPress = 1u << (kButtonCount + 5);
constexpr ButtonMask kPointerTargetHigh = 1u << (kButtonCount + 6);
constexpr ButtonMask kPointerTargetBits = kPointerTargetLow | kPointerTargetHigh;
constexpr int kMaxPointerTarget = 15;
constexpr ButtonMask kAllButtons = (1u << (kButtonCount + 7)) - 1;

constexpr ButtonMask pointerBits(int target, bool pressed) {
    const auto t = static_cast<ButtonMask>(target);
    return (t & 7u) << kPointerShift | (t & 8u) << (kButtonCount + 3) |
           (pressed ? kPointerPress : 0);
}

constexpr int pointerTargetOf(ButtonMask mask) {
    return static_cast<int>((mask & kPointerTargetLow) >> kPointerShift |
                            (mask & kPointerTargetHigh) >> (kButtonCount + 3));
}
static_assert(pointerTargetOf(pointerBits(13, true)) == 13);

// GPIO bit numbers: port C holds bits 0..15, port D 16..31, ..., port M 160..175.
constexpr int kGpioBit[kButtonCount] = {160, 164, 162, 166, 9,   8,  12,
                                        14,  161, 167, 163, 165, 23, 22};

// The flag a GPIO bit number belongs to, or kButtonCount when it is not one of ours.
constexpr EButton buttonForGpioBit(int bit) {
    for (int i = 0; i < kButtonCount; ++i)
        if (kGpioBit[i] == bit) return static_cast<EButton>(i);
    return kButtonCount;
}

// Lower-case names used by input scripts, replays and the help text.
constexpr const char* kButtonName[kButtonCount] = {
    "up", "down",   "left",    "right",    "select",    "start", "a",
    "x",  "upleft", "upright", "downleft", "downright", "volup", "voldown"};
