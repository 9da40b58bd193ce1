#pragma once
// Reads the sprite sources under assets/images/: text files a person edits and reviews in a diff.
//
//   # a comment
//   colour .  #000000          a palette entry: one character, an RGB888 colour (#RRGGBB) or
//   colour W  0xFFFF           an RGB565 value (0xNNNN), then anything as a remark
//
//   image 46 player-left       an image: its bank index and a name, then one text row per
//   ..WW....                   pixel row, one palette character per pixel; a blank line or the
//   ...                        next directive ends it
//
//   image 48 player-right = mirror 46    derived from an image defined before it, by one of
//                                        mirror, flip, cw, ccw (quarter turns) or half
//
// The palette belongs to its file and must come before the rows that use it.

#include <string>
#include <vector>

#include "Sprite.h"

// Reads one source into `bank` (indexed by bank index). Every fault is added to `errors` as
// "file:line: what is wrong"; the rest of the file is still read, so one run lists them all.
void readSpriteSource(const std::string& path, std::vector<SSprite>& bank,
                      std::vector<std::string>& errors);

// Adds an error for every index the bank lacks, pointing at the nearest image defined after the
// gap (or before it, at the end of the bank).
void checkComplete(const std::vector<SSprite>& bank, std::vector<std::string>& errors);
