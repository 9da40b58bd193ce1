// titlegen: paints the 320 x 240 title picture (image 4 of the bank) and writes it as a PPM
// for imagec. Usage: titlegen OUTPUT.ppm

#include <cstdio>
#include <string>

#include "Paint.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: titlegen OUTPUT.ppm\n", stderr);
        return 1;
    }
    CCanvas canvas(kTitleWidth, kTitleHeight);
    paintSky(canvas);
    paintFloor(canvas);
    paintLightning(canvas);
    paintLogo(canvas);
    const std::string path = argv[1], temporary = path + ".tmp";
    if (!canvas.writePpm(temporary) || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::fprintf(stderr, "titlegen: cannot write %s\n", path.c_str());
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
