#include "platform/sdl/SdlBackend.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <thread>
#include <utility>
#include <vector>

#include "platform/ControlsPage.h"
#include "platform/KeyMap.h"
#include "platform/Messages.h"
#include "platform/Pacing.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/PngWriter.h"

// Last: Xlib's macros (None, Success, Status) would clash with names in the headers above.
#ifdef BOLTFEVER_X11
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace {

// The shared key table names keys by USB usage, which is what SDL's scancodes are; the
// controller table numbers buttons as SDL does.
constexpr bool allEqual(std::initializer_list<std::pair<int, int>> pairs) {
    for (const auto& [sdl, ours] : pairs)
        if (sdl != ours) return false;
    return true;
}
static_assert(allEqual({{SDL_SCANCODE_A, kKeyA},
                        {SDL_SCANCODE_D, kKeyD},
                        {SDL_SCANCODE_S, kKeyS},
                        {SDL_SCANCODE_W, kKeyW},
                        {SDL_SCANCODE_X, kKeyX},
                        {SDL_SCANCODE_Z, kKeyZ},
                        {SDL_SCANCODE_RETURN, kKeyReturn},
                        {SDL_SCANCODE_ESCAPE, kKeyEscape},
                        {SDL_SCANCODE_TAB, kKeyTab},
                        {SDL_SCANCODE_SPACE, kKeySpace},
                        {SDL_SCANCODE_MINUS, kKeyMinus},
                        {SDL_SCANCODE_EQUALS, kKeyEquals},
                        {SDL_SCANCODE_RIGHT, kKeyRight},
                        {SDL_SCANCODE_LEFT, kKeyLeft},
                        {SDL_SCANCODE_DOWN, kKeyDown},
                        {SDL_SCANCODE_UP, kKeyUp},
                        {SDL_SCANCODE_KP_MINUS, kKeyKpMinus},
                        {SDL_SCANCODE_KP_PLUS, kKeyKpPlus},
                        {SDL_SCANCODE_KP_ENTER, kKeyKpEnter},
                        {SDL_SCANCODE_KP_1, kKeyKp1},
                        {SDL_SCANCODE_KP_2, kKeyKp2},
                        {SDL_SCANCODE_KP_3, kKeyKp3},
                        {SDL_SCANCODE_KP_4, kKeyKp4},
                        {SDL_SCANCODE_KP_6, kKeyKp6},
                        {SDL_SCANCODE_KP_7, kKeyKp7},
                        {SDL_SCANCODE_KP_8, kKeyKp8},
                        {SDL_SCANCODE_KP_9, kKeyKp9},
                        {SDL_SCANCODE_LCTRL, kKeyLeftCtrl}}));
static_assert(allEqual({{SDL_CONTROLLER_BUTTON_A, kPadA},
                        {SDL_CONTROLLER_BUTTON_B, kPadB},
                        {SDL_CONTROLLER_BUTTON_X, kPadX},
                        {SDL_CONTROLLER_BUTTON_Y, kPadY},
                        {SDL_CONTROLLER_BUTTON_BACK, kPadBack},
                        {SDL_CONTROLLER_BUTTON_GUIDE, kPadGuide},
                        {SDL_CONTROLLER_BUTTON_START, kPadStart},
                        {SDL_CONTROLLER_BUTTON_LEFTSTICK, kPadLeftStick},
                        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, kPadRightStick},
                        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, kPadLeftShoulder},
                        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, kPadRightShoulder},
                        {SDL_CONTROLLER_BUTTON_DPAD_UP, kPadDpadUp},
                        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kPadDpadDown},
                        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kPadDpadLeft},
                        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kPadDpadRight}}));
static_assert(SDL_NUM_SCANCODES >= kKeyUsages &&
              int{SDL_CONTROLLER_BUTTON_MAX} >= int{kPadButtons});

