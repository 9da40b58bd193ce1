#pragma once
// The compiled-in image bank: 117 bitmaps, made at build time from the sprite sources under
// assets/ (see the image compiler under tools/).

#include "render/Image.h"

constexpr int kImageCount = 117;
extern const SImage kImageBank[kImageCount];
