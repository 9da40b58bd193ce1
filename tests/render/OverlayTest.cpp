#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "render/Overlay.h"

namespace {

TEST(Overlay, ShowsTheVolumeForASecondAfterItChangesOnACopyOfThePicture) {
    static COverlay overlay;
    std::vector<uint16_t> picture(kScreenPixels, 0x1234);
    const std::vector<uint16_t> original = picture;
    overlay.volumeIs(128, 5000);  // the first look is no change
    EXPECT_EQ(overlay.compose(picture.data(), 5000), picture.data());
    overlay.volumeIs(127, 6000);
    const uint16_t* shown = overlay.compose(picture.data(), 6999);
    ASSERT_NE(shown, picture.data());
    EXPECT_EQ(picture, original);  // the game's picture is left as it was
    EXPECT_NE(std::memcmp(shown, picture.data(), kScreenPixels * 2), 0);
    // The bar's lit part follows the volume: two steps to a pixel.
    EXPECT_EQ(shown[24 * kScreenWidth + 96 + 60], 0x87F0);
    EXPECT_EQ(shown[24 * kScreenWidth + 96 + 66], 0x8410);
    EXPECT_EQ(overlay.compose(picture.data(), 7000), picture.data());
    // A note, across the millisecond clock's wrap.
    static COverlay later;
    later.note("SCREENSHOT SAVED", 0xFFFFFF00u);
    EXPECT_NE(later.compose(picture.data(), 0x00000100u), picture.data());
    EXPECT_EQ(later.compose(picture.data(), 0x00000400u), picture.data());
}

}  // namespace
