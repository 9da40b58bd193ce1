#include "platform/PlayerInput.h"

#include <cstring>

#include "platform/Controls.h"
#include "platform/ControlsPage.h"
#include "platform/Pointer.h"

namespace {

CPlayerInput* gInstance = nullptr;

// Keys the controls page always answers to, whatever the bindings: the arrows move, Tab goes on.
struct SPageKey {
    uint8_t key;
    EButton button;
};
constexpr SPageKey kPageKeys[] = {{kKeyUp, kButtonUp},
                                  {kKeyDown, kButtonDown},
                                  {kKeyLeft, kButtonLeft},
                                  {kKeyRight, kButtonRight},
                                  {kKeyTab, kButtonSelect}};

bool isChooseKey(int key) {
    return key == kKeyReturn || key == kKeyKpEnter || key == kKeySpace;
}

}  // namespace

CPlayerInput& CPlayerInput::instance() {
    if (!gInstance) gInstance = new CPlayerInput;
    return *gInstance;
}

void CPlayerInput::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

ButtonMask CPlayerInput::poll(const SHands& hands) {
    static const uint8_t kNoKeys[kKeyUsages] = {};
    const uint8_t* keys = hands.keysDown ? hands.keysDown : kNoKeys;
    // Enter pressed with Alt is the window's (fullscreen) until it is let go, whichever key of
    // the two goes up first.
    uint8_t withoutWindowKeys[kKeyUsages];
    for (const uint8_t enter : {kKeyReturn, kKeyKpEnter}) {
        const int i = enter == kKeyReturn ? 0 : 1;
        if (!keys[enter])
            windowEnter_[i] = false;
        else if (hands.altHeld && !keysBefore_[enter])
            windowEnter_[i] = true;
    }
    if (windowEnter_[0] || windowEnter_[1]) {
        std::memcpy(withoutWindowKeys, keys, sizeof withoutWindowKeys);
        if (windowEnter_[0]) withoutWindowKeys[kKeyReturn] = 0;
        if (windowEnter_[1]) withoutWindowKeys[kKeyKpEnter] = 0;
        keys = withoutWindowKeys;
    }
    // A key tapped since the last poll and let go of already is held for this one poll, so that
    // the game sees its press and, at the next poll, its release: no tap is too short. (An Enter
    // tapped with Alt was the window's.)
    uint8_t seen[kKeyUsages];
    for (int key = 0; key < kKeyUsages; ++key) {
        const bool tapped = hands.keysPressed && hands.keysPressed[key] &&
                            !(hands.altHeld && (key == kKeyReturn || key == kKeyKpEnter));
        seen[key] = keys[key] || tapped;
    }

    // What began at this poll. F1 is the page's own key and never one to bind.
    constexpr int kMostNewKeys = 8;
    uint8_t newKeys[kMostNewKeys];
    int newKeyCount = 0;
    bool newKey = false, f1 = false, choose = false, escape = false;
    for (int key = 0; key < kKeyUsages; ++key) {
        const bool tapped = hands.keysPressed && hands.keysPressed[key];
        if (!tapped && (!keys[key] || keysBefore_[key])) continue;
        newKey = true;
        if (key == kKeyF1) {
            f1 = true;
            continue;
        }
        if (newKeyCount < kMostNewKeys) newKeys[newKeyCount++] = static_cast<uint8_t>(key);
        choose |= isChooseKey(key) && !hands.altHeld;  // Alt+Enter is the window's
        escape |= key == kKeyEscape;
    }
    const ButtonMask padNew = hands.pad & ~padBefore_;
    const ButtonMask touchNew = hands.touch & ~touchBefore_;
    const bool padY = hands.padY && !padYBefore_;
    const bool padB = hands.padB && !padBBefore_;
    if (newKey || padNew || touchNew || padY || padB) {
        mouseInUse = false;
        lastFromTouch = !newKey && !padNew && !padY && !padB;
        lastFromController = !newKey && !lastFromTouch;
    }
    if (clickIgnored_ && !hands.pointerDown) clickIgnored_ = false;
    const bool down = hands.pointerDown && !clickIgnored_ && hands.pointerIn;
    const bool moved = hands.pointerIn && (!pointerInBefore_ || hands.pointerX != pointerXBefore_ ||
                                           hands.pointerY != pointerYBefore_);
    const bool clicked = down && !pointerDownBefore_;
    if (moved || clicked) {
        mouseInUse = true;
        lastFromController = false;
        lastFromTouch = hands.pointerByTouch;
    }

    const ButtonMask pads = hands.pad | hands.touch;
    const ButtonMask held = keyboardButtons(seen, hands.altHeld) | pads;
    ButtonMask mask = 0;
    CControlsPage& page = CControlsPage::instance();
    if (page.isOpen) {
        const auto pageButtons = [&] {
            ButtonMask buttons = keyboardButtons(seen, hands.altHeld) | pads;
            for (const SPageKey& k : kPageKeys)
                if (seen[k.key]) buttons |= buttonBit(k.button);
            return buttons;
        };
        const ButtonMask pageHeld = pageButtons();
        CControlsPage::SInput in;
        in.newKeys = newKeys;
        in.newKeyCount = newKeyCount;
        in.held = pageHeld;
        in.pressed = pageHeld & ~pageHeldBefore_;
        // Fixed keys choose; a key bound to fire might be the one just bound.
        in.choose =
            choose || ((padNew | touchNew) & (buttonBit(kButtonA) | buttonBit(kButtonStart)));
        in.back = f1 || escape || padY || padB;
        in.pointerIn = hands.pointerIn;
        in.pointerX = hands.pointerX;
        in.pointerY = hands.pointerY;
        in.pointerMoved = moved;
        in.pointerDown = down;
        in.pointerPressed = clicked;
        in.pointerReleased = !down && pointerDownBefore_;
        mask = page.step(in);
        // A key just bound is held already by the new bindings, not pressed again.
        pageHeldBefore_ = pageButtons();
        if (!page.isOpen) unseen_ = keyboardButtons(keys, hands.altHeld) | pads;
    } else if (f1 || padY) {
        page.open();
        mask = kControlsOpen;
        pageHeldBefore_ = held;
    } else {
        unseen_ &= held;
        mask = held & ~unseen_;
        if (mouseInUse && hands.pointerIn && pointerTargetsShown())
            mask |= pointerBits(pointerTargetAt(hands.pointerX, hands.pointerY), down);
    }

    std::memcpy(keysBefore_, keys, sizeof keysBefore_);
    padBefore_ = hands.pad;
    touchBefore_ = hands.touch;
    padYBefore_ = hands.padY;
    padBBefore_ = hands.padB;
    pointerInBefore_ = hands.pointerIn;
    pointerXBefore_ = hands.pointerX;
    pointerYBefore_ = hands.pointerY;
    pointerDownBefore_ = down;
    return mask;
}
