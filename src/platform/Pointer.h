#pragma once
// Where the mouse can point in the picture: the game names the places of a menu's items while it
// draws them (pointer targets), and they hold for the picture it then shows, until the next one
// is shown. Pointing is thus answered from the picture the player sees.

#include <cstdint>

// A place for the picture being drawn: the mouse over the pixels x0..x1-1, y0..y1-1 points at
// target `id` (1..kMaxPointerTarget). The first target drawn over a pixel wins.
void addPointerTarget(int id, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// The picture drawn is shown: its targets now answer, and the next picture starts with none.
void showPointerTargets();
// The target under a pixel of the picture shown; 0 for none.
int pointerTargetAt(int32_t x, int32_t y);
// Whether the picture shown has any target.
bool pointerTargetsShown();
// No targets at all (a new run).
void clearPointerTargets();