// Whether a window manager runs that makes a window fill the screen when asked (EWMH's
// _NET_WM_STATE_FULLSCREEN): the running manager names a window of its own, which names itself,
// on the root window, and lists the request among those it supports. Off X, SDL's fullscreen is
// taken as it is.
bool windowManagerFillsScreen(SDL_Window* window) {
#ifdef BOLTFEVER_X11
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    Display* display = info.info.x11.display;
    const Window root = DefaultRootWindow(display);
    // A manager that has quit leaves its window's number on the root window: asking that
    // window is an error of the X server's, which Xlib would end the game for. Errors are
    // noted instead while asking, and mean no manager.
    static bool xFailed;
    xFailed = false;
    XSync(display, False);
    const auto previous = XSetErrorHandler([](Display*, XErrorEvent*) {
        xFailed = true;
        return 0;
    });
    // The items of a property of a window, of a type; empty when it has none.
    const auto property = [display](Window of, const char* name, Atom type) {
        std::vector<unsigned long> items;
        const Atom atom = XInternAtom(display, name, True);
        Atom actualType = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (atom != None &&
            XGetWindowProperty(display, of, atom, 0, 4096, False, type, &actualType, &format,
                               &count, &after, &data) == Success &&
            actualType == type && format == 32 && data)
            items.assign(reinterpret_cast<unsigned long*>(data),
                         reinterpret_cast<unsigned long*>(data) + count);
        if (data) XFree(data);
        return items;
    };
    const std::vector<unsigned long> check = property(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    const bool running =
        !check.empty() && property(check[0], "_NET_SUPPORTING_WM_CHECK", XA_WINDOW) == check;
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!running || xFailed) return false;
    const Atom fullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", True);
    const std::vector<unsigned long> supported = property(root, "_NET_SUPPORTED", XA_ATOM);
    return fullscreen != None &&
           std::find(supported.begin(), supported.end(), fullscreen) != supported.end();
#else
    (void)window;
    return true;
#endif
}

}  // namespace

std::unique_ptr<CBackend> openWindow(const SWindowOptions& options, std::string& error) {
    auto window = std::make_unique<CSdlBackend>();
    if (!window->open(options, error)) return nullptr;
    return window;
}

CSdlBackend::~CSdlBackend() {
    audioClose();
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
}

bool CSdlBackend::open(const SWindowOptions& options, std::string& error) {
    options_ = options;
    if (!openDisplay(error)) return false;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        error = std::string("cannot start SDL: ") + SDL_GetError();
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    const int scale = fittingScale(std::max(1, options.scale));
    // Opened as a window; --fullscreen then fills the screen as F11 does (with a window manager
    // or without one).
    const Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    window_ = SDL_CreateWindow("Bolt Fever", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kScreenWidth * scale, kScreenHeight * scale, flags);
    if (!window_) {
        error = std::string("cannot open a window: ") + SDL_GetError();
        return false;
    }
    // Smaller than one whole picture it could only show a cropped one.
    SDL_SetWindowMinimumSize(window_, kScreenWidth, kScreenHeight);
    // No vsync: the game paces itself, and its speed is tied to its own presents.
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        error = std::string("cannot draw into the window: ") + SDL_GetError();
        return false;
    }
    // SDL's software renderer scales a 16-bit texture with a conversion of every pixel: a
    // picture at 3x took it 20.5 ms under Xvfb, against 5.4 ms when we scale into a texture of
    // the window's own size and format. A renderer on a graphics card (or Mesa's llvmpipe, 4.0 ms
    // against our 7.1) scales faster than we do: there SDL scales.
    SDL_RendererInfo info{};
    ownScaler_ =
        SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    if (ownScaler_) {
        for (uint32_t c = 0; c < 65536; ++c) {
            uint8_t rgb[3];
            rgb565ToRgb8(static_cast<uint16_t>(c), rgb);
            toArgb_[c] = 0xFF000000u | uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
        }
    } else {
        SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);
        SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                     kScreenWidth, kScreenHeight);
        if (!texture_) {
            error = std::string("cannot create the screen texture: ") + SDL_GetError();
            return false;
        }
    }
    // The mouse pointer shows only while the mouse is in use (in the menus).
    SDL_ShowCursor(SDL_DISABLE);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
    if (options.fullscreen) toggleFullscreen();
    return true;
}

