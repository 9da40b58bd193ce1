#include "platform/Input.h"

#include "platform/Platform.h"

namespace {
CInput* gInstance = nullptr;
}

CInput& CInput::instance() {
    if (!gInstance) gInstance = new CInput;
    return *gInstance;
}

void CInput::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

int CInput::readButton(int bit) const {
    return ::readButton(bit);
}

void CInput::poll() {
    platformPollButtons();
    // The handheld's reading order, by GPIO bit number.
    up = static_cast<uint8_t>(readButton(160));
    upLeft = static_cast<uint8_t>(readButton(161));
    left = static_cast<uint8_t>(readButton(162));
    downLeft = static_cast<uint8_t>(readButton(163));
    down = static_cast<uint8_t>(readButton(164));
    downRight = static_cast<uint8_t>(readButton(165));
    right = static_cast<uint8_t>(readButton(166));
    upRight = static_cast<uint8_t>(readButton(167));
    buttonA = static_cast<uint8_t>(readButton(12));
    start = static_cast<uint8_t>(readButton(8));
    select = static_cast<uint8_t>(readButton(9));
    volumeDownKey = static_cast<uint8_t>(readButton(22));
    volumeUpKey = static_cast<uint8_t>(readButton(23));
    buttonX = static_cast<uint8_t>(readButton(14));
}
