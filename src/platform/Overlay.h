#pragma once
// What the window shows over the game's picture for a moment: the master volume as a bar while
// the volume keys change it, and a short note such as "SCREENSHOT SAVED". It is drawn on a copy
// of the picture, never on the game's own surface, so pictures, hashes and replays are as they
// would be without it.

#include <cstdint>

#include "platform/Platform.h"

class COverlay {
public:
    // How long each stays up after its last change.
    static constexpr uint32_t kShowMs = 1000;

    // Tells the overlay the volume (0..256) at this moment; a change brings the bar up.
    void volumeIs(int32_t volume, uint32_t nowMs);
    // A note, in the game's letters (capitals, digits, . , : and ").
    void note(const char* text, uint32_t nowMs);

    // The picture to hand to the display: `picture` itself when nothing is showing, else a copy
    // with the overlay drawn on it.
    const uint16_t* compose(const uint16_t* picture, uint32_t nowMs);

private:
    int32_t volume_ = -1;  // last seen; -1 before the first look
    uint32_t volumeUntil_ = 0;
    const char* note_ = nullptr;
    uint32_t noteUntil_ = 0;
    uint16_t picture_[kScreenPixels];
};
