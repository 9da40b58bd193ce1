#pragma once
// The player's hands as the buttons the game reads: the keys through the player's bindings, the
// controllers, and the mouse over a menu's items (platform/Pointer.h). F1, or a controller's Y,
// opens the controls page (platform/ControlsPage.h), which then has them all to itself while
// the game stands still. The window and the browser hand over what the hands do at every poll;
// an input script does the same for a headless run.

#include <cstdint>

#include "platform/Buttons.h"
#include "platform/KeyMap.h"

class CPlayerInput {
public:
    struct SHands {
        const uint8_t* keysDown = nullptr;  // kKeyUsages entries by USB usage; null for none
        // Keys that went down since the last poll, let go of already or not (a tap shorter than
        // a poll still opens the page or binds a key); null when keysDown tells it all.
        const uint8_t* keysPressed = nullptr;
        bool altHeld = false;
        ButtonMask pad = 0;        // held on the controllers (and an input script's buttons)
        ButtonMask touch = 0;      // held on the page's touch controls
        bool padY = false;         // the controller buttons only the controls page reads
        bool padB = false;         //
        bool pointerIn = false;    // the mouse is over the picture, at this pixel of it
        int32_t pointerX = 0;      //
        int32_t pointerY = 0;      //
        bool pointerDown = false;  // its main button
        // The pointer is a finger on the page's picture: it chooses as the mouse does, and the
        // touch controls stay the hands the hints are for.
        bool pointerByTouch = false;
    };

    static CPlayerInput& instance();
    static void resetInstance();

    // The buttons for this poll.
    ButtonMask poll(const SHands& hands);
    // The next press of the mouse button is not the player's choice: it gave the window its
    // focus back. It does nothing until it is let go.
    void ignoreClick() { clickIgnored_ = true; }

    // The last button or key pressed was a controller's: the hints name its buttons.
    bool lastFromController = false;
    // It was a touch control's: they bear the handheld's own names, so no hint is needed.
    bool lastFromTouch = false;
    // The mouse moved or clicked since the last key or controller button: it points in menus.
    bool mouseInUse = false;

private:
    CPlayerInput() = default;

    uint8_t keysBefore_[kKeyUsages] = {};
    ButtonMask padBefore_ = 0;
    ButtonMask touchBefore_ = 0;
    ButtonMask pageHeldBefore_ = 0;
    bool padYBefore_ = false;
    bool padBBefore_ = false;
    bool pointerInBefore_ = false;
    int32_t pointerXBefore_ = 0;
    int32_t pointerYBefore_ = 0;
    bool pointerDownBefore_ = false;
    bool clickIgnored_ = false;
    bool windowEnter_[2] = {};  // Return, Keypad Enter: went down with Alt, not let go since
    // Buttons held when the page closed: the game sees them only once they have been let go,
    // so that the key that closed the page (Return on DONE) does not act in the game too.
    ButtonMask unseen_ = 0;
};
