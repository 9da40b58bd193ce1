#include <gtest/gtest.h>

#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "render/Screen.h"
#include "shell/GameEnd.h"
#include "state/HighScores.h"
#include "support/GameTest.h"
#include "support/TestActor.h"
#include "world/World.h"

namespace {

class GameEndTest : public CGameTest {
protected:
    void SetUp() override {
        CGameTest::SetUp();
        platformStartup(backend_);
        shot_ = new CTestActor(kKindBullet);
        shot_->owner = 1;
        CWorld::instance().add(shot_);
    }
    // Drawn frames with these buttons down, until `until` says so (at most `most`); returns
    // how many it took, and the last step's answer in `last`.
    template <class TUntil>
    int frames(ButtonMask buttons, int most, TUntil until) {
        backend_.setButtons(buttons);
        for (int i = 1; i <= most; ++i) {
            CInput::instance().poll();
            if (end_.phase() == CGameEnd::EPhase::kTable)
                end_.stepTable(table_, CScreen::instance().surface());
            else
                last_ = end_.step(score_, CScreen::instance().surface());
            if (until()) return i;
        }
        return most;
    }
    int frames(ButtonMask buttons, int count) {
        return frames(buttons, count, [] { return false; });
    }

    CHeadlessBackend backend_;
    CGameEnd end_;
    CHighScores table_;
    CTestActor* shot_ = nullptr;  // the player's last shot, still flying
    int32_t score_ = 500;
    CGameEnd::EStep last_ = CGameEnd::EStep::kGoOn;
};

constexpr ButtonMask kStart = buttonBit(kButtonStart);
constexpr ButtonMask kFire = buttonBit(kButtonA);

// Initials done while the last shot flies: the entry waits for it, to its end or at most the
// bound, and a shot that outlives the bound scores for nobody from then on. A score that does
// not make the table waits for its shots the same way, then goes to the menu without initials.
TEST_F(GameEndTest, TheEntryWaitsForTheLastShotWithinItsBound) {
    for (const bool shotEnds : {true, false}) {
        SCOPED_TRACE(shotEnds ? "the shot meets a wall" : "the shot flies on");
        shot_->owner = 1;
        shot_->dead = false;
        end_.begin(table_, "KAT");
        frames(0, CInitialsEntry::kQuietFrames);
        EXPECT_EQ(end_.phase(), CGameEnd::EPhase::kInitials);
        frames(kStart, 1);
        EXPECT_EQ(frames(0, 1), 1);
        EXPECT_EQ(last_, CGameEnd::EStep::kGoOn);
        if (shotEnds) {
            frames(0, 10);
            shot_->dead = true;
            frames(0, 1);
            EXPECT_EQ(last_, CGameEnd::EStep::kTakeEntry);
        } else {
            const auto entry = [&] { return last_ == CGameEnd::EStep::kTakeEntry; };
            EXPECT_EQ(frames(0, 1000, entry), CGameEnd::kMostShotFrames);
            EXPECT_EQ(shot_->owner, 0);
        }
        EXPECT_STREQ(end_.initials(), "KAT");
    }

    int bad = 0, surplus = 0;
    table_.parse("KAT 900 1 2025-06-01 a.bfr\n", bad, surplus);
    shot_->dead = false;
    shot_->owner = 1;
    score_ = 0;
    end_.begin(table_, "AAA");
    frames(0, 5);
    EXPECT_EQ(end_.phase(), CGameEnd::EPhase::kSettling);
    EXPECT_EQ(last_, CGameEnd::EStep::kGoOn);
    // The shot lands: its score makes the table after all, and the initials come.
    score_ = 1000;
    frames(0, 1);
    EXPECT_EQ(end_.phase(), CGameEnd::EPhase::kInitials);
    end_.end();
    score_ = 0;
    end_.begin(table_, "AAA");
    shot_->dead = true;
    frames(0, 1);
    EXPECT_EQ(last_, CGameEnd::EStep::kNoEntry);
    EXPECT_EQ(end_.phase(), CGameEnd::EPhase::kMenu);
}

// After the entry the table shows until a button is pressed and let go of, or for its time
// (a button then down is let go of first): the menu that follows begins with nothing held.
TEST_F(GameEndTest, TheTableShowsUntilAPressIsLetGoOfOrItsTimeIsUp) {
    const auto menu = [&] { return end_.phase() == CGameEnd::EPhase::kMenu; };
    end_.showTable(0);
    EXPECT_EQ(frames(0, 10, menu), 10);
    EXPECT_EQ(frames(kFire, 50, menu), 50);
    EXPECT_EQ(frames(0, 1, menu), 1);

    end_.showTable(0);
    EXPECT_EQ(frames(0, 1000, menu), CGameEnd::kTableFrames);
    end_.showTable(0);
    frames(0, CGameEnd::kTableFrames - 1);
    EXPECT_EQ(frames(kFire, 20, menu), 20);
    EXPECT_EQ(frames(0, 1, menu), 1);
}

}  // namespace