bool CSdlBackend::openDisplay(std::string& error) {
    // Without a display SDL would fall back to drivers that draw nowhere, and the game would run
    // unseen: unless the user names a driver, only those that show something are tried, and
    // Wayland only when a compositor is named (looking for one makes libwayland complain).
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const bool named = asked && *asked;
    if (!named) {
        std::string drivers;
        for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
            const std::string driver = SDL_GetVideoDriver(i);
            if (driver == "offscreen" || driver == "dummy" || driver == "evdev" ||
                (driver == "wayland" && !SDL_getenv("WAYLAND_DISPLAY")))
                continue;
            drivers += (drivers.empty() ? "" : ",") + driver;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
    const char* x = SDL_getenv("DISPLAY");
    const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
    if (named)
        error = std::string("cannot start SDL: ") + SDL_GetError();
    else if (x && *x)
        error = std::string("no usable display: cannot open a window on DISPLAY '") + x +
                "' (--headless runs without one)";
    else if (wayland)
        error = std::string("no usable display: cannot open a window on WAYLAND_DISPLAY '") +
                wayland + "' (--headless runs without one)";
    else
        error = "no display: DISPLAY is not set (--headless runs without one)";
    return false;
}

int CSdlBackend::fittingScale(int scale) const {
    // A window larger than the screen would open partly off it: take the largest whole scale
    // that fits the usable area (the desktop without its panels).
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return scale;
    const int fits = std::max(1, std::min(usable.w / kScreenWidth, usable.h / kScreenHeight));
    if (scale <= fits) return scale;
    reportLine("a window at scale " + std::to_string(scale) + " (" +
               std::to_string(kScreenWidth * scale) + "x" + std::to_string(kScreenHeight * scale) +
               ") does not fit the screen's " + std::to_string(usable.w) + "x" +
               std::to_string(usable.h) + "; using scale " + std::to_string(fits));
    return fits;
}

uint32_t CSdlBackend::counter() {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now() - epoch_)
                        .count();
    const uint64_t n = static_cast<uint64_t>(ns);
    // 7,372,800 ticks per second, split so that the product cannot overflow.
    return static_cast<uint32_t>((n / 1000000000u) * kTimerHz +
                                 (n % 1000000000u) * kTimerHz / 1000000000u);
}

void CSdlBackend::idleUntil(uint32_t start, uint32_t ticks) {
    // Sleep while the deadline is far and let the caller spin only the last stretch: a paced
    // game must not hold a core. A sleep may overshoot by the kernel's timer slack, so each one
    // stops well short; the caller comes back here until the spin is all that is left.
    constexpr uint32_t kSpinTicks = kTimerHz / 5000;  // 0.2 ms
    const uint32_t passed = counter() - start;
    if (passed >= ticks || ticks - passed <= kSpinTicks) return;
    const uint64_t sleepTicks = ticks - passed - kSpinTicks;
    std::this_thread::sleep_for(std::chrono::nanoseconds(sleepTicks * 1000000000u / kTimerHz));
}

void CSdlBackend::show(const uint16_t* picture) {
    // How evenly pictures reach the display, for the report.
    const auto now = std::chrono::steady_clock::now();
    if (lastShow_ != std::chrono::steady_clock::time_point{})
        CPacing::instance().pictureInterval(static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(now - lastShow_).count()));
    lastShow_ = now;
    lastPicture_ = picture;
    display(picture);
}

void CSdlBackend::display(const uint16_t* picture) {
    // The overlay goes on a copy: the game's picture stays as it is.
    const uint32_t ms = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::steady_clock::now() - epoch_)
                                                  .count());
    if (options_.overlay) picture = options_.overlay->compose(picture, ms);
    if (ownScaler_) {
        showScaled(picture);
        return;
    }
    SDL_UpdateTexture(texture_, nullptr, picture, kScreenWidth * 2);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void CSdlBackend::showScaled(const uint16_t* picture) {
    // The largest whole scale the window takes, centred with black bars; the texture follows
    // the window's size.
    int width = 0, height = 0;
    SDL_GetRendererOutputSize(renderer_, &width, &height);
    const int scale = std::max(1, std::min(width / kScreenWidth, height / kScreenHeight));
    if (scale != textureScale_ || !texture_) {
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ =
            SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                              kScreenWidth * scale, kScreenHeight * scale);
        textureScale_ = scale;
        if (!texture_) return;
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return;
    uint8_t* out = static_cast<uint8_t*>(pixels);
    for (int y = 0; y < kScreenHeight; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(out);
        const uint16_t* in = picture + y * kScreenWidth;
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint32_t c = toArgb_[in[x]];
            for (int k = 0; k < scale; ++k) *row++ = c;
        }
        for (int k = 1; k < scale; ++k)
            std::memcpy(out + k * pitch, out, static_cast<size_t>(kScreenWidth * scale) * 4);
        out += scale * pitch;
    }
    SDL_UnlockTexture(texture_);
    const SDL_Rect where{(width - kScreenWidth * scale) / 2, (height - kScreenHeight * scale) / 2,
                         kScreenWidth * scale, kScreenHeight * scale};
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &where);
    SDL_RenderPresent(renderer_);
}

