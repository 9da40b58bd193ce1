#include "render/ScorePanel.h"

#include <cstdio>

#include "render/Font.h"
#include "render/Screen.h"

namespace {

// The flash, shared by every flashing number and never reset: a grey level running
// 1, 2, ..., 31, 30, ..., 0, 1, ... one step per drawn frame.
int32_t gFlashLevel = 0;
int32_t gFlashStep = 1;

constexpr uint16_t kWhite = 0xFFFF;

}  // namespace

void drawScorePanel(const SScorePanel& panel, uint16_t* surface) {
    const int32_t v = gFlashLevel + gFlashStep;
    if (static_cast<uint32_t>(v - 1) > 29) gFlashStep = -gFlashStep;
    gFlashLevel = v;
    const uint16_t flash = static_cast<uint16_t>(v << 11 | v << 6 | v);

    constexpr int32_t top = kPlayFieldHeight;
    char text[16];
    auto number = [&](const char* format, int32_t value, int32_t left, bool flashing) {
        std::snprintf(text, sizeof text, format, value);
        drawText(text, left, top, flashing ? flash : kWhite, surface, 256);
    };
    drawText("SCORE", 0, top, 0x7FEF, surface, 256);
    number("%08d", panel.score, 36, panel.score % 20000 > 18000 && !panel.extraLifeGiven);
    drawText("LIVES", 90, top, 0xFDEF, surface, 256);
    number("%d", panel.lives, 126, panel.lives == 1);
    drawText("SHIELDS", 164, top, 0x7DFF, surface, 256);
    number("%d", panel.shields, 212, panel.shields == 1);
    drawText("LEVEL", 224, top, 0xFFEF, surface, 256);
    number("%02d", panel.level, 260, false);
    drawText("DISKS", 278, top, 0xFDFF, surface, 256);
    number("%d", panel.disks, 314, panel.disks == 4);
}

void resetScorePanelFlash() {
    gFlashLevel = 0;
    gFlashStep = 1;
}

SScorePanelFlash scorePanelFlash() {
    return {gFlashLevel, gFlashStep};
}

void setScorePanelFlash(const SScorePanelFlash& flash) {
    gFlashLevel = flash.level;
    gFlashStep = flash.step;
}
