#pragma once
// The layers of the title picture, painted back to front.

#include "Canvas.h"

constexpr int kTitleWidth = 320;
constexpr int kTitleHeight = 240;
// Where the sky meets the maze floor. Below about y 135 the picture must stay dark and quiet:
// the tutorial's help line (y 141), its walled box (y 152..215) and "PRESS START" (y 224) are
// drawn over it.
constexpr float kHorizon = 121;

// Night sky and stars above the horizon.
void paintSky(CCanvas& c);
// The glowing horizon and a maze laid out on the floor below it, fading into the dark.
void paintFloor(CCanvas& c);
// Forks of lightning striking down at the logo.
void paintLightning(CCanvas& c);
// "BOLT FEVER": electric chrome over hot metal, outlined, extruded and glowing.
void paintLogo(CCanvas& c);
