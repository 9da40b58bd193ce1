// Writes the desktop icon: the player, facing right, on black, 8 pixels to a sprite pixel.
// Usage: icon OUTPUT.png

#include <cstdio>
#include <string>

#include "platform/PngWriter.h"
#include "render/ImageBank.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icon OUTPUT.png\n");
        return 2;
    }
    constexpr int kPlayerFacingRight = 48;
    const SImage& player = kImageBank[kPlayerFacingRight];
    std::string error;
    if (!writePng(argv[1], player.pixels, player.width, player.height, 8, error)) {
        std::fprintf(stderr, "icon: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
