#pragma once
// The real game in a browser tab: the picture drawn into the page's canvas, the keyboard, game
// controllers and the touch controls (touch.js) through the browser's events, the sound through
// Web Audio behind a short queue, the page's clock as the handheld's counter (steered round the
// page's whole-millisecond timers), and the settings folder kept in the browser's storage. The
// game's loop runs as it is: its waits sleep, and a sleep hands the tab back to the browser until
// the deadline.

#include <emscripten/html5.h>

#include <cstdint>

#include "platform/Backend.h"
#include "platform/CoarseTimerClock.h"
#include "platform/KeyMap.h"
#include "platform/Platform.h"
#include "platform/PlayerInput.h"
#include "platform/Window.h"

class CWebBackend : public CBackend {
public:
    CWebBackend() = default;
    ~CWebBackend() override;
    // The page's backend while it is open, else null.
    static const CWebBackend* current();

    // Listens to the page and loads the settings folder from the browser's storage.
    bool open(const SWindowOptions& options, std::string& error);

    uint32_t counter() override;
    void idleUntil(uint32_t start, uint32_t ticks) override;
    void show(const uint16_t* picture) override;
    ButtonMask pollButtons() override;
    // A wait that only polls gives the page a millisecond between polls.
    void pauseBetweenPolls() override { sleep(1); }
    // A tab is closed without asking the game: there is no quit to report.
    bool quitRequested() override { return false; }
    bool audioOpen() override;
    int audioWrite(const void* data, int bytes) override;
    void audioClose() override;
    // A short shake at a hit, a longer one at a lost life, where the page may shake the phone.
    void feel(EFeel what) override;
    // Writes the settings folder back to the browser's storage one last time and has the page
    // thank the player.
    void handBack(int status) override;

    // Sleeps so far, the milliseconds they lasted (the time the tab was given back), and how
    // much of that was more than they asked for.
    uint32_t sleeps = 0;
    double sleptMs = 0;
    double lateMs = 0;
    // The milliseconds the game held the tab between its sleeps: its own work.
    double busyMs = 0;
    // Frames handed to the browser's sound, not counting what went while it could not play.
    uint32_t soundFrames = 0;

private:
    static EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* event, void* self);
    static EM_BOOL onMouse(int type, const EmscriptenMouseEvent* event, void* self);
    static EM_BOOL onTouchEnd(int type, const EmscriptenTouchEvent* event, void* self);
    static EM_BOOL onCanvasMouse(int type, const EmscriptenMouseEvent* event, void* self);
    static EM_BOOL onBlur(int type, const EmscriptenFocusEvent* event, void* self);
    static EM_BOOL onFocus(int type, const EmscriptenFocusEvent* event, void* self);
    static EM_BOOL onVisibility(int type, const EmscriptenVisibilityChangeEvent* event, void* self);
    static EM_BOOL onGamepad(int type, const EmscriptenGamepadEvent* event, void* self);
    // Gives the tab back for ms; returns the ms it was away.
    double sleep(double ms);
    // Gives the page a moment when the game has held it for long.
    void giveBackIfLong();
    void readControllers(CPlayerInput::SHands& hands);
    // Hands a picture, with the overlay over it, to the page.
    void display(const uint16_t* picture);
    void keepSettings();

    SWindowOptions options_;
    double epoch_ = 0;                      // the page clock at counter 0, in ms
    CCoarseTimerClock clock_;               // the counter, steered round the page's timers
    double lastSleepEnd_ = 0;               // when the tab was last given back
    double lastShow_ = 0;                   // when the last picture was shown; 0 before the first
    uint8_t keysDown_[kKeyUsages] = {};     // by USB usage
    uint8_t keysPressed_[kKeyUsages] = {};  // went down since the last poll
    bool altHeld_ = false;
    int gamepads_ = 0;         // connected controllers
    bool focusLost_ = false;   // reported as one pause request at the next poll
    bool saveDue_ = false;     // the settings are to be kept at the next poll
    ButtonMask lastMask_ = 0;  // the buttons of the previous poll
    bool storageOk_ = false;   // the settings folder is kept in the browser's storage
    bool audioMuted_ = false;  // takes everything and plays nothing
    uint32_t keysSaved_ = 0;   // the controls page's saves of the keys file seen so far
    bool keysDue_ = false;     // a save of the keys file is to be kept
    // The mouse over the canvas, at this pixel of the picture.
    bool pointerIn_ = false;
    int32_t pointerX_ = 0;
    int32_t pointerY_ = 0;
    bool pointerDown_ = false;
    const uint16_t* lastPicture_ = nullptr;  // the latest picture shown
    bool pageShown_ = false;                 // the controls page was open at the last poll
    bool focusGained_ = false;  // since the last poll: a click with it only gave the focus back
    bool clickedNow_ = false;   //
};
