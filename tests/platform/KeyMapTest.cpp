#include <gtest/gtest.h>

#include <vector>

#include "platform/KeyMap.h"

namespace {

ButtonMask keys(std::initializer_list<EKey> held, bool alt = false) {
    std::vector<uint8_t> state(kKeyUsages, 0);
    for (const EKey k : held) state[k] = 1;
    return keyboardButtons(state.data(), alt);
}

// The browser's way in: keys by the names its key events give them.
ButtonMask named(std::initializer_list<const char*> codes, bool alt = false) {
    std::vector<uint8_t> state(kKeyUsages, 0);
    for (const char* code : codes) state[keyForCode(code)] = 1;
    return keyboardButtons(state.data(), alt);
}

ButtonMask b(EButton button) {
    return buttonBit(button);
}

TEST(KeyMap, KeyboardGivesCardinalPairsAndKeypadDiagonals) {
    EXPECT_EQ(keys({kKeyUp, kKeyRight}), b(kButtonUp) | b(kButtonRight));
    EXPECT_EQ(keys({kKeyS, kKeyA}), b(kButtonDown) | b(kButtonLeft));
    EXPECT_EQ(keys({kKeyKp7}), b(kButtonUpLeft));
    EXPECT_EQ(keys({kKeyKp9}), b(kButtonUpRight));
    EXPECT_EQ(keys({kKeyKp1}), b(kButtonDownLeft));
    EXPECT_EQ(keys({kKeyKp3}), b(kButtonDownRight));
    EXPECT_EQ(keys({kKeySpace}), b(kButtonA));
    EXPECT_EQ(keys({kKeyLeftCtrl, kKeyX}), b(kButtonA) | b(kButtonX));
    EXPECT_EQ(keys({kKeyTab}), b(kButtonSelect));
    EXPECT_EQ(keys({kKeyEquals, kKeyKpMinus}), b(kButtonVolumeUp) | b(kButtonVolumeDown));
    // Enter is START, but Alt+Enter toggles fullscreen; Escape is START either way.
    EXPECT_EQ(keys({kKeyReturn}), b(kButtonStart));
    EXPECT_EQ(keys({kKeyReturn}, true), 0);
    EXPECT_EQ(keys({kKeyKpEnter}, true), 0);
    EXPECT_EQ(keys({kKeyEscape}, true), b(kButtonStart));
    EXPECT_EQ(keys({static_cast<EKey>(20)}), 0);  // Q
}

TEST(KeyMap, BrowserKeyNamesReachTheSameButtons) {
    EXPECT_EQ(named({"ArrowUp", "KeyD"}), b(kButtonUp) | b(kButtonRight));
    EXPECT_EQ(named({"Numpad3", "ControlLeft"}), b(kButtonDownRight) | b(kButtonA));
    EXPECT_EQ(named({"NumpadEnter"}), b(kButtonStart));
    EXPECT_EQ(named({"Enter"}, true), 0);
    EXPECT_EQ(named({"Minus", "NumpadAdd", "Tab"}),
              b(kButtonVolumeDown) | b(kButtonVolumeUp) | b(kButtonSelect));
    // Every key a player may bind is known by its name, so a rebound key works in the page too;
    // near misses of the names, and keys no one may bind, are nothing.
    EXPECT_EQ(keyForCode("KeyQ"), 20);
    EXPECT_EQ(keyForCode("ControlRight"), 228);
    EXPECT_EQ(keyForCode("F1"), 58);  // the controls page's
    for (const char* other : {"arrowup", "", "ArrowUpX", "F11", "Comma"})
        EXPECT_EQ(keyForCode(other), 0) << other;
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
    bool pressed[kPadButtons] = {};
    pressed[kPadA] = true;
    pressed[kPadDpadUp] = true;
    pressed[kPadDpadLeft] = true;
    pressed[kPadRightShoulder] = true;
    EXPECT_EQ(controllerButtons(pressed, 0, 0),
              b(kButtonA) | b(kButtonUp) | b(kButtonLeft) | b(kButtonVolumeUp));
    bool other[kPadButtons] = {};
    other[kPadBack] = true;
    other[kPadStart] = true;
    other[kPadX] = true;
    other[kPadLeftShoulder] = true;
    other[kPadB] = true;  // no use
    EXPECT_EQ(controllerButtons(other, -32768, 0), b(kButtonSelect) | b(kButtonStart) |
                                                       b(kButtonX) | b(kButtonVolumeDown) |
                                                       b(kButtonLeft));
}

TEST(KeyMap, BrowserGamepadLayoutMeetsTheSameButtons) {
    // The standard layout: 0 south, 2 west, 4 and 5 shoulders, 8 back, 9 start, 12..15 the pad.
    const std::vector<std::pair<int, EPadButton>> layout = {
        {0, kPadA},         {2, kPadX},          {4, kPadLeftShoulder}, {5, kPadRightShoulder},
        {8, kPadBack},      {9, kPadStart},      {12, kPadDpadUp},      {13, kPadDpadDown},
        {14, kPadDpadLeft}, {15, kPadDpadRight}, {1, kPadButtons},      {6, kPadButtons},
        {16, kPadButtons},  {-1, kPadButtons}};
    for (const auto& [index, pad] : layout)
        EXPECT_EQ(padButtonAtStandardIndex(index), pad) << index;
}

}  // namespace
