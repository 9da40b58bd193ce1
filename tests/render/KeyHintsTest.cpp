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
        {"", {EHintScene::kTitle, 0, 3, false, true}, false, "ESCAPE   F1: CONTROLS", ""},
        {"",
         {EHintScene::kMenu, 158, 0, true},
         false,
         "UP/DOWN: MOVE   ESCAPE/RETURN: CHOOSE   F1: CONTROLS",
         "LEFT/RIGHT: CHANGE"},
        // Too long even with one key for START: what does not fit goes, F1 stays.
        {"menu = Keypad Enter, Right Shift\nup = Keypad 8\ndown = Keypad 2",
         {EHintScene::kMenu, 158},
         false,
         "KEYPAD 8/KEYPAD 2: MOVE   F1: CONTROLS",
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
        {"",
         {EHintScene::kInitials, 146},
         false,
         "JOYSTICK: ARROWS OR W A S D",
         "START: ESCAPE/RETURN   F1: CONTROLS"},
    };
    for (const SCase& c : cases) {
        CControls::instance().setDefaults();
        ASSERT_TRUE(CControls::instance().parse(c.keys, "k").empty()) << c.keys;
        SHintLine lines[2];
        const int count = hintLines(c.scene, c.pad, lines);
        ASSERT_GE(count, 1) << c.first;
        EXPECT_STREQ(lines[0].text, c.first);
        if (c.second) {
            EXPECT_EQ(count == 2 ? std::string(lines[1].text) : "", c.second) << c.first;
        }
        // Beside the title's way to the high scores (x 2 to 128) the line keeps clear of it
        // and of the version (from x 290).
        const SHintLine& last = lines[count - 1];
        const int32_t half = static_cast<int32_t>(std::strlen(last.text)) * 3 + 3;
        if (c.scene.besideScores) {
            EXPECT_GE(last.x - half, 128) << last.text;
            EXPECT_LE(last.x + half, 290) << last.text;
        }
    }
    // A picture the game says nothing about shows none; the scene is the picture's only.
    setHintScene({EHintScene::kMenu, 158});
    EXPECT_EQ(takeHintScene().what, EHintScene::kMenu);
    EXPECT_EQ(takeHintScene().what, EHintScene::kNone);
}

}  // namespace
