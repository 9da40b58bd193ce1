#include "platform/web/WebBackend.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/Controls.h"
#include "platform/ControlsPage.h"
#include "platform/Pacing.h"
#include "platform/Paths.h"
#include "platform/Pointer.h"

// The page's side, in library.js.
extern "C" {
int bf_storage_open(const char* folder);
int bf_storage_sync();
void bf_sleep(double ms);
void bf_show(const uint16_t* picture);
void bf_toggle_fullscreen();
int bf_audio_open();
void bf_audio_start();
void bf_audio_hold(int held);
int bf_audio_write(const void* data, int bytes, int capFrames);
void bf_audio_close();
void bf_ended(int status);
int bf_touch_read(float stick[2], int32_t finger[3]);
void bf_feel(int ms);
int bf_touch_first();
}

namespace {

// The longest the game may hold the page without giving it back: a loop that polls the buttons
// without waiting (LEVEL COMPLETE waits for START that way) must still let the page deliver the
// key that ends it, and a run of short waits (the music's fade-in) must let it paint.
constexpr double kLongestBusyMs = 20.0;

const CWebBackend* gCurrent = nullptr;

// How long the phone shakes, in ms: a hit is a tap in the hand, a lost life a jolt.
constexpr int kHitShakeMs = 40;
constexpr int kLifeShakeMs = 250;

// A controller in the browser's standard layout: the buttons held by their numbers there, and
// the left stick from -1 to 1, down and right positive, as SDL's axes are.
ButtonMask standardLayoutButtons(uint64_t held, double x, double y) {
    bool pressed[kPadButtons] = {};
    for (int b = 0; b < 64; ++b) {
        const EPadButton button = padButtonAtStandardIndex(b);
        if (button != kPadButtons && (held >> b & 1) != 0) pressed[button] = true;
    }
    return controllerButtons(pressed, static_cast<int>(x * 32767), static_cast<int>(y * 32767));
}

bool isAltEnter(const EmscriptenKeyboardEvent& event) {
    return event.altKey &&
           (std::strcmp(event.code, "Enter") == 0 || std::strcmp(event.code, "NumpadEnter") == 0);
}

}  // namespace

std::unique_ptr<CBackend> openWindow(const SWindowOptions& options, std::string& error) {
    auto page = std::make_unique<CWebBackend>();
    if (!page->open(options, error)) return nullptr;
    return page;
}

CWebBackend::~CWebBackend() {
    // The page outlives the game: its events must no longer reach this object.
    emscripten_html5_remove_all_event_listeners();
    if (gCurrent == this) gCurrent = nullptr;
}

const CWebBackend* CWebBackend::current() {
    return gCurrent;
}

bool CWebBackend::open(const SWindowOptions& options, std::string& error) {
    options_ = options;
    gCurrent = this;
    epoch_ = emscripten_get_now();
    lastSleepEnd_ = epoch_;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    if (emscripten_set_keydown_callback(window, this, true, onKey) != EMSCRIPTEN_RESULT_SUCCESS) {
        error = "this browser gives no key events";
        return false;
    }
    emscripten_set_keyup_callback(window, this, true, onKey);
    emscripten_set_mousedown_callback(window, this, true, onMouse);
    emscripten_set_touchend_callback(window, this, true, onTouchEnd);
    emscripten_set_mousemove_callback("#canvas", this, true, onCanvasMouse);
    emscripten_set_mousedown_callback("#canvas", this, true, onCanvasMouse);
    emscripten_set_mouseup_callback("#canvas", this, true, onCanvasMouse);
    emscripten_set_mouseleave_callback("#canvas", this, true, onCanvasMouse);
    emscripten_set_blur_callback(window, this, true, onBlur);
    emscripten_set_focus_callback(window, this, true, onFocus);
    emscripten_set_visibilitychange_callback(this, true, onVisibility);
    emscripten_set_gamepadconnected_callback(this, true, onGamepad);
    emscripten_set_gamepaddisconnected_callback(this, true, onGamepad);
    // On a phone the touch controls are the hands from the start: no key hints until a key.
    if (bf_touch_first()) CPlayerInput::instance().lastFromTouch = true;

    // The settings live in the user's data folder, which the browser keeps for this page. Without
    // that storage the game still plays; the settings then last as long as the tab.
    std::string folder = userDataDir();
    if (!folder.empty() && folder.back() == '/') folder.pop_back();
    storageOk_ = !folder.empty() && bf_storage_open(folder.c_str()) != 0;
    return true;
}

uint32_t CWebBackend::counter() {
    const double ms = std::max(0.0, clock_.read(emscripten_get_now() - epoch_));
    return static_cast<uint32_t>(static_cast<uint64_t>(ms * (kTimerHz / 1000.0)));
}

void CWebBackend::idleUntil(uint32_t start, uint32_t ticks) {
    // The page's timers count whole milliseconds (bf_sleep, library.js, keeps them to the
    // millisecond): one sleep, and the counter takes up the fraction left either way.
    const uint32_t passed = counter() - start;
    if (passed >= ticks) return;
    clock_.idle((ticks - passed) * 1000.0 / kTimerHz, [this](double ms) { return sleep(ms); });
    giveBackIfLong();
}

