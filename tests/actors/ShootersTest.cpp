#include <gtest/gtest.h>

#include "actors/BaseBullet.h"
#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "actors/Shooters.h"
#include "actors/SpitBullet.h"
#include "actors/TeleBullet.h"
#include "state/GameReport.h"
#include "support/GameTest.h"
#include "support/Maze.h"
#include "support/Place.h"
#include "support/TestActor.h"
#include "world/World.h"

namespace {

class ShootersTest : public CPlayTest {
protected:
    CTestActor* target(int32_t tx, int32_t ty, int32_t kind = kKindPlayer) {
        return present(new CTestActor(kind), tx * 64, ty * 64);
    }
    // The shots in the world, in the order fired.
    std::vector<const CGameObject*> shots() const {
        std::vector<const CGameObject*> found;
        for (const CGameObject* a : CWorld::instance().objects)
            if (a->kind >= kKindBullet && a->kind <= kKindRocket) found.push_back(a);
        return found;
    }
};

TEST_F(ShootersTest, TheFirstLookThatSeesAnEnemyDecides) {
    CMSoldier* soldier = presentMonster<CMSoldier>(kKindSoldier, 10 * 64, 10 * 64, 2);
    target(14, 10);             // ahead
    target(6, 10, kKindDummy);  // behind
    EXPECT_EQ(soldier->think(), 0);
    ASSERT_EQ(shots().size(), 1u);
    EXPECT_EQ(shots()[0]->dir, 2);
    EXPECT_EQ(shots()[0]->x, 11 * 64 + 2);  // one tile ahead, and its first step made at once
    EXPECT_EQ(soldier->fireCooldown, 240);
    EXPECT_EQ(CGameReport::instance().samples[4], 1u);
    EXPECT_EQ(CGameReport::instance().shotsFired[kKindSoldier], 1u);
}

TEST_F(ShootersTest, WhatStandsBetweenHidesTheEnemy) {
    struct SCase {
        int32_t blockerKind;  // -1: a wall
        bool fires;
    } const cases[] = {
        {kKindRocketeer, false}, {kKindDisk, false}, {-1, false}, {kKindBullet, true}};
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        loadTestMaze(c.blockerKind == -1
                         ? std::initializer_list<std::string>{"", "", "", "", "", "", "", "", "",
                                                              "", "            #"}
                         : std::initializer_list<std::string>{});
        CMSoldier* soldier = presentMonster<CMSoldier>(kKindSoldier, 10 * 64, 10 * 64, 2);
        if (c.blockerKind != -1) target(12, 10, c.blockerKind);
        target(14, 10);
        soldier->think();
        EXPECT_EQ(CGameReport::instance().shotsFired[kKindSoldier] != 0, c.fires)
            << "blocker " << c.blockerKind;
        CGameReport::resetInstance();
    }
}

TEST_F(ShootersTest, SideLooksOnlyAtTileCorners) {
    for (const int32_t x : {10 * 64, 10 * 64 + 8}) {
        CWorld::instance().clear(true);
        CMSoldier* soldier = presentMonster<CMSoldier>(kKindSoldier, x, 10 * 64, 2);
        target(10, 13);  // below: the right-hand side of a soldier going right
        soldier->think();
        EXPECT_EQ(shots().size(), x == 10 * 64 ? 1u : 0u) << "x " << x;
    }
}

TEST_F(ShootersTest, TheRocketeerHoldsItsFireWithinTwoTiles) {
    for (const int32_t gap : {128, 136}) {
        CWorld::instance().clear(true);
        CMRocketeer* rocketeer = presentMonster<CMRocketeer>(kKindRocketeer, 10 * 64, 10 * 64, 2);
        present(new CTestActor(kKindPlayer), 10 * 64 + gap, 10 * 64);
        rocketeer->think();
        EXPECT_EQ(shots().size(), gap > 128 ? 1u : 0u) << "gap " << gap;
    }
}

TEST_F(ShootersTest, ProjectilesAndTheirSpeeds) {
    struct SCase {
        int32_t kind;
        int32_t shooterSpeed;
        int32_t shotKind;
        int32_t shotSpeed;
        int32_t sample;  // -1: silent
    } const cases[] = {
        {kKindSoldier, 1, kKindBullet, 2, 4},    {kKindJoust, 3, kKindBullet, 7, 4},
        {kKindLBug, 1, kKindBullet, 5, 4},       {kKindWizard, 2, kKindTeleBullet, 3, 4},
        {kKindWizard, 3, kKindTeleBullet, 4, 4}, {kKindScorp, 2, kKindSpitBullet, 5, -1},
        {kKindScorp, 3, kKindSpitBullet, 6, -1}, {kKindRocketeer, 2, kKindRocket, 8, 16},
    };
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CGameReport::resetInstance();
        CBaseMonster* m = presentMonster(c.kind, 10 * 64, 10 * 64, 2);
        m->speed = c.shooterSpeed;
        target(15, 10);
        m->think();
        ASSERT_EQ(shots().size(), 1u) << "kind " << c.kind;
        EXPECT_EQ(shots()[0]->kind, c.shotKind);
        EXPECT_EQ(shots()[0]->speed, c.shotSpeed) << "kind " << c.kind;
        EXPECT_EQ(shots()[0]->owner, 0);
        int sounds = 0;
        for (uint32_t n : CGameReport::instance().samples) sounds += static_cast<int>(n);
        EXPECT_EQ(sounds, c.sample == -1 ? 0 : 1) << "kind " << c.kind;
        if (c.sample != -1) {
            EXPECT_EQ(CGameReport::instance().samples[c.sample], 1u);
        }
    }
}

