#pragma once
// What the window shows over the game's picture: for a moment the master volume as a bar while
// the volume keys change it, and a short note such as "SCREENSHOT SAVED"; the lines that say
// which keys play the buttons the game names (render/KeyHints.h); the controls page while it is
// open. It is drawn on a copy of the picture, never on the game's own surface, so pictures,
// hashes and replays are as they would be without it.

#include <cstdint>

#include "platform/PictureOverlay.h"
#include "platform/Platform.h"

class COverlay : public CPictureOverlay {
public:
    // How long each stays up after its last change.
    static constexpr uint32_t kShowMs = 1000;

    // Where compose looks up the volume (0..256) each time; none: only volumeIs tells it.
    int32_t (*volumeSource)() = nullptr;

    // Tells the overlay the volume at this moment; a change brings the bar up.
    void volumeIs(int32_t volume, uint32_t nowMs);
    void note(const char* text, uint32_t nowMs) override;
    const uint16_t* compose(const uint16_t* picture, uint32_t nowMs) override;

private:
    int32_t volume_ = -1;  // last seen; -1 before the first look
    uint32_t volumeUntil_ = 0;
    const char* note_ = nullptr;
    uint32_t noteUntil_ = 0;
    uint16_t picture_[kScreenPixels];
};
