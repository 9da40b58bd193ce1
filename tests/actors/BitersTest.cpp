#include <gtest/gtest.h>

#include "actors/Biters.h"
#include "actors/Player.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "support/GameTest.h"
#include "support/Maze.h"
#include "support/Place.h"
#include "support/TestActor.h"

namespace {

class BitersTest : public CPlayTest {
protected:
    static uint32_t sample(int id) { return CGameReport::instance().samples[id]; }
};

TEST_F(BitersTest, ABiterGrowsWithEveryKillUpToItsLimits) {
    auto* biter = presentMonster<CMBiter>(kKindBiter, 10 * 64, 10 * 64, 2);
    struct SAfter {
        int32_t speed, fastSpeed, hitPoints, fireDelay, fastFireDelay;
    } const afterKill[] = {{3, 4, 4, 100, 80}, {4, 4, 5, 80, 80}, {5, 5, 6, 60, 60},
                           {6, 6, 7, 40, 40},  {7, 7, 8, 40, 40}, {8, 8, 9, 40, 40},
                           {8, 8, 10, 40, 40}};
    int kills = 0;
    for (const SAfter& a : afterKill) {
        biter->attack(*presentTarget(kKindDummy, 11 * 64, 10 * 64, 1));
        ++kills;
        EXPECT_EQ(biter->speed, a.speed) << kills << " kills";
        EXPECT_EQ(biter->fastSpeed, a.fastSpeed) << kills << " kills";
        EXPECT_EQ(biter->hitPoints, a.hitPoints) << kills << " kills";
        EXPECT_EQ(biter->fireDelay, a.fireDelay) << kills << " kills";
        EXPECT_EQ(biter->fastFireDelay, a.fastFireDelay) << kills << " kills";
    }
    // A bite that does not kill grows nothing; the dead are not bitten at all.
    CTestActor* tough = presentTarget(kKindDummy, 11 * 64, 10 * 64, 5);
    biter->attack(*tough);
    EXPECT_EQ(tough->hitPoints, 4);
    EXPECT_EQ(biter->hitPoints, 10);
    CTestActor* corpse = presentTarget(kKindDummy, 11 * 64, 10 * 64, 5);
    corpse->dead = true;
    const uint32_t bites = sample(10);
    biter->attack(*corpse);
    EXPECT_EQ(corpse->hitPoints, 5);
    EXPECT_EQ(sample(10), bites);
}

TEST_F(BitersTest, AShellIsBittenOnlyHeadOnYetEveryBiteIsHeard) {
    struct SCase {
        int32_t attacker, bugDir, damage;
        bool heard;
    } const cases[] = {
        {kKindLemonShark, 0, 1, true},
        {kKindLemonShark, 2, 0, true},
        {kKindLemonShark, 1, 0, true},
        {kKindBiter, 0, 1, true},
        {kKindBiter, 3, 0, true},
        {kKindBeav, 0, 0, false},  // a faction mate: the beaver leaves it alone
    };
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CBaseMonster* m = presentMonster(c.attacker, 10 * 64, 10 * 64, 2);
        ASSERT_EQ(m->kind, c.attacker);
        CTestActor* bug = presentTarget(kKindLBug, 11 * 64, 10 * 64, 5);
        bug->dir = c.bugDir;
        const uint32_t bites = sample(10);
        m->attack(*bug);
        EXPECT_EQ(bug->hitPoints, 5 - c.damage) << "kind " << c.attacker << ", bug " << c.bugDir;
        EXPECT_EQ(sample(10), bites + (c.heard ? 1 : 0));
    }
}

TEST_F(BitersTest, FrozenSharksAndBitersStillBiteAFrozenBeaverDoesNot) {
    struct SCase {
        int32_t attacker;
        bool frozen;
        int32_t damage;
    } const cases[] = {{kKindLemonShark, true, 1},
                       {kKindBiter, true, 1},
                       {kKindBeav, true, 0},
                       {kKindBeav, false, 2}};
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CBaseMonster* m = presentMonster(c.attacker, 10 * 64, 10 * 64, 2);
        m->frozenTimer = c.frozen ? 50 : 0;
        CTestActor* victim = presentTarget(kKindDummy, 11 * 64, 10 * 64, 5);
        m->onTouch(*victim);  // something walked into it
        EXPECT_EQ(victim->hitPoints, 5 - c.damage) << "kind " << c.attacker;
        EXPECT_EQ(m->fireCooldown, m->fireDelay);  // the wait restarts all the same
    }
}

