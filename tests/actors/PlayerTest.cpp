#include <gtest/gtest.h>

#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "render/ScorePanel.h"
#include "render/Screen.h"
#include "support/GameTest.h"
#include "support/Held.h"
#include "support/Maze.h"
#include "support/Place.h"
#include "support/TestActor.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

class PlayerTest : public CPlayTest {
protected:
    void SetUp() override {
        CPlayTest::SetUp();
        player_ = CPlayer::instance(1);
    }
    CPlayer& player() { return *player_; }

    // Where one steering step takes a player standing on tile (10, 10) facing `dir`.
    int32_t stepFrom(int32_t dir, std::initializer_list<InputFlag> flags) {
        player().x = 10 * 64;
        player().y = 10 * 64;
        player().dir = dir;
        hold(flags);
        player().steer();
        return player().dir;
    }

private:
    CPlayer* player_ = nullptr;
};

using namespace held;

TEST_F(PlayerTest, DiagonalsTryTheirTwoDirectionsInTheTablesOrder) {
    // In an open maze the first direction tried is the one taken.
    EXPECT_EQ(stepFrom(2, {kRight, kDown}), 3);  // going right: down first
    EXPECT_EQ(stepFrom(3, {kRight, kDown}), 2);  // going down: right first
    EXPECT_EQ(stepFrom(2, {kDownRight}), 3);     // the keypad diagonal counts the same
    EXPECT_EQ(stepFrom(1, {kUpLeft}), 0);        // going up: left first
    EXPECT_EQ(stepFrom(2, {kUpLeft}), 1);
    EXPECT_EQ(stepFrom(2, {kUpRight}), 1);
    EXPECT_EQ(stepFrom(0, {kUpRight}), 2);
    EXPECT_EQ(stepFrom(0, {kDownLeft}), 3);
    EXPECT_EQ(stepFrom(2, {kDownLeft}), 0);
    // With an orthogonal request as well, that request decides.
    EXPECT_EQ(stepFrom(1, {kLeft, kUpLeft}), 0);
    EXPECT_EQ(stepFrom(1, {kUp, kUpRight}), 1);
    EXPECT_EQ(stepFrom(1, {kRight, kUpRight}), 2);
    EXPECT_EQ(stepFrom(0, {kLeft, kDownLeft}), 0);
    EXPECT_EQ(stepFrom(2, {kRight, kDownRight}), 2);
    // Only the first orthogonal pair counts: up+right wins over right+down.
    EXPECT_EQ(stepFrom(3, {kUp, kRight, kDown}), 2);
    // Two diagonals: the later one rewrites what the earlier one chose.
    EXPECT_EQ(stepFrom(2, {kUpLeft, kDownRight}), 3);
    // Plain requests in priority order right, left, down, up.
    EXPECT_EQ(stepFrom(1, {kLeft, kRight}), 2);
    EXPECT_EQ(stepFrom(1, {kUp, kDown}), 3);
    EXPECT_EQ(stepFrom(1, {}), 1);
    EXPECT_EQ(player().x, 640);  // nothing held: no step
}

TEST_F(PlayerTest, ABlockedWishFallsBackToTheOtherDirectionOrKeepsRunning) {
    // A wall below (10, 11): down-right going right tries down, then right; going up, the same
    // two, and right it goes rather than on up.
    loadTestMaze({"", "", "", "", "", "", "", "", "", "", "", "          #"});
    EXPECT_EQ(stepFrom(2, {kDownRight}), 2);
    EXPECT_EQ(player().x, 640 + 3);
    EXPECT_EQ(stepFrom(1, {kDownRight}), 2);
    EXPECT_EQ(player().x, 640 + 3);
    // Only down held and blocked: keeps running right and takes the turn later.
    EXPECT_EQ(stepFrom(2, {kDown}), 2);
    EXPECT_EQ(player().x, 640 + 3);
    // Only the reverse of the heading held, and blocked: no step along the heading.
    loadTestMaze({"", "", "", "", "", "", "", "", "", "", "         #"});
    EXPECT_EQ(stepFrom(2, {kLeft}), 2);
    EXPECT_EQ(player().x, 640);
}

