// Writes the desktop icon: the player, facing right, on black, 8 pixels to a sprite pixel (or
// SCALE: the page's icons are larger).
// Usage: icon OUTPUT.png [SCALE]

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/PngWriter.h"
#include "render/ImageBank.h"

int main(int argc, char** argv) {
    const int scale = argc == 3 ? std::atoi(argv[2]) : 8;
    if (argc < 2 || argc > 3 || scale < 1 || scale > 64) {
        std::fprintf(stderr, "usage: icon OUTPUT.png [SCALE 1-64]\n");
        return 2;
    }
    constexpr int kPlayerFacingRight = 48;
    const SImage& player = kImageBank[kPlayerFacingRight];
    std::string error;
    if (!writePng(argv[1], player.pixels, player.width, player.height, scale, error)) {
        std::fprintf(stderr, "icon: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
