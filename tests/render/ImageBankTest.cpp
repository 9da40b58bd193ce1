#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "render/ImageBank.h"

namespace {

bool sameImage(const SImage& a, const SImage& b) {
    return a.width == b.width && a.height == b.height &&
           std::memcmp(a.pixels, b.pixels, sizeof(uint16_t) * a.width * a.height) == 0;
}

// Brightness of an RGB565 colour, 0..255.
int luma(uint16_t c) {
    const int r = (c >> 11) * 255 / 31, g = (c >> 5 & 63) * 255 / 63, b = (c & 31) * 255 / 31;
    return (r * 299 + g * 587 + b * 114) / 1000;
}

bool isMazeTile(int index) {
    return index == 54 || index == 55 || index == 115 || index == 116;
}

}  // namespace

// The game reads images by index and draws them by their recorded size: a bullet strip, the
// full-screen title, and 8 x 8 for everything else.
TEST(ImageBank, EveryImageHasItsSize) {
    for (int i = 0; i < kImageCount; ++i) {
        const SImage& img = kImageBank[i];
        int w = 8, h = 8;
        if (i == 0 || i == 2) w = 8, h = 2;
        if (i == 1 || i == 3) w = 2, h = 8;
        if (i == 4) w = 320, h = 240;
        EXPECT_EQ(img.width, w) << "image " << i;
        EXPECT_EQ(img.height, h) << "image " << i;
        EXPECT_NE(img.pixels, nullptr) << "image " << i;
    }
}

// Sprites are drawn opaque, so each is a figure on black: never blank, never filled edge to
// edge (only the maze tiles may cover their whole square).
TEST(ImageBank, SpritesAreFiguresOnBlack) {
    for (int i = 5; i < kImageCount; ++i) {
        const SImage& img = kImageBank[i];
        const uint16_t* end = img.pixels + img.width * img.height;
        const auto black = std::count(img.pixels, end, uint16_t{0});
        EXPECT_LT(black, 64) << "image " << i << " is blank";
        if (!isMazeTile(i)) {
            EXPECT_GT(black, 0) << "image " << i << " has no background";
        }
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(std::any_of(kImageBank[i].pixels, kImageBank[i].pixels + 16,
                                [](uint16_t c) { return c != 0; }))
            << "bullet " << i << " is blank";
    }
}

// A monster shows which way it faces, so the four images of a class all differ (a facing derived
// from a symmetric picture, or pasted twice, would not). The same holds for the biter's two
// jaw frames, the disks' spin frames, the egg's tumble and the four wall styles.
TEST(ImageBank, FacingsAndFramesDiffer) {
    const std::vector<std::vector<int>> sets = {
        {0, 1, 2, 3},
        {5, 6, 7, 8},
        {9, 10, 11, 12},
        {13, 14, 15, 16},
        {17, 18, 19, 20},
        {21, 22, 23, 24},
        {34, 35, 36, 37},
        {38, 39, 40, 41},
        {42, 43, 44, 45},
        {46, 47, 48, 49},
        {50, 51, 52, 53},
        {57, 58, 59, 60},
        {61, 62, 63, 64},
        {65, 66, 67, 68},
        {69, 70, 71, 72},
        {73, 74, 75, 76},
        {77, 78, 79, 80},
        {81, 82, 83, 84},
        {85, 86, 87, 88},
        {89, 90, 91, 92},
        {93, 94, 95, 96},
        {97, 98, 99, 100},
        {101, 102, 103, 104},
        {105, 106, 107, 108},
        {73, 77},
        {74, 78},
        {75, 79},
        {76, 80},
        {25, 26, 27},
        {28, 29, 30},
        {31, 32, 33},
        {109, 110, 111},
        {112, 113, 114},
        {25, 28, 31, 109, 112},
        {54, 55, 115, 116},
    };
    for (const auto& set : sets)
        for (size_t a = 0; a < set.size(); ++a)
            for (size_t b = a + 1; b < set.size(); ++b)
                EXPECT_FALSE(sameImage(kImageBank[set[a]], kImageBank[set[b]]))
                    << "images " << set[a] << " and " << set[b] << " are the same";
}

// The disk types are told apart by colour: their most common colours differ.
TEST(ImageBank, DiskTypesHaveTheirOwnColours) {
    std::set<uint16_t> main;
    for (int first : {25, 28, 31, 109, 112}) {
        const SImage& img = kImageBank[first];
        uint16_t best = 0;
        long bestCount = 0;
        for (int p = 0; p < 64; ++p) {
            const long n = std::count(img.pixels, img.pixels + 64, img.pixels[p]);
            if (img.pixels[p] != 0 && n > bestCount) best = img.pixels[p], bestCount = n;
        }
        EXPECT_TRUE(main.insert(best).second) << "disk image " << first << " shares its colour";
    }
}

// The tutorial runs over the title picture: its help line (y 141), walled box (y 152..215) and
// the "PRESS START" prompt (y 224) need a dark, quiet ground, while the logo above must shine.
TEST(ImageBank, TitleIsBrightAboveAndQuietBelow) {
    const SImage& title = kImageBank[4];
    int brightAbove = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 320; ++x) brightAbove += luma(title.pixels[y * 320 + x]) > 200;
    EXPECT_GT(brightAbove, 2000);
    for (int y = 138; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_LT(luma(title.pixels[y * 320 + x]), 48) << "pixel " << x << ", " << y;
}
