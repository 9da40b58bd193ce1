#pragma once
// A laser beam along a corridor: two pixels wide, between the eye that fired it and its target,
// shown for eleven drawn frames.

#include <cstdint>

#include "effects/Effect.h"

class CLaser : public CEffect {
public:
    // The creator then sets where the beam starts and how far it reaches.
    explicit CLaser(uint16_t beamColour);

    void update() override;
    void draw(uint16_t* surface) override;

    int32_t lifetime = 10;  // updates left
    int32_t x = 0;          // start pixel of the beam
    int32_t y = 0;          //
    int32_t width = 0;      // a horizontal beam: its length, and height 2
    int32_t height = 0;     // a vertical beam: its length, and width 2
    uint16_t colour;
};