TEST_F(PlayerTest, CornerSlideFindsTheOpenColumn) {
    // Row 4 is wall except column 1: a player straddling columns 1 and 2 on row 5, pushing up,
    // turns left, slides onto column 1, then goes up.
    std::string wallRow(40, '#');
    wallRow[1] = '.';
    loadTestMaze({"", "", "", "", wallRow});
    player().x = 64 + 24;
    player().y = 5 * 64;
    player().dir = 1;
    player().speed = 3;
    hold({kUp});
    player().steer();
    EXPECT_EQ(player().dir, 0);
    EXPECT_EQ(player().x, 64 + 24);
    for (int i = 0; i < 6; ++i) player().steer();
    EXPECT_EQ(player().x, 70);  // 88 - 6 * 3: pixel 8, on column 1 (sub-pixels do not count)
    EXPECT_EQ(player().dir, 0);
    player().steer();
    EXPECT_EQ(player().dir, 1);
    EXPECT_EQ(player().y, 5 * 64 - 3);

    // Running right between columns 1 and 2 under the same row: up is not open for both, so it
    // runs on to column 2 and tests there, where the wall is.
    player().x = 64 + 24;
    player().y = 5 * 64;
    player().dir = 2;
    for (int i = 0; i < 20; ++i) player().steer();
    EXPECT_EQ(player().y, 5 * 64);
    EXPECT_GT(player().x, 128);
}

