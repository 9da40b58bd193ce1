#pragma once
// The end of a player's game, as an arcade has it. GAME OVER comes while the player's last shots
// still fly; they may still score, and the panel counts them. A score that makes the high-score
// table (the table as the game found it) takes initials, and the entry is taken with the score
// the panel ends on: once the initials are done and no shot of the player's is left to score.
// The table then shows with the new entry flashing, for a few seconds or until a button is
// pressed and let go of, and then the game-over menu. A score that does not make the table goes
// to the menu as soon as it can no longer change.

#include <cstdint>

#include "shell/InitialsEntry.h"

class CHighScores;

class CGameEnd {
public:
    // Drawn frames the player's shots are waited for at most, once nothing else is waited for
    // (no initials, or initials done). A shot that has met nothing by then (it flies round and
    // round along a row without a wall) flies on, but scores for nobody.
    static constexpr int32_t kMostShotFrames = 120;
    // Drawn frames the table shows after an entry: five seconds.
    static constexpr int32_t kTableFrames = 385;

    enum class EPhase : uint8_t {
        kMenu,  // the game-over menu's turn (and the only one of a game whose end is not judged)
        kSettling,  // GAME OVER alone while the last shots may still score
        kInitials,
        kTable,
    };
    enum class EStep : uint8_t { kGoOn, kTakeEntry, kNoEntry };

    // GAME OVER has come to a game whose score is judged against `table`; the initials begin
    // as `offered`.
    void begin(const CHighScores& table, const char offered[4]);
    EPhase phase() const { return phase_; }
    // One drawn frame of the settling and the initials, under the GAME OVER letters. kTakeEntry
    // once the initials are done and the score can no longer change; kNoEntry once the score
    // can no longer change and does not make the table (the menu's turn from then on).
    EStep step(int32_t score, uint16_t* surface);
    const char* initials() const { return initials_.initials(); }
    // The entry went into `scores` at `rank`: the table shows next.
    void showTable(int32_t rank);
    // One drawn frame of the table, in the place of the GAME OVER letters; the menu's turn
    // comes after it.
    void stepTable(const CHighScores& scores, uint16_t* surface);
    // Back to the menu's turn, whatever was going on (a new game, or the run leaving).
    void end() {
        initials_.end();
        phase_ = EPhase::kMenu;
    }

private:
    EPhase phase_ = EPhase::kMenu;
    const CHighScores* table_ = nullptr;
    char offered_[4] = "AAA";
    CInitialsEntry initials_;
    bool settled_ = false;     // no shot of the player's can score any more
    int32_t shotFrames_ = 0;   // drawn frames the shots were waited for
    int32_t rank_ = -1;        // the new entry's, while the table shows
    int32_t tableFrames_ = 0;  // left to show; 0 once a button was pressed
};
