#pragma once
// The one-line score panel under the play field, drawn from the numbers it is given (the player
// fills them in: CPlayer::drawScorePanel). Numbers that need the player's attention flash: the
// score when the next extra life is less than 2,000 points away (and this level can still give
// one), the lives and the shields when one is left, the disks when one more completes the level.

#include <cstdint>

struct SScorePanel {
    int32_t score;
    int32_t lives;
    int32_t shields;
    int32_t level;        // as shown: from 1
    int32_t disks;        // carried
    bool extraLifeGiven;  // this level has given its extra life
};

// Draws the panel on the surface and steps the flash.
void drawScorePanel(const SScorePanel& panel, uint16_t* surface);
// Back to the start of the flash cycle (tests only).
void resetScorePanelFlash();
// The flash runs on from one game to the next: a recorded game starts from where it stood.
struct SScorePanelFlash {
    int32_t level;
    int32_t step;
};
SScorePanelFlash scorePanelFlash();
void setScorePanelFlash(const SScorePanelFlash& flash);