ButtonMask CSdlBackend::pollButtons() {
    focusGained_ = false;
    clickedNow_ = false;
    std::memset(keysPressed_, 0, sizeof keysPressed_);
    std::memset(padPressed_, 0, sizeof padPressed_);
    SDL_Event event;
    while (SDL_PollEvent(&event)) handleEvent(event);
    CPlayerInput& player = CPlayerInput::instance();
    // A click that gave the window its focus back is no choice in a menu.
    if (focusGained_ && clickedNow_) player.ignoreClick();
    CPlayerInput::SHands hands;
    hands.keysDown = SDL_GetKeyboardState(nullptr);
    hands.keysPressed = keysPressed_;
    hands.altHeld = (SDL_GetModState() & KMOD_ALT) != 0;
    readControllers(hands);
    readMouse(hands);
    ButtonMask mask = player.poll(hands);
    // The page closed while the game shows nothing new (LEVEL COMPLETE waits without drawing):
    // the window takes it away itself.
    const bool pageOpen = CControlsPage::instance().isOpen;
    if (pageShown_ && !pageOpen && lastPicture_) display(lastPicture_);
    pageShown_ = pageOpen;
    if (player.mouseInUse != cursorShown_) {
        cursorShown_ = player.mouseInUse;
        SDL_ShowCursor(cursorShown_ ? SDL_ENABLE : SDL_DISABLE);
    }
    if (focusLost_) {
        mask |= kPauseRequest;
        focusLost_ = false;
    }
    return mask;
}

void CSdlBackend::handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            closed_ = true;
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) focusLost_ = true;
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) focusGained_ = true;
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT) clickedNow_ = true;
            break;
        case SDL_KEYDOWN:
            if (event.key.repeat) break;
            if (event.key.keysym.scancode < kKeyUsages) keysPressed_[event.key.keysym.scancode] = 1;
            if (event.key.keysym.sym == SDLK_F11 ||
                (event.key.keysym.sym == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT)))
                toggleFullscreen();
            else if (event.key.keysym.sym == SDLK_F12)
                saveScreenshot();
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (event.cbutton.button < kPadButtons) padPressed_[event.cbutton.button] = true;
            break;
        case SDL_CONTROLLERDEVICEADDED:
            SDL_GameControllerOpen(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (SDL_GameController* pad = SDL_GameControllerFromInstanceID(event.cdevice.which))
                SDL_GameControllerClose(pad);
            break;
        default:
            break;
    }
}

void CSdlBackend::readMouse(CPlayerInput::SHands& hands) const {
    int x = 0, y = 0;
    const Uint32 buttons = SDL_GetMouseState(&x, &y);
    if (SDL_GetMouseFocus() != window_) return;
    // Window points to the renderer's pixels (they differ on a high-density display), then to
    // the picture's, scaled and centred as it is shown.
    int windowW = 0, windowH = 0, outW = 0, outH = 0;
    SDL_GetWindowSize(window_, &windowW, &windowH);
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    if (windowW <= 0 || windowH <= 0) return;
    const int scale = std::max(1, std::min(outW / kScreenWidth, outH / kScreenHeight));
    const int px = x * outW / windowW - (outW - kScreenWidth * scale) / 2;
    const int py = y * outH / windowH - (outH - kScreenHeight * scale) / 2;
    hands.pointerIn = px >= 0 && py >= 0 && px < kScreenWidth * scale && py < kScreenHeight * scale;
    hands.pointerX = px / scale;
    hands.pointerY = py / scale;
    // A click quicker than a poll is held until the next, so that the menus see it.
    hands.pointerDown = (buttons & SDL_BUTTON_LMASK) != 0 || clickedNow_;
}

