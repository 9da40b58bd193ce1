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

using ButtonMask = uint16_t;

constexpr ButtonMask buttonBit(EButton b) {
    return static_cast<ButtonMask>(1u << b);
}

// Not a button of the handheld: the window lost focus, and the game should pause as if START had
// been pressed and released. It travels with the buttons so that replays reproduce it.
constexpr ButtonMask kPauseRequest = 1u << kButtonCount;
constexpr ButtonMask kAllButtons = static_cast<ButtonMask>((1u << (kButtonCount + 1)) - 1);

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
