#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/Screen.h"
#include "shell/Menu.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "support/GameTest.h"
#include "support/Held.h"

namespace {

class MenuTest : public CPlayTest {
protected:
    CMenu& menu() { return CMenu::instance(); }
    // One call of the menu with exactly these flags of the input down.
    int32_t step(std::initializer_list<InputFlag> flags, int32_t mode = CMenu::kPause) {
        hold(flags);
        return menu().run(mode);
    }
    // A press and release.
    int32_t press(InputFlag button, int32_t mode = CMenu::kPause) {
        step({button}, mode);
        return step({}, mode);
    }
};

using namespace held;

TEST_F(MenuTest, ButtonsActWhenReleasedTheFirstInOrderWinning) {
    for (int i = 0; i < 30; ++i) step({kDown});
    EXPECT_EQ(menu().cursor, 0);  // held: nothing yet
    step({});
    EXPECT_EQ(menu().cursor, 1);
    EXPECT_EQ(CGameReport::instance().samples[7], 1u);
    step({kDown, kUp});  // together: down wins
    step({});
    EXPECT_EQ(menu().cursor, 2);
    press(kSelect);
    EXPECT_EQ(menu().cursor, 3);
    press(kDown);
    EXPECT_EQ(menu().cursor, 0);  // round past the last item
    press(kUp);
    EXPECT_EQ(menu().cursor, 3);
    EXPECT_EQ(press(kStart), 3);  // QUIT confirmed, with its sound, and the menu starts over
    EXPECT_EQ(CGameReport::instance().samples[5], 1u);
    EXPECT_EQ(menu().cursor, 0);
}

TEST_F(MenuTest, SettingsOpenFromEachPageAndDoneReturnsToTheirLine) {
    struct SCase {
        int32_t mode, settingsItem;
    } const cases[] = {{CMenu::kPause, 2}, {CMenu::kGameOver, 1}, {CMenu::kTitle, 2}};
    CSoundManager& sound = CSoundManager::instance();
    for (const SCase& c : cases) {
        menu().reset();
        for (int i = 0; i < c.settingsItem; ++i) press(kDown, c.mode);
        EXPECT_EQ(press(kStart, c.mode), CMenu::kNothingChosen);  // never returned
        EXPECT_TRUE(menu().inSettings);
        EXPECT_EQ(menu().cursor, 0);
        // MUSIC VOLUME: held left or right changes it in every call.
        const int32_t volume = sound.musicVolume;
        for (int i = 0; i < 5; ++i) step({kLeft}, c.mode);
        EXPECT_EQ(sound.musicVolume, volume - 5);
        step({}, c.mode);
        press(kDown, c.mode);
        const bool swapped = sound.swapStereo;
        press(kStart, c.mode);  // SWAP STEREO
        EXPECT_NE(sound.swapStereo, swapped);
        press(kDown, c.mode);
        press(kStart, c.mode);  // DONE
        EXPECT_FALSE(menu().inSettings);
        EXPECT_EQ(menu().cursor, c.settingsItem);
    }
}

TEST_F(MenuTest, TheStartLevelMovesEveryFifteenCallsUpToTheBestLevel) {
    EXPECT_STREQ(menu().newGameLabel(), "NEW GAME");
    press(kDown);  // the new-game line of the pause menu
    for (int i = 0; i < 100; ++i) step({kRight});
    EXPECT_EQ(menu().startLevelChoice, 0);  // no level reached: nothing to choose
    CGameState::instance().bestLevel = 3;
    menu().repeatCounter = 0;
    std::vector<int> changes;
    for (int i = 1; i <= 75; ++i) {
        const int32_t before = menu().startLevelChoice;
        step({kRight});
        if (menu().startLevelChoice != before) changes.push_back(i);
    }
    EXPECT_EQ(changes, (std::vector<int>{15, 30, 45}));
    EXPECT_STREQ(menu().newGameLabel(), "NEW GAME:LEVEL 4");
    for (int i = 0; i < 30; ++i) step({kLeft});
    EXPECT_EQ(menu().startLevelChoice, 1);
    // Elsewhere in the menu left and right do nothing.
    press(kDown);
    for (int i = 0; i < 30; ++i) step({kLeft});
    EXPECT_EQ(menu().startLevelChoice, 1);
}

TEST_F(MenuTest, TheVolumeBarShowsTheMusicVolume) {
    CSoundManager& sound = CSoundManager::instance();
    menu().inSettings = true;
    const uint16_t* surface = CScreen::instance().surface();
    const int32_t barY = 120 - 8 * 3 - 12;
    for (const int32_t volume : {256, 100, 0}) {
        sound.setMusicVolume(volume);
        CScreen::instance().clear();
        press(kDown);  // off MUSIC VOLUME: the idle colour
        int lit = 0, grey = 0;
        for (int x = 120; x < 200; ++x) {
            lit += surface[barY * 320 + x] == 0x0500;
            grey += surface[barY * 320 + x] == 0x8410;
        }
        EXPECT_EQ(lit, volume == 0 ? 0 : volume / 4 + 1) << "volume " << volume;
        EXPECT_EQ(lit + grey, 65);
        menu().cursor = 0;
    }
}

}  // namespace