void CSdlBackend::readControllers(CPlayerInput::SHands& hands) const {
    ButtonMask mask = 0;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        SDL_GameController* pad =
            SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(i));
        if (!pad) continue;
        // A button pressed and let go of since the last poll is held for this one, as a key is.
        bool pressed[kPadButtons];
        for (int b = 0; b < kPadButtons; ++b)
            pressed[b] = padPressed_[b] || SDL_GameControllerGetButton(
                                               pad, static_cast<SDL_GameControllerButton>(b)) != 0;
        mask |=
            controllerButtons(pressed, SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX),
                              SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
        hands.padY |= pressed[kPadY];
        hands.padB |= pressed[kPadB];
    }
    hands.pad = mask;
}

void CSdlBackend::pauseBetweenPolls() {
    // A millisecond: the sound queue holds 46 ms, and START is seen as soon as it is pressed.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool CSdlBackend::quitRequested() {
    return closed_;
}

void CSdlBackend::toggleFullscreen() {
    if (ownFullscreen_) {
        ownFullscreen_ = false;
        SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
        SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
        return;
    }
    if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        SDL_SetWindowFullscreen(window_, 0);
        return;
    }
    if (windowManagerFillsScreen(window_)) {
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    // Nobody would act on SDL's request, yet SDL would take the window to be the desktop's size
    // from then on, also after going back: the picture came out scaled for the whole screen and
    // cropped to the window. Without a window manager a window goes where it is told.
    SDL_Rect display{};
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &display) != 0)
        return;
    SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
    SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
    ownFullscreen_ = true;
    SDL_SetWindowPosition(window_, display.x, display.y);
    SDL_SetWindowSize(window_, display.w, display.h);
    SDL_RaiseWindow(window_);
}

void CSdlBackend::saveScreenshot() {
    if (!lastPicture_) return;
    std::string error;
    if (!makeUserDataDir(error)) {
        reportLine("screenshot not saved: " + error);
        return;
    }
    char name[64];
    const std::time_t now = std::time(nullptr);
    std::strftime(name, sizeof name, "screenshot-%Y%m%d-%H%M%S.png", std::localtime(&now));
    const std::string path = userDataDir() + name;
    const uint32_t ms = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::steady_clock::now() - epoch_)
                                                  .count());
    if (writePng(path, lastPicture_, kScreenWidth, kScreenHeight, 1, error)) {
        std::printf("Screenshot saved to %s\n", path.c_str());
        if (options_.overlay) options_.overlay->note("SCREENSHOT SAVED", ms);
    } else {
        reportLine("screenshot not saved: " + error);
        if (options_.overlay) options_.overlay->note("SCREENSHOT NOT SAVED", ms);
    }
    std::fflush(stdout);
}

bool CSdlBackend::audioOpen() {
    if (options_.mute) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = 22050;
    want.format = AUDIO_S16LSB;
    want.channels = 2;
    want.samples = 512;
    audio_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (audio_ == 0) return false;
    SDL_PauseAudioDevice(audio_, 0);
    return true;
}

int CSdlBackend::audioWrite(const void* data, int bytes) {
    if (bytes <= 0) return 0;
    if (options_.mute) return bytes;
    if (audio_ == 0) return 0;
    // SDL's queue grows without limit; the cap is ours, like the handheld driver's buffer.
    const Uint32 queued = SDL_GetQueuedAudioSize(audio_);
    const Uint32 cap = kAudioQueueFrames * 4;
    if (queued >= cap) return 0;
    const Uint32 take = std::min<Uint32>(static_cast<Uint32>(bytes), cap - queued) & ~3u;
    if (take == 0 || SDL_QueueAudio(audio_, data, take) != 0) return 0;
    return static_cast<int>(take);
}

void CSdlBackend::audioClose() {
    if (audio_ != 0) {
        SDL_CloseAudioDevice(audio_);
        audio_ = 0;
    }
}
