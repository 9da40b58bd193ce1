#include "platform/KeyMap.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/Controls.h"

namespace {

constexpr SKeyBinding kKeyBindings[] = {
    {kKeyUp, "ArrowUp", kButtonUp},
    {kKeyW, "KeyW", kButtonUp},
    {kKeyKp8, "Numpad8", kButtonUp},
    {kKeyDown, "ArrowDown", kButtonDown},
    {kKeyS, "KeyS", kButtonDown},
    {kKeyKp2, "Numpad2", kButtonDown},
    {kKeyLeft, "ArrowLeft", kButtonLeft},
    {kKeyA, "KeyA", kButtonLeft},
    {kKeyKp4, "Numpad4", kButtonLeft},
    {kKeyRight, "ArrowRight", kButtonRight},
    {kKeyD, "KeyD", kButtonRight},
    {kKeyKp6, "Numpad6", kButtonRight},
    {kKeyKp7, "Numpad7", kButtonUpLeft},
    {kKeyKp9, "Numpad9", kButtonUpRight},
    {kKeyKp1, "Numpad1", kButtonDownLeft},
    {kKeyKp3, "Numpad3", kButtonDownRight},
    {kKeySpace, "Space", kButtonA},
    {kKeyZ, "KeyZ", kButtonA},
    {kKeyLeftCtrl, "ControlLeft", kButtonA},
    {kKeyX, "KeyX", kButtonX},
    {kKeyEscape, "Escape", kButtonStart},
    {kKeyReturn, "Enter", kButtonStart},
    {kKeyKpEnter, "NumpadEnter", kButtonStart},
    {kKeyTab, "Tab", kButtonSelect},
    {kKeyEquals, "Equal", kButtonVolumeUp},
    {kKeyKpPlus, "NumpadAdd", kButtonVolumeUp},
    {kKeyMinus, "Minus", kButtonVolumeDown},
    {kKeyKpMinus, "NumpadSubtract", kButtonVolumeDown},
};

constexpr SPadBinding kPadBindings[] = {
    {kPadDpadUp, 12, kButtonUp},
    {kPadDpadDown, 13, kButtonDown},
    {kPadDpadLeft, 14, kButtonLeft},
    {kPadDpadRight, 15, kButtonRight},
    {kPadA, 0, kButtonA},
    {kPadX, 2, kButtonX},
    {kPadStart, 9, kButtonStart},
    {kPadBack, 8, kButtonSelect},
    {kPadLeftShoulder, 4, kButtonVolumeDown},
    {kPadRightShoulder, 5, kButtonVolumeUp},
};

}  // namespace

ButtonMask keyboardButtons(const uint8_t* keysDown, bool altHeld) {
    return CControls::instance().buttons(keysDown, altHeld);
}

std::span<const SKeyBinding> defaultKeyBindings() {
    return kKeyBindings;
}

ButtonMask controllerButtons(const bool pressed[kPadButtons], int stickX, int stickY) {
    ButtonMask mask = 0;
    for (const SPadBinding& binding : kPadBindings)
        if (pressed[binding.pad]) mask |= buttonBit(binding.button);
    return mask | stickContacts(stickX, stickY);
}

EPadButton padButtonAtStandardIndex(int index) {
    for (const SPadBinding& binding : kPadBindings)
        if (binding.standardIndex == index) return binding.pad;
    return kPadButtons;
}

ButtonMask stickContacts(int stickX, int stickY) {
    const long long dx = stickX, dy = stickY;
    if (dx * dx + dy * dy < static_cast<long long>(kStickDeadZone) * kStickDeadZone) return 0;
    // Screen y grows downward; the angle counts counter-clockwise from the right.
    const double degrees =
        std::atan2(static_cast<double>(-dy), static_cast<double>(dx)) * 180.0 / std::numbers::pi;
    const int sector =
        static_cast<int>(std::lround((degrees < 0 ? degrees + 360.0 : degrees) / 45.0)) % 8;
    constexpr EButton kSector[8] = {kButtonRight, kButtonUpRight,  kButtonUp,   kButtonUpLeft,
                                    kButtonLeft,  kButtonDownLeft, kButtonDown, kButtonDownRight};
    return buttonBit(kSector[sector]);
}
