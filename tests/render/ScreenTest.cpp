#include <gtest/gtest.h>

#include <cstring>

#include "render/ImageBank.h"
#include "render/Screen.h"
#include "support/GameTest.h"

namespace {

class ScreenTest : public CGameTest {
protected:
    // An 8 x 8 sprite of one colour, black in its top-left corner.
    struct SSprite {
        uint16_t pixels[64];
        SImage image{8, 8, pixels};
        explicit SSprite(uint16_t colour) {
            for (uint16_t& p : pixels) p = colour;
            pixels[0] = 0;
        }
    };
    int paintedPixels() const {
        int n = 0;
        for (int i = 0; i < kScreenPixels; ++i) n += CScreen::instance().surface()[i] != 0;
        return n;
    }
};

TEST_F(ScreenTest, TheBankEndsAtTile4) {
    EXPECT_EQ(CScreen::getImage(117), nullptr);
    EXPECT_EQ(CScreen::getImage(-1), nullptr);
    EXPECT_EQ(CScreen::getImage(116), &kImageBank[116]);
    CScreen& screen = CScreen::instance();
    screen.loadTileImages();
    EXPECT_EQ(screen.tileImage[4], &kImageBank[116]);
    EXPECT_EQ(screen.tileImage[3], &kImageBank[115]);
    EXPECT_EQ(screen.tileImage[1], &kImageBank[54]);
    EXPECT_EQ(screen.tileImage[0], nullptr);
}

TEST_F(ScreenTest, SpritesAreDrawnWhollyInsideThePlayFieldOrNotAtAll) {
    CScreen& screen = CScreen::instance();
    const SSprite sprite(0xFFFF);
    const struct {
        int32_t x, y;
        bool drawn;
    } cases[] = {{312, 0, true}, {313, 0, false}, {0, 224, true},  {0, 225, false},
                 {-1, 0, false}, {0, -1, false},  {312, 224, true}};
    for (const auto& c : cases) {
        screen.clear();
        screen.drawImage(c.x, c.y, &sprite.image);
        EXPECT_EQ(paintedPixels(), c.drawn ? 63 : 0) << c.x << ", " << c.y;
    }
    const SImage empty{8, 0, sprite.pixels};
    screen.clear();
    screen.drawImage(10, 10, &empty);
    screen.drawImage(10, 10, nullptr);
    EXPECT_EQ(paintedPixels(), 0);
}

TEST_F(ScreenTest, TheLaterSpriteWinsEveryPixelBlackOnesToo) {
    CScreen& screen = CScreen::instance();
    const SSprite first(0x1234), second(0x0F0F);
    screen.drawImage(100, 100, &first.image);
    screen.drawImage(103, 102, &second.image);
    const uint16_t* s = screen.surface();
    EXPECT_EQ(s[102 * 320 + 103], 0);  // the second sprite's black corner, over the first
    EXPECT_EQ(s[102 * 320 + 104], 0x0F0F);
    EXPECT_EQ(s[101 * 320 + 103], 0x1234);
    EXPECT_EQ(s[109 * 320 + 110], 0x0F0F);
}

TEST_F(ScreenTest, TheTitleFillsTheWholeSurface) {
    CScreen& screen = CScreen::instance();
    screen.drawImageIndex(0, 0, 4);
    EXPECT_EQ(std::memcmp(screen.surface(), kImageBank[4].pixels, kScreenPixels * 2), 0);
    screen.clear();
    screen.drawImageIndex(0, 1, 4);  // anywhere else it would leave the surface
    EXPECT_EQ(paintedPixels(), 0);
}

TEST_F(ScreenTest, TheMazeDrawsWallsOneToFourOnly) {
    CScreen& screen = CScreen::instance();
    screen.loadTileImages();
    uint8_t tiles[40 * 29] = {};
    tiles[0 * 29 + 0] = 1;    // column 0, row 0
    tiles[39 * 29 + 28] = 4;  // column 39, row 28: the bottom-right corner of the play field
    tiles[5 * 29 + 5] = 7;    // a wall drawn as nothing
    tiles[2 * 29 + 6] = 2;    // column 2, row 6: the bytes go column by column
    screen.drawMaze(tiles);
    const uint16_t* s = screen.surface();
    int wall = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            wall += (s[y * 320 + x] == kImageBank[54].pixels[y * 8 + x]) +
                    (s[(48 + y) * 320 + 16 + x] == kImageBank[55].pixels[y * 8 + x]);
    EXPECT_EQ(wall, 128);
    EXPECT_EQ(s[231 * 320 + 319], kImageBank[116].pixels[63]);
    for (int y = 40; y < 48; ++y)
        for (int x = 40; x < 48; ++x) EXPECT_EQ(s[y * 320 + x], 0);
}

}  // namespace