TEST_F(ShootersTest, TheBugsShellTurnsShotsFromBehindAndTheSide) {
    // The bug faces left. Offsets are pixels from the bug: where the shot touches it, and
    // where the shot was a step before.
    struct SCase {
        int32_t shotKind, shotDir, atX, atY, prevX, prevY;
        int32_t hitPoints;
        int32_t turnedDir;  // -1: not turned
    } const cases[] = {
        {kKindBullet, 0, 6, 0, 8, 0, 2, 2},     // from behind: glances off
        {kKindBullet, 3, 0, -6, 0, -8, 2, 1},   // from the side
        {kKindBullet, 0, 5, 0, 7, 0, 1, 2},     // turned, but still touching: hurt after all
        {kKindBullet, 2, -6, 0, -8, 0, 1, -1},  // head-on
        {kKindSpitBullet, 2, -6, 0, -8, 0, 1, -1}, {kKindTeleBullet, 2, -6, 0, -8, 0, 1, -1},
    };
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CGameReport::resetInstance();
        CMLBug* bug = presentMonster<CMLBug>(kKindLBug, 10 * 64, 10 * 64, 0);
        const int32_t x = 10 * 64 + c.atX * 8, y = 10 * 64 + c.atY * 8;
        CBaseBullet* shot = c.shotKind == kKindSpitBullet
                                ? static_cast<CBaseBullet*>(new CSpitBullet(x, y, c.shotDir, 8))
                            : c.shotKind == kKindTeleBullet
                                ? static_cast<CBaseBullet*>(new CTeleBullet(x, y, c.shotDir, 8))
                                : new CBaseBullet(x, y, c.shotDir, 8);
        shot->setup();
        CWorld::instance().add(shot);
        CWorld::instance().fileAt(shot, false);  // the bug walks into a shot filed where it is
        shot->prevX = 10 * 64 + c.prevX * 8;
        shot->prevY = 10 * 64 + c.prevY * 8;
        bug->onTouch(*shot);
        EXPECT_EQ(bug->hitPoints, c.hitPoints)
            << "shot kind " << c.shotKind << " dir " << c.shotDir;
        EXPECT_EQ(bug->frozenTimer, 0);
        EXPECT_FALSE(bug->spawning);
        EXPECT_EQ(CGameReport::instance().samples[19], c.turnedDir == -1 ? 0u : 1u);
        if (c.turnedDir != -1) {
            EXPECT_EQ(shot->dir, c.turnedDir);
            EXPECT_EQ(shot->x, shot->prevX);
            // Filed where it now is, and nowhere else.
            int cells = 0;
            for (const auto& column : CWorld::instance().cells)
                for (const CActorSet& cell : column) cells += cell.contains(shot);
            EXPECT_TRUE(CWorld::instance().cells[shot->x >> 6][shot->y >> 6].contains(shot));
            EXPECT_EQ(cells, ((shot->x & 0x38) ? 2 : 1) * ((shot->y & 0x38) ? 2 : 1));
        }
    }
}

TEST_F(ShootersTest, TouchingAnEnemyPutsOffTheShooterAndMonsterKillsScoreNothing) {
    CMJoust* joust = presentMonster<CMJoust>(kKindJoust, 10 * 64, 10 * 64, 2);
    CTestActor enemy(kKindPlayer, 10 * 64 + 40, 10 * 64);
    joust->onTouch(enemy);
    EXPECT_EQ(joust->fireCooldown, 40);
    // A soldier's shot kills a dummy: nobody scores.
    CWorld::instance().clear(true);
    CPlayer* player = CPlayer::instance(1);
    CMSoldier* soldier = presentMonster<CMSoldier>(kKindSoldier, 10 * 64, 10 * 64, 2);
    auto* dummy = new CMDummy;
    dummy->setup();
    present(dummy, 12 * 64, 10 * 64);
    dummy->hitPoints = 1;
    soldier->think();
    for (int i = 0; i < 80 && inWorld(dummy); ++i) runWorld(1);
    EXPECT_FALSE(inWorld(dummy));
    EXPECT_EQ(player->score, 0);
    EXPECT_EQ(CGameReport::instance().killed[kKindDummy], 1u);
    EXPECT_EQ(CGameReport::instance().killedByPlayer[kKindDummy], 0u);
}

TEST_F(ShootersTest, AShotMadeReachingIntoAWallPopsOnceAndHurtsNothing) {
    // Half a tile into (10, 10), with a wall at (12, 10): the shot a tile ahead reaches into the
    // wall, and the player pressed against the soldier (and first in the cell ahead) touches it.
    loadTestMaze({"", "", "", "", "", "", "", "", "", "", "            #"});
    CPlayer* player = present(CPlayer::instance(1), 10 * 64 + 40, 10 * 64);
    player->shieldTimer = 0;
    CMSoldier* soldier = presentMonster<CMSoldier>(kKindSoldier, 10 * 64 + 32, 10 * 64, 2);
    soldier->think();
    EXPECT_EQ(CGameReport::instance().samples[7], 1u);
    EXPECT_EQ(player->hitPoints, 3);
    ASSERT_EQ(shots().size(), 1u);
    EXPECT_TRUE(shots()[0]->dead);
}

TEST_F(ShootersTest, TheJoustRunsAfterADiskBehindIt) {
    CMJoust* joust = presentMonster<CMJoust>(kKindJoust, 10 * 64, 10 * 64, 2);
    joust->turnCooldown = 0;
    target(4, 10, kKindDisk);
    EXPECT_EQ(joust->think(), 1);
    EXPECT_EQ(joust->dir, 0);
    EXPECT_EQ(joust->turnCooldown, 0);
}

}  // namespace
