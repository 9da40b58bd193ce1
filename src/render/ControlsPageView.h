#pragma once
// The controls page as the window shows it over the game's picture (platform/ControlsPage.h
// holds what it shows and where).

#include <cstdint>

class CControlsPage;

// Draws the page over `picture`: the master volume at `volume` (0..256), the actions with their
// keys (and the controller's buttons), the lines of the last choice, and how to use it with the
// keyboard, or with a controller when `pad`.
void drawControlsPage(const CControlsPage& page, int32_t volume, bool pad, uint32_t nowMs,
                      uint16_t* picture);