// Blocked while straddling two rows (running horizontally) or two columns (vertically), the
// player turns toward whichever of the two tiles ahead is open, the upper or left one first.
TEST_F(PlayerTest, CornerSlideTurnsTowardTheOpenHalfInBothAxesAndBothWays) {
    const struct {
        int32_t dir;
        std::initializer_list<std::pair<int, int>> open;  // of the two tiles ahead
        int32_t dirAfter;
    } cases[] = {
        // clang-format off
        {0, {{9, 10}}, 1},  {0, {{9, 11}}, 3},  {2, {{11, 10}}, 1}, {2, {{11, 11}}, 3},
        {1, {{10, 9}}, 0},  {1, {{11, 9}}, 2},  {3, {{10, 11}}, 0}, {3, {{11, 11}}, 2},
        {2, {{11, 10}, {11, 11}}, 1}, {3, {{10, 11}, {11, 11}}, 0}, {0, {}, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        const bool horizontal = c.dir == 0 || c.dir == 2;
        loadTestMaze();
        CLevel& level = CLevel::instance();
        for (int i = 0; i < 2; ++i)  // wall on both tiles ahead, then the open ones
            if (horizontal)
                level.tiles[10 + c.dir - 1][10 + i] = 1;
            else
                level.tiles[10 + i][10 + c.dir - 2] = 1;
        for (const auto& [column, row] : c.open) level.tiles[column][row] = 0;
        player().x = 10 * 64 + (horizontal ? 0 : 24);
        player().y = 10 * 64 + (horizontal ? 24 : 0);
        player().dir = c.dir;
        player().cornerSlide();
        EXPECT_EQ(player().dir, c.dirAfter) << "heading " << c.dir;
    }
}

TEST_F(PlayerTest, BetweenColumnsThePlayerCanAlwaysGoOnOrBack) {
    loadTestMaze({"", "", "", "", "", "", "", "", "", "",
                  "         #.#"});  // walls left and right of tile (10, 10)
    player().x = 640 + 8;            // one pixel into the tile: not on the grid
    player().y = 640;
    EXPECT_TRUE(player().canStep(0));
    EXPECT_TRUE(player().canStep(2));
    player().x = 640;
    EXPECT_FALSE(player().canStep(0));
    EXPECT_FALSE(player().canStep(2));
    EXPECT_TRUE(player().canStep(1));
    EXPECT_FALSE(player().canStep(CPlayer::kNoDirection));
    // Sub-pixel bits do not take the player off the grid.
    player().x = 640 + 7;
    EXPECT_FALSE(player().canStep(2));
}

TEST_F(PlayerTest, TouchesByKindWithAndWithoutTheShield) {
    // What each thing that touches the player does to it. The shield keeps off everything but
    // the disk; monsters hurt the player from their own side of the touch.
    struct SCase {
        int32_t kind;
        int32_t shield;
        int32_t hitPoints, frozen;
        uint32_t disks;
        bool teleported;
    } const cases[] = {
        {kKindDisk, 0, 4, 0, 1, false},        {kKindDisk, 50, 4, 0, 1, false},
        {kKindBullet, 0, 2, 0, 0, false},      {kKindBullet, 50, 3, 0, 0, false},
        {kKindRocket, 0, 2, 0, 0, false},      {kKindSpitBullet, 0, 2, 90, 0, false},
        {kKindSpitBullet, 50, 3, 0, 0, false}, {kKindTeleBullet, 0, 3, 0, 0, true},
        {kKindTeleBullet, 50, 3, 0, 0, false}, {kKindSoldier, 0, 3, 0, 0, false},
    };
    for (const SCase& c : cases) {
        CWorld& world = CWorld::instance();
        world.clear(false);
        // Straddling tiles 10 and 11, filed there and where it was a moment ago (9 and 10).
        present(&player(), 10 * 64 + 8, 10 * 64);
        player().prevX = 10 * 64 - 8;
        world.fileInCells(&player(), player().prevX, player().prevY, false);
        player().hitPoints = 3;
        player().shieldTimer = c.shield;
        player().frozenTimer = 0;
        player().locatorTimer = 0;
        player().disks = 0;
        const std::unique_ptr<CGameObject> other = toucher(c.kind, 10 * 64 + 16, 10 * 64);
        player().onTouch(*other);
        const std::string what =
            "kind " + std::to_string(c.kind) + " shield " + std::to_string(c.shield);
        EXPECT_EQ(player().hitPoints, c.hitPoints) << what;
        EXPECT_EQ(player().frozenTimer, c.frozen) << what;
        EXPECT_EQ(player().disks, c.disks) << what;
        EXPECT_EQ(player().spawning, c.teleported) << what;
        EXPECT_EQ(filedAnywhere(&player()), !c.teleported) << what;
        if (c.teleported) {
            EXPECT_EQ(player().shieldTimer, 60) << what;
            EXPECT_EQ(player().locatorTimer, 360) << what;
            EXPECT_EQ(player().burstColours[0], 0xFBE7) << what;
        }
    }
}

TEST_F(PlayerTest, WhateverThePlayerWalksIntoStopsIt) {
    for (const int32_t kind : {kKindDisk, kKindSoldier, kKindBullet, kKindEgg}) {
        CWorld::instance().clear(false);
        present(&player(), 10 * 64 + 5, 10 * 64);  // a step to the right reaches pixel 81
        player().shieldTimer = 0;
        player().disks = 0;
        CGameObject* other =
            kind == kKindDisk ? static_cast<CGameObject*>(new CBaseSpar) : new CTestActor(kind);
        present(other, 11 * 64, 10 * 64);
        hold({kRight});
        player().update();
        EXPECT_EQ(player().x, 10 * 64 + 5) << "kind " << kind;
        EXPECT_EQ(player().disks, kind == kKindDisk ? 1u : 0u) << "kind " << kind;
        EXPECT_EQ(other->dead, kind == kKindDisk) << "kind " << kind;
    }
}

TEST_F(PlayerTest, ExtraLivesComeEvery20000PointsOncePerLevel) {
    CLevel& level = CLevel::instance();
    player().score = 19990;
    player().addScore(10);
    EXPECT_EQ(player().lives, 4);
    EXPECT_TRUE(level.extraLifeGiven);
    player().score = 39990;
    player().addScore(10);
    EXPECT_EQ(player().lives, 4);
    level.extraLifeGiven = false;
    player().lives = 9;
    player().score = 59990;
    player().addScore(10);
    EXPECT_EQ(player().lives, 9);
    EXPECT_EQ(player().score, 60000);
    player().lives = 8;
    player().score = 79999;
    player().addScore(1);
    EXPECT_EQ(player().lives, 9);
}

TEST_F(PlayerTest, ResetKeepsPowerUpsForALevelAndRestoresThemForALife) {
    player().hitPoints = 7;
    player().speed = 5;
    player().fireDelay = 14;
    player().disks = 4;
    player().shieldTimer = 1000;
    player().x = 999;
    player().reset(false);
    EXPECT_EQ(player().hitPoints, 7);
    EXPECT_EQ(player().speed, 5);
    EXPECT_EQ(player().fireDelay, 14);
    EXPECT_EQ(player().disks, 0u);
    EXPECT_EQ(player().shieldTimer, 1000);  // a longer shield stays
    EXPECT_EQ(player().x, 64);
    EXPECT_EQ(player().dir, 2);
    EXPECT_TRUE(player().spawning);
    player().hitPoints = 1;
    player().shieldTimer = 10;
    player().reset(false);
    EXPECT_EQ(player().hitPoints, 3);
    EXPECT_EQ(player().shieldTimer, 360);
    player().hitPoints = 7;
    player().dead = true;
    player().reset(true);
    EXPECT_EQ(player().hitPoints, 3);
    EXPECT_EQ(player().speed, 3);
    EXPECT_EQ(player().fireDelay, 20);
    EXPECT_FALSE(player().dead);
}

TEST_F(PlayerTest, AFrozenPlayerCoolsDownButKeepsItsShield) {
    player().spawning = false;
    player().appearDelay = 0;
    player().frozenTimer = 2;
    player().fireCooldown = 10;
    player().shieldTimer = 50;
    hold({kRight, &CInput::buttonA});
    player().update();
    EXPECT_EQ(player().fireCooldown, 9);
    EXPECT_EQ(player().shieldTimer, 50);
    EXPECT_EQ(player().x, 64);
    EXPECT_EQ(player().frozenTimer, 1);
}

TEST_F(PlayerTest, TheLocatorRunsWhileThePlayerAppears) {
    player().spawning = false;
    player().appearDelay = 100;
    player().locatorTimer = 360;
    player().locatorAngle = 0;
    for (int i = 0; i < 12; ++i) player().update();
    EXPECT_EQ(player().locatorTimer, 348);
    EXPECT_EQ(player().appearDelay, 88);
    // Frame counter 0 is a multiple of 3: the angle turns on every second update.
    EXPECT_EQ(player().locatorAngle, 6);
    // X raises the timer to 240 but never lowers it.
    hold({&CInput::buttonX});
    player().appearDelay = 0;
    player().locatorTimer = 20;
    player().update();
    EXPECT_EQ(player().locatorTimer, 240);
    player().locatorTimer = 360;
    player().update();
    EXPECT_EQ(player().locatorTimer, 359);
}

TEST_F(PlayerTest, LocatorTableUsesTheHandheldsPi) {
    CPlayer::buildLocatorTable();
    // Angle 0: the shape itself, in 8.8.
    EXPECT_EQ(CPlayer::locatorTable[0][0][0], 0);
    EXPECT_EQ(CPlayer::locatorTable[0][0][1], 2048);
    EXPECT_EQ(CPlayer::locatorTable[0][3][0], 1024);
    EXPECT_EQ(CPlayer::locatorTable[0][3][1], 7168);
    // Angle 15: theta = 1.570795, a hair short of a right angle. The tip (0, 2048) turns to
    // x = -2048 sin theta = -2047.99999999..., truncated to -2047; y = 2048 cos theta = 0.0027.
    EXPECT_EQ(CPlayer::locatorTable[15][0][0], -2047);
    EXPECT_EQ(CPlayer::locatorTable[15][0][1], 0);
    // Angle 30: theta = 3.14159. Point (8, 20) = (2048, 5120): x = 2048 cos - 5120 sin =
    // -2048.0136 -> -2048; y = 5120 cos + 2048 sin = -5119.9946 -> -5119.
    EXPECT_EQ(CPlayer::locatorTable[30][1][0], -2048);
    EXPECT_EQ(CPlayer::locatorTable[30][1][1], -5119);
}

TEST_F(PlayerTest, LocatorFadesAndPulses) {
    CPlayer::buildLocatorTable();
    uint16_t* surface = CScreen::instance().surface();
    player().x = 20 * 64;
    player().y = 14 * 64;
    player().locatorTimer = 0;
    player().drawLocator();
    EXPECT_EQ(CPlayer::locatorScale, 128);  // nothing drawn, no pulse
    player().locatorTimer = 20;
    player().drawLocator();
    EXPECT_EQ(CPlayer::locatorScale, 136);  // two arrows, one step each
    // At angle 0 the first arrow's tip is straight below the centre (164, 116), 8 * 132 / 256 =
    // 4 pixels away; its edge to the next point starts there in the grey of level 20.
    EXPECT_EQ(surface[120 * 320 + 164], 20 << 11 | 20 << 6 | 20);
}

TEST_F(PlayerTest, ScorePanelFlashesFromOneOverEighteenThousand) {
    uint16_t* surface = CScreen::instance().surface();
    auto brightestScorePixel = [&](int32_t score) {
        CScreen::instance().clear();
        resetScorePanelFlash();
        player().score = score;
        player().drawScorePanel();  // the flash is at level 1: nearly black
        uint16_t brightest = 0;
        for (int y = 232; y < 240; ++y)
            for (int x = 36; x < 84; ++x) brightest = std::max(brightest, surface[y * 320 + x]);
        return brightest;
    };
    EXPECT_EQ(brightestScorePixel(18000), 0xFFFF);
    EXPECT_EQ(brightestScorePixel(18001), 0x0841);
    EXPECT_EQ(brightestScorePixel(38001), 0x0841);
    CLevel::instance().extraLifeGiven = true;
    EXPECT_EQ(brightestScorePixel(18001), 0xFFFF);
}

}  // namespace
