#include "support/DummyWindow.h"

#ifdef BOLTFEVER_TEST_WITH_SDL

#include "platform/Platform.h"
#include "platform/Window.h"

bool CDummyWindow::open(std::string& error) {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SWindowOptions options;
    options.mute = true;
    window = openWindow(options, error);
    if (!window) return false;
    platformStartup(*window);
    return true;
}

void CDummyWindow::close() {
    pullOut();
    if (window) platformShutdown();
    window.reset();
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    SDL_ResetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS);
}

bool CDummyWindow::plugIn(std::string& error) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    device = SDL_JoystickAttachVirtualEx(&desc);
    pad = SDL_JoystickOpen(device);
    if (!pad) error = SDL_GetError();
    return pad != nullptr;
}

void CDummyWindow::pullOut() {
    if (pad) SDL_JoystickClose(pad);
    pad = nullptr;
    if (device >= 0) SDL_JoystickDetachVirtual(device);
    device = -1;
}

#endif