void CWebBackend::giveBackIfLong() {
    if (emscripten_get_now() - lastSleepEnd_ > kLongestBusyMs) sleep(0);
}

double CWebBackend::sleep(double ms) {
    const double before = emscripten_get_now();
    busyMs += before - lastSleepEnd_;
    bf_sleep(ms);
    lastSleepEnd_ = emscripten_get_now();
    ++sleeps;
    sleptMs += lastSleepEnd_ - before;
    lateMs += lastSleepEnd_ - before - ms;
    return lastSleepEnd_ - before;
}

void CWebBackend::show(const uint16_t* picture) {
    // How evenly pictures reach the page, for the report.
    const double now = emscripten_get_now();
    if (lastShow_ != 0)
        CPacing::instance().pictureInterval(static_cast<uint32_t>((now - lastShow_) * 1000));
    lastShow_ = now;
    lastPicture_ = picture;
    display(picture);
}

void CWebBackend::display(const uint16_t* picture) {
    // The picture stays as it is in its framebuffer until the flip after next, and one with the
    // overlay drawn on it until the next show; the page draws it during the wait before that.
    if (options_.overlay)
        picture = options_.overlay->compose(picture,
                                            static_cast<uint32_t>(emscripten_get_now() - epoch_));
    bf_show(picture);
}

ButtonMask CWebBackend::pollButtons() {
    giveBackIfLong();
    // The settings are kept one poll after a button is let go of: the menu acts on a release,
    // so by then whatever the press changed has been done.
    if (saveDue_) {
        saveDue_ = false;
        keepSettings();
    }
    CPlayerInput& player = CPlayerInput::instance();
    // A click that gave the page its focus back is no choice in a menu.
    if (focusGained_ && clickedNow_) player.ignoreClick();
    focusGained_ = false;
    CPlayerInput::SHands hands;
    hands.keysDown = keysDown_;
    hands.keysPressed = keysPressed_;
    hands.altHeld = altHeld_;
    hands.pointerIn = pointerIn_;
    hands.pointerX = pointerX_;
    hands.pointerY = pointerY_;
    hands.pointerDown = pointerDown_ || clickedNow_;  // a click quicker than a poll is held
    readControllers(hands);
    ButtonMask mask = player.poll(hands);
    std::memset(keysPressed_, 0, sizeof keysPressed_);
    // The page closed while the game shows nothing new (LEVEL COMPLETE waits without drawing):
    // the canvas loses it all the same.
    const bool pageOpen = CControlsPage::instance().isOpen;
    if (pageShown_ && !pageOpen && lastPicture_) display(lastPicture_);
    pageShown_ = pageOpen;
    clickedNow_ = false;
    // The controls page saved the keys: the browser keeps them with the settings.
    if (CControlsPage::instance().saves != keysSaved_) {
        keysSaved_ = CControlsPage::instance().saves;
        keysDue_ = saveDue_ = true;
    }
    if ((lastMask_ & ~mask) != 0) saveDue_ = true;
    lastMask_ = mask;
    if (focusLost_) {
        mask |= kPauseRequest;
        focusLost_ = false;
    }
    return mask;
}

void CWebBackend::keepSettings() {
    const bool wrote = options_.keepSettings && options_.keepSettings();
    if ((wrote || keysDue_) && storageOk_) bf_storage_sync();
    keysDue_ = false;
}

