#pragma once
// The real game on a PC: a window showing the picture scaled up by whole steps with black bars,
// the keyboard and game controllers as the handheld's buttons, the sound card behind a short
// queue, and the monotonic clock as the handheld's counter.

#include <SDL.h>

#include <chrono>
#include <string>

#include "platform/Backend.h"
#include "platform/KeyMap.h"
#include "platform/PlayerInput.h"
#include "platform/Window.h"

class CSdlBackend : public CBackend {
public:
    CSdlBackend() = default;
    ~CSdlBackend() override;

    // Opens the window. False, with a one-line reason, when it cannot.
    bool open(const SWindowOptions& options, std::string& error);

    uint32_t counter() override;
    void idleUntil(uint32_t start, uint32_t ticks) override;
    void show(const uint16_t* picture) override;
    ButtonMask pollButtons() override;
    void pauseBetweenPolls() override;
    bool quitRequested() override;
    bool audioOpen() override;
    int audioWrite(const void* data, int bytes) override;
    void audioClose() override;

private:
    // Starts SDL's video on a driver that shows something. False, with the reason, when there
    // is no display to open a window on.
    bool openDisplay(std::string& error);
    // The largest scale up to `scale` whose window fits the screen; says so when it is smaller.
    int fittingScale(int scale) const;
    // Draws a picture, with the overlay over it, into the window.
    void display(const uint16_t* picture);
    // Our own integer scaling into a texture of the window's size (software renderer).
    void showScaled(const uint16_t* picture);
    void handleEvent(const SDL_Event& event);
    void toggleFullscreen();
    void saveScreenshot();
    // The controllers into the hands: their buttons, and Y and B for the controls page.
    void readControllers(CPlayerInput::SHands& hands) const;
    // The mouse into the hands, at the pixel of the picture it is over.
    void readMouse(CPlayerInput::SHands& hands) const;

    SWindowOptions options_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_AudioDeviceID audio_ = 0;
    bool ownScaler_ = false;  // we scale, not SDL
    int textureScale_ = 0;    // the scale the texture was made for
    uint32_t toArgb_[65536];  // RGB565 to the texture's ARGB8888
    const uint16_t* lastPicture_ = nullptr;
    std::chrono::steady_clock::time_point epoch_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastShow_{};
    bool closed_ = false;
    bool focusLost_ = false;    // reported as one pause request at the next poll
    bool focusGained_ = false;  // at this poll: a click with it only gave the focus back
    bool clickedNow_ = false;   // the mouse button went down at this poll
    uint8_t keysPressed_[kKeyUsages] = {};  // keys that went down since the last poll
    bool padPressed_[kPadButtons] = {};     // controller buttons that went down since then
    bool cursorShown_ = false;
    bool pageShown_ = false;  // the controls page was open at the last poll
    // Fullscreen without a window manager that does it: the window is moved over the display
    // and resized to it by us, and goes back to where it was.
    bool ownFullscreen_ = false;
    SDL_Rect windowed_{};
};
