#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/Controls.h"
#include "platform/KeyMap.h"
#include "support/GameTest.h"
#include "support/RunGame.h"

#ifdef BOLTFEVER_TEST_WITH_SDL
#include <SDL.h>
#endif

namespace {

class ControlsTest : public CGameTest {
protected:
    // The buttons with just these keys down.
    ButtonMask press(std::initializer_list<int> usages) {
        std::array<uint8_t, kKeyUsages> down{};
        for (int u : usages) down[u] = 1;
        return CControls::instance().buttons(down.data(), false);
    }
};

TEST_F(ControlsTest, TheDefaultsWrittenOutReadBackTheSame) {
    CControls& controls = CControls::instance();
    const std::string text = controls.text();
    EXPECT_NE(text.find("fire = Space, Z, Left Ctrl\n"), std::string::npos);
    EXPECT_NE(text.find("menu = Escape, Return, Keypad Enter\n"), std::string::npos);
    uint8_t before[kButtonCount][CControls::kMaxKeysPerAction];
    std::memcpy(before, controls.keys, sizeof before);
    controls.parse("fire = F\n", "t");
    EXPECT_TRUE(controls.parse(text, "t").empty());
    EXPECT_EQ(std::memcmp(before, controls.keys, sizeof before), 0);
}

TEST_F(ControlsTest, AFileRebindsTheActionsItNamesAndLeavesTheRest) {
    const auto problems = CControls::instance().parse(
        "# mine\n\nFIRE = f, right ctrl   # two keys\nvolumeup = =\nlocator=Keypad 0\n", "k");
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(press({keyByName("F")}), buttonBit(kButtonA));
    EXPECT_EQ(press({keyByName("Right Ctrl")}), buttonBit(kButtonA));
    EXPECT_EQ(press({kKeySpace}), 0);  // no longer fire
    EXPECT_EQ(press({kKeyEquals}), buttonBit(kButtonVolumeUp));
    EXPECT_EQ(press({keyByName("Keypad 0")}), buttonBit(kButtonX));
    EXPECT_EQ(press({kKeyUp}), buttonBit(kButtonUp));  // untouched
}

TEST_F(ControlsTest, ABadLineSaysWhereAndItsActionKeepsItsKeys) {
    struct SCase {
        const char* line;
        const char* said;
    } const cases[] = {
        {"fire Space", "k:1: expected 'action = key, key', not 'fire Space'"},
        {"jump = Space", "k:1: no action 'jump'"},
        {"fire = Space, Hyperspace", "k:1: unknown key 'Hyperspace' for fire"},
        {"fire = ", "k:1: unknown key '' for fire"},
        {"fire = A, B, C, D, E", "k:1: more than 4 keys for fire"},
        {"fire = \x01\xff", "k:1: unknown key '\\x01\\xFF' for fire"},
    };
    for (const SCase& c : cases) {
        CControls::instance().setDefaults();
        const auto problems = CControls::instance().parse(c.line, "k");
        ASSERT_EQ(problems.size(), 1u) << c.line;
        EXPECT_EQ(problems[0].rfind(c.said, 0), 0u) << problems[0];
        EXPECT_EQ(press({kKeySpace}), buttonBit(kButtonA)) << c.line;
    }
}

TEST_F(ControlsTest, AMissingFileIsWrittenWithTheDefaultsAndALargeOneIsRefused) {
    const std::string dir = freshTestDir("Controls");
    const std::string path = dir + "/" + CControls::kFileName;
    EXPECT_TRUE(loadControls(path).empty());
    std::stringstream written;
    written << std::ifstream(path).rdbuf();
    EXPECT_EQ(written.str(), CControls::instance().text());
    std::ofstream(path) << std::string(100000, 'x');
    const auto problems = loadControls(path);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("the default keys stay"), std::string::npos);
}

#ifdef BOLTFEVER_TEST_WITH_SDL
TEST_F(ControlsTest, KeyNamesAreSdlsOwn) {
    for (int usage = 0; usage < kKeyUsages; ++usage) {
        const std::string_view ours = keyName(usage);
        if (ours.empty()) continue;
        EXPECT_EQ(ours, SDL_GetScancodeName(static_cast<SDL_Scancode>(usage))) << usage;
        EXPECT_EQ(keyByName(ours), usage);
    }
}
#endif

}  // namespace
