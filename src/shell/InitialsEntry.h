#pragma once
// Three initials for a score that makes the high-score table, entered at GAME OVER where the
// game-over menu goes, under the GAME OVER letters: the stick's up and down pick the letter, right
// or fire go on to the next (past the last, the entry is done), left goes back, and START ends
// it. Buttons still held from the play when it comes up do nothing until they are let go of; so
// does the one that ends it, so that the game-over menu that follows sees nothing held.

#include <cstdint>

class CInitialsEntry {
public:
    void begin(int32_t score, const char initials[4]);
    bool active() const { return active_; }
    // One drawn frame: reads the buttons and draws the entry. True once it is over and every
    // button is up again.
    bool step(uint16_t* surface);
    const char* initials() const { return letters_; }
    int32_t score() const { return score_; }
    // Over at once, the initials as they stand (the run is leaving).
    void end() { active_ = false; }

private:
    void draw(uint16_t* surface) const;

    bool active_ = false;
    bool done_ = false;         // ended; waits for the buttons to be let go of
    bool waitRelease_ = false;  // buttons held from the play
    char letters_[4] = "AAA";
    int32_t position_ = 0;
    int32_t score_ = 0;
    uint8_t held_ = 0;    // the entry's buttons at the last frame
    int32_t repeat_ = 0;  // frames up or down has been held
    int32_t pulse_ = 31;  // brightness of the letter being chosen
    int32_t pulseStep_ = -1;
};
