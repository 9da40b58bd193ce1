#pragma once
// The score panel is drawn by the player (CPlayer::drawScorePanel); its flash is shared state.

#include <cstdint>

// Back to the start of the flash cycle (tests only).
void resetScorePanelFlash();