void CWebBackend::readControllers(CPlayerInput::SHands& hands) {
    // The touch controls play in the standard layout as a controller does; a finger on one of
    // the picture's items points at it as the mouse does.
    float stick[2] = {};
    int32_t finger[3] = {};
    hands.touch = standardLayoutButtons(static_cast<uint32_t>(bf_touch_read(stick, finger)),
                                        stick[0], stick[1]);
    if (finger[0] != 0) {
        hands.pointerIn = true;
        hands.pointerX = finger[1];
        hands.pointerY = finger[2];
        hands.pointerDown = true;
        hands.pointerByTouch = true;
    }
    if (gamepads_ <= 0 || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
    EmscriptenGamepadEvent pad;
    for (int i = 0, n = emscripten_get_num_gamepads(); i < n; ++i) {
        if (emscripten_get_gamepad_status(i, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected)
            continue;
        uint64_t held = 0;
        for (int b = 0; b < pad.numButtons && b < 64; ++b)
            if (pad.digitalButton[b]) held |= uint64_t{1} << b;
        hands.pad |= standardLayoutButtons(held, pad.numAxes > 0 ? pad.axis[0] : 0,
                                           pad.numAxes > 1 ? pad.axis[1] : 0);
        // The standard layout's B and Y, which only the controls page reads.
        hands.padB |= (held >> 1 & 1) != 0;
        hands.padY |= (held >> 3 & 1) != 0;
    }
}

EM_BOOL CWebBackend::onKey(int type, const EmscriptenKeyboardEvent* event, void* self) {
    CWebBackend& page = *static_cast<CWebBackend*>(self);
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    page.altHeld_ = event->altKey;
    if (down) {
        // Browsers let a page make sound only after the player has pressed something.
        bf_audio_start();
        if (!event->repeat && (std::strcmp(event->code, "F11") == 0 || isAltEnter(*event))) {
            bf_toggle_fullscreen();
            return EM_TRUE;
        }
    }
    const int key = keyForCode(event->code);
    if (key == 0) return EM_FALSE;
    page.keysDown_[key] = down ? 1 : 0;
    if (down && !event->repeat) page.keysPressed_[key] = 1;
    // A key the game uses must not scroll the page or move the focus; any other (F5, say) keeps
    // its meaning to the browser, unless the controls page waits for a key to bind.
    return key == kKeyF1 || CControls::instance().isBound(key) || CControlsPage::instance().isOpen;
}

EM_BOOL CWebBackend::onMouse(int, const EmscriptenMouseEvent*, void*) {
    bf_audio_start();
    return EM_FALSE;
}

EM_BOOL CWebBackend::onTouchEnd(int, const EmscriptenTouchEvent*, void*) {
    // A finger lifted is the player's gesture that lets the sound start on a touch screen.
    bf_audio_start();
    return EM_FALSE;
}

EM_BOOL CWebBackend::onCanvasMouse(int type, const EmscriptenMouseEvent* event, void* self) {
    CWebBackend& page = *static_cast<CWebBackend*>(self);
    // The canvas is the picture scaled up by the page: its pixel under the mouse.
    double width = 0, height = 0;
    emscripten_get_element_css_size("#canvas", &width, &height);
    if (type == EMSCRIPTEN_EVENT_MOUSELEAVE || width <= 0 || height <= 0) {
        page.pointerIn_ = false;
        page.pointerDown_ = false;
        return EM_FALSE;
    }
    page.pointerIn_ = true;
    page.pointerX_ = static_cast<int32_t>(event->targetX * kScreenWidth / width);
    page.pointerY_ = static_cast<int32_t>(event->targetY * kScreenHeight / height);
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN && event->button == 0) {
        page.pointerDown_ = true;
        page.clickedNow_ = true;
    }
    if (type == EMSCRIPTEN_EVENT_MOUSEUP && event->button == 0) page.pointerDown_ = false;
    return EM_FALSE;
}

EM_BOOL CWebBackend::onFocus(int, const EmscriptenFocusEvent*, void* self) {
    static_cast<CWebBackend*>(self)->focusGained_ = true;
    return EM_FALSE;
}

EM_BOOL CWebBackend::onBlur(int, const EmscriptenFocusEvent*, void* self) {
    // Keys let go of elsewhere send no event here.
    CWebBackend& page = *static_cast<CWebBackend*>(self);
    std::memset(page.keysDown_, 0, sizeof page.keysDown_);
    page.altHeld_ = false;
    page.pointerDown_ = false;
    page.focusLost_ = true;
    return EM_FALSE;
}

EM_BOOL CWebBackend::onVisibility(int, const EmscriptenVisibilityChangeEvent* event, void* self) {
    CWebBackend& page = *static_cast<CWebBackend*>(self);
    // A hidden tab may be closed at any moment, and its timers slow to a crawl: pause, keep
    // the settings, and hold the sound until the tab is back.
    if (event->hidden) {
        page.focusLost_ = true;
        page.saveDue_ = true;
    }
    bf_audio_hold(event->hidden);
    return EM_FALSE;
}

EM_BOOL CWebBackend::onGamepad(int type, const EmscriptenGamepadEvent*, void* self) {
    CWebBackend& page = *static_cast<CWebBackend*>(self);
    page.gamepads_ += type == EMSCRIPTEN_EVENT_GAMEPADCONNECTED ? 1 : -1;
    return EM_FALSE;
}

bool CWebBackend::audioOpen() {
    if (options_.mute) {
        audioMuted_ = true;
    } else if (!bf_audio_open()) {
        std::fprintf(stderr, "boltfever: this browser plays no sound (no Web Audio)\n");
        audioMuted_ = true;
    }
    return true;
}

int CWebBackend::audioWrite(const void* data, int bytes) {
    if (bytes <= 0) return 0;
    if (audioMuted_) return bytes;
    const int taken = bf_audio_write(data, bytes, static_cast<int>(kAudioQueueFrames));
    if (taken < 0) return -taken;  // the sound is not running yet, or held
    soundFrames += static_cast<uint32_t>(taken / 4);
    return taken;
}

void CWebBackend::feel(EFeel what) {
    bf_feel(what == EFeel::kHit ? kHitShakeMs : kLifeShakeMs);
}

void CWebBackend::handBack(int status) {
    if (storageOk_) bf_storage_sync();
    bf_ended(status);
}

void CWebBackend::audioClose() {
    if (!audioMuted_) bf_audio_close();
}

// For touch.js: the item of the picture shown at this pixel of it (0 for none). A finger put
// down on one points at it; anywhere else it is the stick's or a button's.
extern "C" EMSCRIPTEN_KEEPALIVE int bf_pointer_target(int32_t x, int32_t y) {
    return pointerTargetAt(x, y);
}
