#pragma once
// The logo's letters: a bold, square-cut arcade face on a grid 10 units wide and 12 high.

#include "Shape.h"

constexpr float kLetterWidth = 10;
constexpr float kLetterHeight = 12;

// The outline of one of the letters B, E, F, L, O, R, T, V; empty for any other character.
const SShape& letterShape(char c);
