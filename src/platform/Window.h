#pragma once
// The backend a player sees: the SDL window on a desktop, the page's canvas in a browser. Each
// build links exactly one of them.

#include <functional>
#include <memory>
#include <string>

#include "platform/Backend.h"
#include "platform/PictureOverlay.h"

struct SWindowOptions {
    int scale = 3;            // window size in multiples of 320 x 240
    bool fullscreen = false;  // start on the whole desktop
    bool mute = false;        // no sound card: a device that takes everything
    // Called between polls when the settings should be made to last now rather than at the
    // exit (a browser tab may be closed without one); true when it wrote them. The desktop
    // saves at the exit only.
    std::function<bool()> keepSettings;
    // Drawn over every picture the window shows; none when null. It must outlive the window.
    CPictureOverlay* overlay = nullptr;
};

// Opens the window. Null, with a one-line reason, when it cannot.
std::unique_ptr<CBackend> openWindow(const SWindowOptions& options, std::string& error);
