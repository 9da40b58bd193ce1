#include "shell/GameEnd.h"

#include <cstring>

#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/Pointer.h"
#include "render/ScoresTable.h"
#include "state/HighScores.h"
#include "world/World.h"

namespace {

// The player whose game it is, and whose shots may still score.
constexpr int32_t kPlayer = 1;
constexpr uint16_t kNewEntry = 0xFFE0;
constexpr uint16_t kNewEntryDim = 0x8400;
constexpr int32_t kFlashFrames = 10;  // the new entry's colour changes this often

bool anyButton() {
    const CInput& in = CInput::instance();
    return in.up || in.down || in.left || in.right || in.upLeft || in.upRight || in.downLeft ||
           in.downRight || in.buttonA || in.buttonX || in.start || in.select || pointerPressed();
}

}  // namespace

void CGameEnd::begin(const CHighScores& table, const char offered[4]) {
    table_ = &table;
    std::memcpy(offered_, offered, 4);
    phase_ = EPhase::kSettling;
    settled_ = false;
    shotFrames_ = 0;
}

CGameEnd::EStep CGameEnd::step(int32_t score, uint16_t* surface) {
    if (phase_ == EPhase::kSettling && table_->rankFor(score) >= 0) {
        initials_.begin(score, offered_);
        phase_ = EPhase::kInitials;
    }
    const bool done = phase_ == EPhase::kInitials && initials_.step(score, surface);
    if (!settled_) {
        // The shots are waited for only while nothing else is: a player still choosing letters
        // may see them score.
        CWorld& world = CWorld::instance();
        const bool waiting = phase_ == EPhase::kSettling || done;
        settled_ = world.countOwnedBy(kPlayer) == 0 || (waiting && ++shotFrames_ > kMostShotFrames);
        if (settled_) world.disown(kPlayer);
    }
    if (phase_ == EPhase::kInitials) return done && settled_ ? EStep::kTakeEntry : EStep::kGoOn;
    if (!settled_) return EStep::kGoOn;
    phase_ = EPhase::kMenu;
    return EStep::kNoEntry;
}

void CGameEnd::showTable(int32_t rank) {
    initials_.end();
    phase_ = rank >= 0 ? EPhase::kTable : EPhase::kMenu;
    rank_ = rank;
    tableFrames_ = kTableFrames;
}

void CGameEnd::stepTable(const CHighScores& scores, uint16_t* surface) {
    const bool lit = (tableFrames_ / kFlashFrames) % 2 == 0;
    drawScoresTable(scores, rank_, lit ? kNewEntry : kNewEntryDim, false, surface);
    // A click anywhere on the table goes on, as a button does.
    addPointerTarget(1, 12, 24, 308, kScoresTableBottom);
    if (tableFrames_ > 0) --tableFrames_;
    // A press goes on, once it is let go of here: the menu then begins with nothing held.
    if (anyButton())
        tableFrames_ = 0;
    else if (tableFrames_ == 0)
        phase_ = EPhase::kMenu;
}
