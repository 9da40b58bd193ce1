#pragma once
// Three initials for a score that makes the high-score table, entered at GAME OVER where the
// game-over menu goes, under the GAME OVER letters: the stick's up and down pick the letter, right
// or fire go on to the next (past the last, the entry is done), left goes back, and START ends
// it. As in an arcade, buttons mashed through the last death type nothing: the entry lets a
// moment pass before it takes any button, and then takes a button only once it has been seen up
// since. The one that ends it is let go of before the entry is over, so that what follows sees
// nothing held. The caption shows the score as the panel does, while the last shots still land.

#include <cstdint>

class CInitialsEntry {
public:
    // Drawn frames at the start in which no button counts.
    static constexpr int32_t kQuietFrames = 60;

    void begin(int32_t score, const char initials[4]);
    bool active() const { return active_; }
    // One drawn frame: reads the buttons and draws the entry with the score as it stands. True
    // once it is over and every button is up again; it is then shown as done until end().
    bool step(int32_t score, uint16_t* surface);
    const char* initials() const { return letters_; }
    int32_t score() const { return score_; }
    // Over, the initials as they stand.
    void end() { active_ = false; }

private:
    void draw(uint16_t* surface) const;

    bool active_ = false;
    bool done_ = false;  // ended; waits for the buttons to be let go of
    bool over_ = false;  // done, and every button was up
    char letters_[4] = "AAA";
    int32_t position_ = 0;
    int32_t score_ = 0;
    int32_t quiet_ = 0;   // frames still to pass before a button counts
    uint8_t held_ = 0;    // the entry's buttons at the last frame
    uint8_t armed_ = 0;   // buttons seen up since the quiet moment: their next press counts
    int32_t repeat_ = 0;  // frames up or down has been held
    int32_t pulse_ = 31;  // brightness of the letter being chosen
    int32_t pulseStep_ = -1;
};
