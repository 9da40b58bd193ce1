#pragma once
// Writes the compiled image bank: a C++ source defining kImageBank, one pixel array per image.

#include <string>
#include <vector>

#include "Sprite.h"

// Writes the source to `path` through a temporary file and a rename, so that a failed run never
// leaves half a bank behind for the next build to compile. False, with a reason, on failure.
bool writeBank(const std::string& path, const std::vector<SSprite>& bank, std::string& error);
