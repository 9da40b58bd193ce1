#pragma once
// The render surface everything is composed in, the frame period of the paced present, the four
// maze tile images, and the image bank. The surface is cleared at the start of every drawn frame
// and painted back to front: maze, actors, effects, score panel, dialogs.

#include <cstdint>

#include "platform/Platform.h"
#include "render/Image.h"

// The play field is the top 232 rows; the score panel the 8 rows below it.
constexpr int kPlayFieldHeight = 232;

class CScreen {
public:
    static CScreen& instance();
    static void resetInstance();

    // The bank image at an index, or null past the last one.
    static const SImage* getImage(int index);

    void loadTileImages();
    // Draws an image opaquely with its top-left corner at (x, y); an image not wholly inside the
    // play field is not drawn at all.
    void drawImage(int32_t x, int32_t y, const SImage* image);
    void drawImageIndex(int32_t x, int32_t y, int index) { drawImage(x, y, getImage(index)); }
    void clear() { fastClear(pixels_); }
    // The maze: 40 x 29 tile bytes, column-major (column * 29 + row).
    void drawMaze(const uint8_t* tiles);
    // Shows the surface, framePeriod after the previous present; the period runs from the start
    // of one hand-over to the next. When the display takes longer than that, the pictures it
    // cannot take are left out.
    void present(bool waitForVsync);
    void setFramePeriod(uint32_t units) { framePeriod = units; }
    uint16_t* surface() const { return pixels_; }

    const SImage* tileImage[5]{};  // by tile value 1..4; 0 is floor
    uint32_t framePeriod = 0;      // in 0.1 ms

private:
    CScreen();

    uint16_t* pixels_;
    bool presentedOnce_ = false;
    uint32_t lastPresentTime_ = 0;  // when the last picture was due, in counter ticks
    uint32_t displayTicks_ = 0;     // what the display took for the last picture handed over
};
