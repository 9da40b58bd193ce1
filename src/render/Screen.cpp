#include "render/Screen.h"

#include <cstring>

#include "render/ImageBank.h"

namespace {

alignas(32) uint16_t gSurface[kScreenPixels];
CScreen* gInstance = nullptr;

constexpr int kMazeColumns = 40;
constexpr int kMazeRows = 29;

}  // namespace

CScreen::CScreen() : pixels_(gSurface) {}

CScreen& CScreen::instance() {
    if (!gInstance) gInstance = new CScreen;
    return *gInstance;
}

void CScreen::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
    std::memset(gSurface, 0, sizeof gSurface);
}

const SImage* CScreen::getImage(int index) {
    // Negative indices would be a bug in the caller; they find nothing rather than memory.
    if (index < 0 || index >= kImageCount) return nullptr;
    return &kImageBank[index];
}

void CScreen::loadTileImages() {
    tileImage[1] = getImage(54);
    tileImage[2] = getImage(55);
    tileImage[3] = getImage(115);
    tileImage[4] = getImage(116);
}

void CScreen::drawImage(int32_t x, int32_t y, const SImage* image) {
    if (!image || image->height <= 0 || image->width <= 0) return;
    const int32_t w = image->width, h = image->height;
    // All or nothing, decided once, on unsigned positions: a negative position is far off.
    if (static_cast<uint32_t>(x) > static_cast<uint32_t>(kScreenWidth - w) ||
        static_cast<uint32_t>(y) > static_cast<uint32_t>(kPlayFieldHeight - h))
        return;
    // Only the full-screen title picture is taller than the play field; it is drawn at (0, 0) and
    // must still end inside the surface.
    if (y + h > kScreenHeight) return;
    uint16_t* dest = pixels_ + y * kScreenWidth + x;
    const uint16_t* src = image->pixels;
    if (w == 8) {
        // Sprites and maze tiles: a fixed-size copy the compiler can do in place.
        for (int32_t row = 0; row < h; ++row, dest += kScreenWidth, src += 8)
            std::memcpy(dest, src, 8 * sizeof(uint16_t));
        return;
    }
    for (int32_t row = 0; row < h; ++row, dest += kScreenWidth, src += w)
        std::memcpy(dest, src, static_cast<size_t>(w) * sizeof(uint16_t));
}

void CScreen::drawMaze(const uint8_t* tiles) {
    for (int r = 0; r < kMazeRows; ++r)
        for (int c = 0; c < kMazeColumns; ++c) {
            const uint8_t t = tiles[c * kMazeRows + r];
            if (t >= 1 && t <= 4) drawImage(8 * c, 8 * r, tileImage[t]);
        }
}

void CScreen::present(bool waitForVsync) {
    if (!presentedOnce_) {
        presentedOnce_ = true;
        lastPresentTime_ = timerNow();
    }
    const uint32_t e = timerElapsed(lastPresentTime_);
    if (e < framePeriod) timerWait(framePeriod - e);
    // A display slower than the period (a driver's long copy, a forced vertical sync) makes the
    // pictures after it late by up to what it took. Those are composed and counted as usual but
    // not handed over, and keep their place in time: the game runs at its own speed and the
    // display shows what it can. A picture later than that (the game itself was held up) is
    // shown, and the time lost is not made up. A virtual clock's display takes no time at all.
    const uint32_t lateTicks = e > framePeriod ? (e - framePeriod) * kTicksPerUnit : 0;
    const bool displayBehind = lateTicks > 0 && lateTicks <= displayTicks_;
    flip(pixels_, waitForVsync, !displayBehind);
    if (displayBehind) {
        lastPresentTime_ = lastHandOverStart() - lateTicks;
    } else {
        lastPresentTime_ = lastHandOverStart();
        displayTicks_ = lastHandOverTicks();
    }
}
