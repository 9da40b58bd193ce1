#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Controls.h"
#include "platform/KeyMap.h"
#include "platform/Messages.h"
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
        "# mine\n\nFIRE = f, right ctrl   # two keys\nvolumeup = =\nlocator=Keypad 0\nselect =\n",
        "k");
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(press({keyByName("F")}), buttonBit(kButtonA));
    EXPECT_EQ(press({keyByName("Right Ctrl")}), buttonBit(kButtonA));
    EXPECT_EQ(press({kKeySpace}), 0);  // no longer fire
    EXPECT_EQ(press({kKeyEquals}), buttonBit(kButtonVolumeUp));
    EXPECT_EQ(press({keyByName("Keypad 0")}), buttonBit(kButtonX));
    EXPECT_EQ(press({kKeyUp}), buttonBit(kButtonUp));  // untouched
    EXPECT_EQ(press({kKeyTab}), 0);                    // no key, as the page may leave it
}

// Said as the player sees it on stderr, bytes that are not printable escaped once.
TEST_F(ControlsTest, ABadLineSaysWhereAndWhatItsActionKeeps) {
    struct SCase {
        const char* text;
        const char* said;
        const char* fireKey;  // a key that fires afterwards
    } const cases[] = {
        {"fire Space", "k:1: expected 'action = key, key', not 'fire Space'", "Space"},
        {"jump = Space", "k:1: no action 'jump'", "Space"},
        {"fire = Space, Hyperspace",
         "k:1: unknown key 'Hyperspace' for fire; it keeps its default keys", "Space"},
        {"fire = Z,", "k:1: unknown key '' for fire; it keeps its default keys", "Space"},
        {"fire = F1", "k:1: F1 opens the controls page, it is no key for fire; it keeps its",
         "Space"},
        {"fire = A, B, C, D, E", "k:1: more than 4 keys for fire; it keeps its default keys",
         "Space"},
        {"fire = \x01\xff", "k:1: unknown key '\\x01\\xff' for fire; it keeps its default keys",
         "Space"},
        {"fire = F, Right Ctrl\nfire = Hyperspace",
         "k:2: unknown key 'Hyperspace' for fire; it keeps F, Right Ctrl", "F"},
    };
    for (const SCase& c : cases) {
        CControls::instance().setDefaults();
        const auto problems = CControls::instance().parse(c.text, "k");
        ASSERT_EQ(problems.size(), 1u) << c.text;
        EXPECT_EQ(printable(problems[0]).rfind(c.said, 0), 0u) << printable(problems[0]);
        EXPECT_EQ(press({keyByName(c.fireKey)}), buttonBit(kButtonA)) << c.text;
    }
}

TEST_F(ControlsTest, AMissingFileIsWrittenWithTheDefaultsAndALargeOneIsRefused) {
    const std::string dir = freshTestDir("Controls");
    const std::string path = dir + "/" + CControls::kFileName;
    EXPECT_TRUE(loadControls(path).empty());
    std::stringstream written;
    written << std::ifstream(path).rdbuf();
    EXPECT_EQ(written.str(), CControls::instance().text());
    // 64 KiB is read (and is no keys file); a byte more is refused, the limit named.
    std::ofstream(path) << std::string(65536, '#');
    EXPECT_TRUE(loadControls(path).empty());
    EXPECT_EQ(CControls::instance().path, path);
    std::ofstream(path) << std::string(65537, '#');
    const auto problems = loadControls(path);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0],
              path + ": larger than 65536 bytes, which no keys file is (the default keys stay)");
    // A file that was not read is never saved over.
    EXPECT_EQ(CControls::instance().path, "");
}

// Keys the player keeps in a dotfiles folder and links in by an absolute path are read there and
// saved there, the link left a link.
TEST_F(ControlsTest, AKeysFileLinkedFromElsewhereIsReadAndSavedThere) {
    const std::string dir = freshTestDir("dotfiles");
    const std::string target = dir + "/dotfiles/keys.txt", path = dir + "/" + CControls::kFileName;
    std::filesystem::create_directory(dir + "/dotfiles");
    writeText(target, "fire = F\n");
    std::filesystem::create_symlink(target, path);
    EXPECT_TRUE(loadControls(path).empty());
    EXPECT_EQ(press({keyByName("F")}), buttonBit(kButtonA));
    CControls::instance().bind(kButtonA, keyByName("Q"));
    std::string error;
    ASSERT_TRUE(CControls::instance().save(error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    std::stringstream saved;
    saved << std::ifstream(target).rdbuf();
    EXPECT_NE(saved.str().find("fire = F, Q\n"), std::string::npos) << saved.str();
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
