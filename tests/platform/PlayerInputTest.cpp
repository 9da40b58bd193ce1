#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/Controls.h"
#include "platform/ControlsPage.h"
#include "platform/PlayerInput.h"
#include "platform/Pointer.h"
#include "support/GameTest.h"
#include "support/RunGame.h"

namespace {

class PlayerInputTest : public CGameTest {
protected:
    // One poll with exactly these keys down and the mouse as given (off the picture: x < 0).
    ButtonMask poll(std::initializer_list<int> down, int32_t x = -1, int32_t y = 0,
                    bool click = false) {
        std::array<uint8_t, kKeyUsages> keys{};
        for (const int key : down) keys[key] = 1;
        CPlayerInput::SHands hands;
        hands.keysDown = keys.data();
        hands.pointerIn = x >= 0;
        hands.pointerX = x;
        hands.pointerY = y;
        hands.pointerDown = click;
        return CPlayerInput::instance().poll(hands);
    }
    // A key pressed and let go.
    void tap(int key) {
        poll({key});
        poll({});
    }
};

// Each row binds one key to one action, after the rows above it.
TEST_F(PlayerInputTest, BindingAKeyAddsTakesOrDropsAsThePageSays) {
    struct SCase {
        EButton action;
        const char* key;
        const char* fire;     // fire's keys afterwards
        const char* locator;  // and the locator's
        bool refused, removed;
        EButton takenFrom;
        const char* dropped;
    } const cases[] = {
        {kButtonA, "Q", "Space, Z, Left Ctrl, Q", "X", false, false, kButtonCount, ""},
        {kButtonA, "X", "Z, Left Ctrl, Q, X", "", false, false, kButtonX, "Space"},
        {kButtonA, "X", "Z, Left Ctrl, Q", "", false, true, kButtonCount, ""},
        {kButtonA, "F1", "Z, Left Ctrl, Q", "", true, false, kButtonCount, ""},
        {kButtonX, "Q", "Z, Left Ctrl", "Q", false, false, kButtonA, ""},
    };
    CControls& controls = CControls::instance();
    for (const SCase& c : cases) {
        const CControls::SBound bound = controls.bind(c.action, keyByName(c.key));
        EXPECT_EQ(controls.keysOf(kButtonA), c.fire) << c.key;
        EXPECT_EQ(controls.keysOf(kButtonX), c.locator) << c.key;
        EXPECT_EQ(bound.refused, c.refused) << c.key;
        EXPECT_EQ(bound.removed, c.removed) << c.key;
        EXPECT_EQ(bound.takenFrom, c.takenFrom) << c.key;
        EXPECT_EQ(keyName(bound.dropped), c.dropped) << c.key;
    }
    EXPECT_TRUE(controls.bind(kButtonA, 69).refused);  // F12 has no name: no file could hold it
}

TEST_F(PlayerInputTest, ThePageHasTheKeysToItselfAndTheKeyThatClosesItActsOnlyOnceLetGo) {
    CControlsPage& page = CControlsPage::instance();
    EXPECT_EQ(poll({kKeySpace}), buttonBit(kButtonA));
    EXPECT_EQ(poll({kKeySpace, kKeyF1}), kControlsOpen);  // the game sees the page, no fire
    EXPECT_EQ(poll({kKeySpace, kKeyRight}), kControlsOpen | buttonBit(kButtonVolumeUp));
    for (int i = 0; i < 9; ++i) tap(kKeyDown);
    EXPECT_EQ(page.cursor, CControlsPage::kFirstActionItem + 8);  // FIRE
    tap(kKeyReturn);
    EXPECT_TRUE(page.binding);
    EXPECT_EQ(poll({keyByName("Q")}), kControlsOpen);
    EXPECT_FALSE(page.binding);
    EXPECT_STREQ(page.said[0], "Q ADDED TO FIRE");
    // Held on after the binding, Q is no new choice on the page.
    EXPECT_EQ(poll({keyByName("Q")}), kControlsOpen);
    EXPECT_FALSE(page.binding);
    poll({});
    for (int i = 0; i < 7; ++i) tap(kKeyDown);
    EXPECT_EQ(page.cursor, CControlsPage::kDoneItem);
    EXPECT_EQ(poll({kKeyReturn}), 0u);  // DONE: closed, and Return is not START yet
    EXPECT_FALSE(page.isOpen);
    EXPECT_EQ(poll({kKeyReturn}), 0u);
    poll({});
    EXPECT_EQ(poll({kKeyReturn}), buttonBit(kButtonStart));
    EXPECT_EQ(poll({keyByName("Q")}), buttonBit(kButtonA));  // kept: no file to save to here
}

TEST_F(PlayerInputTest, TheMousePointsOnlyOnceMovedAndAClickOnTheBarStepsTheVolume) {
    addPointerTarget(2, 40, 100, 280, 116);
    showPointerTargets();
    EXPECT_EQ(poll({}, 160, 108), pointerBits(2, false));           // moved onto the picture
    EXPECT_EQ(poll({kKeyDown}, 160, 108), buttonBit(kButtonDown));  // a key: the mouse rests
    EXPECT_EQ(poll({}, 160, 108), 0u);
    EXPECT_EQ(poll({}, 161, 108, true), pointerBits(2, true));
    EXPECT_EQ(poll({}, 161, 140), pointerBits(0, false));  // off every target
    CPlayerInput::instance().ignoreClick();                // the click that gave the focus back
    EXPECT_EQ(poll({}, 161, 108, true), pointerBits(2, false));

    // On the page, a click on the bar's middle: one step a poll toward 128 from 120.
    CControlsPage& page = CControlsPage::instance();
    page.volumeSource = [] { return int32_t{120}; };
    poll({kKeyF1}, 161, 108);
    const int32_t barY = CControlsPage::rowY(CControlsPage::kVolumeItem);
    const int32_t middle = CControlsPage::kBarLeft + CControlsPage::kBarWidth / 2;
    EXPECT_EQ(poll({}, middle, barY, true), kControlsOpen | buttonBit(kButtonVolumeUp));
    EXPECT_EQ(page.volumeWanted, 128);
    EXPECT_EQ(poll({}, middle - 10, barY, true), kControlsOpen | buttonBit(kButtonVolumeDown));
}

// Whose names the hints say: the keys', a controller's, or none for the touch controls, which
// bear the handheld's own; the touch controls play all the same.
TEST_F(PlayerInputTest, TheHintsFollowTheLastHandsToPress) {
    CPlayerInput& player = CPlayerInput::instance();
    CPlayerInput::SHands hands;
    hands.touch = buttonBit(kButtonA);
    EXPECT_EQ(player.poll(hands), buttonBit(kButtonA));
    EXPECT_TRUE(player.lastFromTouch);
    EXPECT_FALSE(player.lastFromController);
    hands.pad = buttonBit(kButtonUp);  // the touch button still held
    EXPECT_EQ(player.poll(hands), buttonBit(kButtonA) | buttonBit(kButtonUp));
    EXPECT_FALSE(player.lastFromTouch);
    EXPECT_TRUE(player.lastFromController);
    tap(kKeySpace);
    EXPECT_FALSE(player.lastFromTouch || player.lastFromController);
    // A finger on the picture points as the mouse does (on the tenth entry of the high scores,
    // past the first targets' three bits), and the hints stay away; the mouse brings them back.
    addPointerTarget(10, 12, 172, 308, 184);
    showPointerTargets();
    hands = {};
    hands.pointerIn = hands.pointerDown = hands.pointerByTouch = true;
    hands.pointerX = 100;
    hands.pointerY = 176;
    EXPECT_EQ(player.poll(hands), pointerBits(10, true));
    EXPECT_TRUE(player.lastFromTouch);
    hands.pointerByTouch = hands.pointerDown = false;
    hands.pointerY = 177;
    EXPECT_EQ(player.poll(hands), pointerBits(10, false));
    EXPECT_FALSE(player.lastFromTouch);
}

// The mouse chooses only where its button went down and came up: DONE pressed and DEFAULT KEYS
// let go of, or the other way round, does nothing; DONE on both closes the page.
TEST_F(PlayerInputTest, AClickChoosesOnlyTheItemItBeganAndEndedOn) {
    CControlsPage& page = CControlsPage::instance();
    CControls& controls = CControls::instance();
    const int32_t done = CControlsPage::rowY(CControlsPage::kDoneItem);
    const int32_t defaults = CControlsPage::rowY(CControlsPage::kDefaultsItem);
    for (const auto& [down, up] : {std::pair{done, defaults}, {defaults, done}, {done, done}}) {
        controls.bind(kButtonA, keyByName("Q"));  // for DEFAULT KEYS to undo
        tap(kKeyF1);
        poll({}, 160, down, true);
        poll({}, 160, up, true);
        poll({}, 160, up);
        const bool chosen = down == up;
        EXPECT_EQ(page.isOpen, !chosen) << down << " " << up;
        EXPECT_EQ(controls.keysOf(kButtonA), "Space, Z, Left Ctrl, Q") << down << " " << up;
        page.close();
        controls.setDefaults();
    }
}

// Reopened, the page starts on the volume; its keys are saved when they changed since it opened
// (Q added, or Q added and DEFAULT KEYS), not when they are as they were (Q added and taken off).
TEST_F(PlayerInputTest, ThePageReopensOnTheVolumeAndSavesOnlyChangedKeys) {
    CControlsPage& page = CControlsPage::instance();
    CControls& controls = CControls::instance();
    controls.path = freshTestDir("keys-changed") + "/" + CControls::kFileName;
    const int q = keyByName("Q");
    const struct {
        std::vector<int> keys;  // bound to fire in turn; 0: DEFAULT KEYS
        uint32_t saves;
    } cases[] = {{{}, 0}, {{q, q}, 0}, {{q}, 1}, {{0}, 2}, {{q, 0}, 2}};
    for (const auto& c : cases) {
        tap(kKeyF1);
        EXPECT_EQ(page.cursor, CControlsPage::kVolumeItem);
        tap(kKeyDown);
        for (const int key : c.keys)
            key ? (void)controls.bind(kButtonA, key) : controls.setDefaults();
        tap(kKeyF1);
        EXPECT_FALSE(page.isOpen);
        EXPECT_EQ(page.saves, c.saves) << c.keys.size();
    }
}

// While a key is awaited Escape is a key like any other, bound to the action; F1 leaves the
// action as it was.
TEST_F(PlayerInputTest, WhileAKeyIsAwaitedEscapeIsBoundAndF1Cancels) {
    CControlsPage& page = CControlsPage::instance();
    const struct {
        int key;
        const char* said;
        const char* fire;
    } cases[] = {{kKeyEscape, "ESCAPE TAKEN FROM MENU FOR FIRE", "Space, Z, Left Ctrl, Escape"},
                 {kKeyF1, "NO KEY CHANGED", "Space, Z, Left Ctrl"}};
    for (const auto& c : cases) {
        CControls::instance().setDefaults();
        tap(kKeyF1);
        for (int i = 0; i < 9; ++i) tap(kKeyDown);
        tap(kKeyReturn);
        ASSERT_TRUE(page.binding);
        tap(c.key);
        EXPECT_FALSE(page.binding) << c.said;
        EXPECT_TRUE(page.isOpen) << c.said;
        EXPECT_STREQ(page.said[0], c.said);
        EXPECT_EQ(CControls::instance().keysOf(kButtonA), c.fire);
        page.close();
    }
}

}  // namespace
