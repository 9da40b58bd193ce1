#pragma once
// A picture that shows every drawing primitive at once, for checking the renderer by eye: the
// whole font at two sizes, line fans (solid and anti-aliased), circles, a dialog panel over
// colour, blends and fades.

#include <cstdint>

// Paints the whole 320 x 240 surface.
void drawTestCard(uint16_t* surface);
