#pragma once
// The real game on a PC: a window showing the picture scaled up by whole steps with black bars,
// the keyboard and game controllers as the handheld's buttons, the sound card behind a short
// queue, and the monotonic clock as the handheld's counter.

#include <SDL.h>

#include <chrono>
#include <csignal>
#include <string>

#include "platform/Backend.h"
#include "platform/Window.h"

class CSdlBackend : public CBackend {
public:
    // Frames the sound card's queue may hold: 46 ms at 22,050 Hz.
    static constexpr Uint32 kAudioQueueFrames = 1024;

    CSdlBackend() = default;
    ~CSdlBackend() override;

    // Opens the window. False, with a one-line reason, when it cannot.
    bool open(const SWindowOptions& options, std::string& error);

    uint32_t counter() override;
    void idleUntil(uint32_t start, uint32_t ticks) override;
    void show(const uint16_t* picture) override;
    ButtonMask pollButtons() override;
    bool quitRequested() override;
    bool audioOpen() override;
    int audioWrite(const void* data, int bytes) override;
    void audioClose() override;

private:
    void handleEvent(const SDL_Event& event);
    void toggleFullscreen();
    void saveScreenshot();
    ButtonMask readKeyboard() const;
    ButtonMask readControllers() const;

    SWindowOptions options_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_AudioDeviceID audio_ = 0;
    const uint16_t* lastPicture_ = nullptr;
    std::chrono::steady_clock::time_point epoch_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastShow_{};
    bool closed_ = false;
    bool focusLost_ = false;  // reported as one pause request at the next poll
};