TEST_F(BitersTest, LooksReactToEnemiesAnywhereAndToDisksOnlyBehindOrBeside) {
    // The monster on tile (10, 10) heading right; one thing on the floor.
    struct SCase {
        const char* what;
        int32_t attacker, seenKind, tx, ty, result, dir;
    } const cases[] = {
        {"disk ahead", kKindLemonShark, kKindDisk, 13, 10, 0, 2},
        {"disk behind", kKindLemonShark, kKindDisk, 4, 10, 1, 0},
        {"disk right-hand", kKindLemonShark, kKindDisk, 10, 15, 1, 3},
        {"enemy 8 ahead", kKindLemonShark, kKindDummy, 18, 10, 1, 2},
        {"enemy 9 ahead", kKindLemonShark, kKindDummy, 19, 10, 0, 2},
        {"faction mate", kKindLemonShark, kKindWizard, 12, 10, 0, 2},
        {"enemy left-hand", kKindBiter, kKindDummy, 10, 3, 1, 1},
        {"disk behind", kKindBeav, kKindDisk, 8, 10, 0, 2},
        {"enemy behind", kKindBeav, kKindDummy, 6, 10, 1, 0},
        {"enemy 5 behind", kKindBeav, kKindDummy, 5, 10, 0, 2},
    };
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CBaseMonster* m = presentMonster(c.attacker, 10 * 64, 10 * 64, 2);
        presentTarget(c.seenKind, c.tx * 64, c.ty * 64, 1);
        EXPECT_EQ(m->think(), c.result) << "kind " << c.attacker << ": " << c.what;
        EXPECT_EQ(m->dir, c.dir) << "kind " << c.attacker << ": " << c.what;
    }
}

TEST_F(BitersTest, ABlockedBeaverTurnsTowardThePlayersRowElseAwayElseBack) {
    // Heading right into a wall on row 5; the player on the same row, far behind.
    CPlayer* player = CPlayer::instance(1);
    player->x = 2 * 64;
    player->y = 5 * 64;
    auto stepOnce = [] {
        CWorld::instance().clear(false);
        CBaseMonster* beaver = presentMonster(kKindBeav, 10 * 64, 5 * 64, 2);
        beaver->update();
        return beaver;
    };
    loadTestMaze({"", "", "", "", "", "           #"});
    CBaseMonster* beaver = stepOnce();
    EXPECT_EQ(beaver->dir, 3);  // an equal row counts as below
    EXPECT_EQ(beaver->y, 5 * 64 + 2);
    loadTestMaze({"", "", "", "", "", "           #", "          #"});
    EXPECT_EQ(stepOnce()->dir, 1);
    loadTestMaze({"", "", "", "", "          #", "           #", "          #"});
    beaver = stepOnce();
    EXPECT_EQ(beaver->dir, 0);  // reversed by the step, toward the player
    EXPECT_EQ(beaver->x, 10 * 64 - 2);
}

TEST_F(BitersTest, ABeaverKeepsOnTowardThePlayerAndTurnsAtTheFirstCornerGoingAway) {
    CPlayer* player = CPlayer::instance(1);
    player->x = 30 * 64;  // right of and below the beaver
    player->y = 20 * 64;
    struct SCase {
        int32_t dir;
        bool wallBelow;
        int updates, dirAfter;
    } const cases[] = {
        {2, false, 96, 2}, {3, false, 96, 3}, {0, false, 1, 3}, {0, true, 1, 1}, {1, false, 1, 2}};
    for (const SCase& c : cases) {
        CLevel::instance().tiles[10][11] = c.wallBelow ? 1 : 0;
        CWorld::instance().clear(false);
        CBaseMonster* beaver = presentMonster(kKindBeav, 10 * 64, 10 * 64, c.dir);
        beaver->turnCooldown = 0;
        for (int i = 0; i < c.updates; ++i) beaver->update();
        EXPECT_EQ(beaver->dir, c.dirAfter) << "heading " << c.dir;
    }
}

TEST_F(BitersTest, TheBitersJawsSnapEvery15DrawnFrames) {
    auto* biter = presentMonster<CMBiter>(kKindBiter, 10 * 64, 10 * 64, 0);
    EXPECT_NE(biter->images[1], nullptr);
    EXPECT_NE(biter->images[1], biter->images[0]);
    // A frame drawn twice (under the pause menu) moves the jaws once.
    const uint32_t frames[] = {15, 15, 16, 30, 30, 44, 45};
    const int32_t expected[] = {1, 1, 1, 0, 0, 0, 1};
    for (int i = 0; i < 7; ++i) {
        CGameState::instance().frameCounter = frames[i];
        biter->draw();
        EXPECT_EQ(biter->animFrame, expected[i]) << "frame " << frames[i];
    }
}

}  // namespace
