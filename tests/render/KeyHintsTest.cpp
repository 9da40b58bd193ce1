#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/Controls.h"
#include "render/KeyHints.h"
#include "support/GameTest.h"

namespace {

using KeyHintsTest = CGameTest;

// Each row: the keys file's lines, the scene, keyboard or controller, and the lines said.
TEST_F(KeyHintsTest, TheLinesFollowTheBindingsOrTheController) {
    struct SCase {
        const char* keys;
        SHintScene scene;
        bool pad;
        const char* first;
        const char* second;
        const char* third = nullptr;
    } const cases[] = {
        {"",
         {EHintScene::kTitle, 0, 1},
         false,
         "JOYSTICK: ARROWS OR W A S D",
         "\"START\": ESCAPE/RETURN   F1: CONTROLS"},
        {"up = W, Up\nleft = A, Left\ndown = S, Down\nright = D, Right",
         {EHintScene::kTitle, 0, 1},
         false,
         "JOYSTICK: W A S D OR ARROWS",
         nullptr},
        {"fire = Q", {EHintScene::kTitle, 0, 2}, false, "\"A\" BUTTON: Q", nullptr},
        {"", {EHintScene::kTitle, 0, 2}, true, "\"A\" BUTTON: A", "\"START\": START   Y: CONTROLS"},
        {"", {EHintScene::kTitle, 0, 3}, false, "\"START\": ESCAPE/RETURN   F1: CONTROLS", ""},
        // Beside the way to the scores: SELECT's keys and START's, short where the whole names
        // do not fit, and F1 above them.
        {"",
         {EHintScene::kTitle, 0, 3, false, true},
         false,
         "SELECT: TAB  START: ESC",
         "F1: CONTROLS"},
        {"select = Space",
         {EHintScene::kTitle, 0, 1, false, true},
         true,
         "JOYSTICK: D-PAD OR LEFT STICK",
         "SELECT: BACK  START: START",
         "Y: CONTROLS"},
        {"select = Keypad Enter",
         {EHintScene::kTitle, 0, 3, false, true},
         false,
         "SELECT: KPENTER",
         "F1: CONTROLS"},
        {"",
         {EHintScene::kMenu, 158, 0, true},
         false,
         "UP/DOWN: MOVE   ESCAPE/RETURN: CHOOSE   F1: CONTROLS",
         "LEFT/RIGHT: CHANGE"},
        // Too long even with one key for START: short names; what does not fit then goes, F1
        // stays.
        {"menu = Keypad Enter, Right Shift\nup = Keypad 8\ndown = Keypad 2",
         {EHintScene::kMenu, 158},
         false,
         "KP8/KP2: MOVE   KPENTER: CHOOSE   F1: CONTROLS",
         ""},
        {"menu = Keypad Enter, Right Shift\nup = Right Shift\ndown = Backspace\nselect = "
         "Left Shift",
         {EHintScene::kMenu, 158},
         false,
         "RSHIFT/BKSP: MOVE   KPENTER: CHOOSE   F1: CONTROLS",
         ""},
        {"menu = Keypad Enter, Right Shift",
         {EHintScene::kMenu, 158},
         false,
         "UP/DOWN: MOVE   KEYPAD ENTER: CHOOSE   F1: CONTROLS",
         ""},
        {"menu =", {EHintScene::kLevelComplete, 152}, false, "START: NO KEY   F1: CONTROLS", ""},
        {"fire = Q",
         {EHintScene::kScores, 214},
         false,
         "Q: WATCH   ESCAPE/RETURN: BACK   F1: CONTROLS",
         ""},
        {"", {EHintScene::kScores, 214}, true, "A: WATCH   START: BACK   Y: CONTROLS", ""},
        {"locator = C",
         {EHintScene::kScores, 214, 0, false, false, true},
         false,
         "SPACE/Z: WATCH   ESCAPE/RETURN: BACK   F1: CONTROLS",
         "C: SEND   LEFT/RIGHT: LOCAL/WORLD"},
        {"",
         {EHintScene::kScores, 214, 0, false, false, true},
         true,
         "A: WATCH   START: BACK   Y: CONTROLS",
         "X: SEND   D-PAD LEFT/RIGHT: LOCAL/WORLD"},
        {"",
         {EHintScene::kInitials, 146},
         false,
         "JOYSTICK: ARROWS OR W A S D",
         "START: ESCAPE/RETURN   F1: CONTROLS"},
    };
    for (const SCase& c : cases) {
        CControls::instance().setDefaults();
        ASSERT_TRUE(CControls::instance().parse(c.keys, "k").empty()) << c.keys;
        SHintLine lines[kMostHintLines];
        const int count = hintLines(c.scene, c.pad, lines);
        ASSERT_GE(count, 1) << c.first;
        EXPECT_STREQ(lines[0].text, c.first);
        if (c.second) {
            EXPECT_EQ(count >= 2 ? std::string(lines[1].text) : "", c.second) << c.first;
        }
        if (c.third) {
            EXPECT_EQ(count >= 3 ? std::string(lines[2].text) : "", c.third) << c.first;
        }
        if (!c.scene.besideScores) continue;
        // Beside the title's way to the high scores (x 2 to 128) the keys' line keeps clear of
        // it and of the version (from x 290); F1's, above it, of "PRESS "START"" (to x 238).
        const auto half = [](const SHintLine& line) {
            return static_cast<int32_t>(std::strlen(line.text)) * 3 + 3;
        };
        const SHintLine &keys = lines[count - 2], &page = lines[count - 1];
        EXPECT_GE(keys.x - half(keys), 128) << keys.text;
        EXPECT_LE(keys.x + half(keys), 290) << keys.text;
        EXPECT_GE(page.x - half(page), 238) << page.text;
        EXPECT_LE(page.x + half(page), 320) << page.text;
    }
    // A picture the game says nothing about shows none; the scene is the picture's only.
    setHintScene({EHintScene::kMenu, 158});
    EXPECT_EQ(takeHintScene().what, EHintScene::kMenu);
    EXPECT_EQ(takeHintScene().what, EHintScene::kNone);
}

}  // namespace
