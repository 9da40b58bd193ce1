#pragma once
// The shape of the game's image bank: how many images it holds and the size each must have.
// The bank is read by index all over the game, so a picture of the wrong size is a build error.

#include <cstdint>

constexpr int kBankSize = 117;

struct SImageSize {
    int32_t width;
    int32_t height;
};

// Plain bullets are thin strips (8 x 2 flying sideways, 2 x 8 flying up or down), image 4 is the
// full-screen title picture, every other image is an 8 x 8 sprite or maze tile.
constexpr SImageSize requiredSize(int index) {
    switch (index) {
        case 0:
        case 2:
            return {8, 2};
        case 1:
        case 3:
            return {2, 8};
        case 4:
            return {320, 240};
        default:
            return {8, 8};
    }
}
