#pragma once
// The controls page, opened with F1 over whatever the game shows: the master volume as a bar,
// every action with its keys and controller button, DEFAULT KEYS and DONE. Choosing an action
// and pressing a key binds the key to it. The page reads the keyboard, the controllers and the
// mouse itself while the game stands still; of the buttons it hands the game only the volume
// ones, which move the master volume as the volume keys do. It draws nothing: the window draws
// it from here (render/ControlsPageView.h).

#include <cstdint>

#include "platform/Buttons.h"
#include "platform/Controls.h"

class CControlsPage {
public:
    // The items, top to bottom: the volume bar, the actions in the keys file's order, then
    // DEFAULT KEYS and DONE.
    static constexpr int kVolumeItem = 0;
    static constexpr int kFirstActionItem = 1;
    static constexpr int kDefaultsItem = kFirstActionItem + CControls::kActionCount;
    static constexpr int kDoneItem = kDefaultsItem + 1;
    static constexpr int kItems = kDoneItem + 1;

    // Where the items are in the picture: rows kRowHeight high from kFirstRowY (the centre of
    // the volume row) down, across the whole width; DEFAULT KEYS and DONE a little apart.
    static constexpr int32_t kFirstRowY = 24;
    static constexpr int32_t kRowHeight = 10;
    static constexpr int32_t kGapBeforeButtons = 4;
    // The volume bar: 256 steps, two to a pixel.
    static constexpr int32_t kBarLeft = 96;
    static constexpr int32_t kBarWidth = 128;
    static constexpr int32_t rowY(int item) {
        return kFirstRowY + kRowHeight * item + (item >= kDefaultsItem ? kGapBeforeButtons : 0);
    }
    // The item under a pixel of the picture; -1 for none.
    static int itemAt(int32_t x, int32_t y);

    // The names of the actions as the page shows them.
    static const char* actionLabel(int action);

    // What the page reads at one poll.
    struct SInput {
        const uint8_t* newKeys = nullptr;  // keys pressed since the last poll, by USB usage
        int newKeyCount = 0;               //
        ButtonMask held = 0;     // the handheld's buttons as the keys and controllers hold them
        ButtonMask pressed = 0;  // those of them pressed since the last poll
        bool choose = false;     // Return, Keypad Enter, Space, or a controller's A or Start
        bool back = false;       // Escape, F1, or a controller's B or Y: close, or cancel
        bool pointerIn = false;  // the mouse, over this pixel of the picture
        int32_t pointerX = 0, pointerY = 0;
        bool pointerMoved = false;
        bool pointerDown = false;
        bool pointerPressed = false;   // its button went down at this poll
        bool pointerReleased = false;  // and up
    };

    static CControlsPage& instance();
    static void resetInstance();

    void open();
    // Closes the page, saving the keys when they changed.
    void close();
    // One poll with the page open. Returns the volume buttons the game is to see; the page may
    // close itself.
    ButtonMask step(const SInput& in);

    bool isOpen = false;
    int cursor = kVolumeItem;    // the item highlighted
    bool binding = false;        // waiting for a key for the action highlighted
    int32_t volumeWanted = -1;   // where a click on the bar asked the volume to go; -1 none
    char said[2][64] = {};       // what the last choice did, for the lines under the items
    const char* note = nullptr;  // for the window when the page has closed: the keys' save
    uint32_t saves = 0;          // keys files written (a browser keeps its storage then)
    // The master volume (0..256) now; unknown (the bar does not move by a click) when null.
    int32_t (*volumeSource)() = nullptr;

private:
    CControlsPage() = default;
    void choose(int item);
    void bindKey(int usage);
    ButtonMask volumeButtons(const SInput& in);

    int pressedItem_ = -1;  // where the mouse button went down
    uint8_t keysAtOpen_[CControls::kActionCount][CControls::kMaxKeysPerAction] = {};
};
