#pragma once
// What the window draws over the game's picture for a moment: the volume bar while the volume
// keys change it, a note such as "SCREENSHOT SAVED". The window knows no game and no letters: the
// game hands it an overlay (SWindowOptions::overlay) and the window asks it for every picture.

#include <cstdint>

class CPictureOverlay {
public:
    virtual ~CPictureOverlay() = default;

    // The picture to hand to the display: `picture` itself when nothing is showing, else a copy
    // with the overlay drawn on it.
    virtual const uint16_t* compose(const uint16_t* picture, uint32_t nowMs) = 0;
    // A note, in the game's letters (capitals, digits, . , : and ").
    virtual void note(const char* text, uint32_t nowMs) = 0;
};
