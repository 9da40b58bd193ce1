#pragma once
// The high scores' page, reached from the title with SELECT: the table over the title picture.
// Up and down choose an entry, fire plays its replay in the game's own picture with a small
// REPLAY mark in the corner, and START goes back (from the replay to the page, from the page to
// the title). A replay that does not play here says so in one line on the page.

#include <cstddef>
#include <cstdint>

class CScoresPage {
public:
    // Runs the page until the player goes back to the title (true) or the run ends (false).
    bool run();

private:
    void draw(uint16_t* surface) const;
    // Plays an entry's replay until it ends, goes otherwise than recorded, or START is let go
    // of; then everything the replay changed is as the player left it.
    void watch(size_t index);

    int32_t cursor_ = 0;
    int32_t pulse_ = 31;
    int32_t pulseStep_ = -1;
    uint8_t pending_ = 0;         // the button pressed; it acts when let go of
    const char* line_ = nullptr;  // why the last replay did not play
};
