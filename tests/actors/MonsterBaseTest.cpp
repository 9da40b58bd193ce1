#include <gtest/gtest.h>

#include "actors/BaseBullet.h"
#include "actors/TeleBullet.h"
#include "state/GameReport.h"
#include "state/Random.h"
#include "support/GameTest.h"
#include "support/Maze.h"
#include "support/Place.h"
#include "support/TestActor.h"
#include "support/TestMonster.h"
#include "world/World.h"

namespace {

class MonsterBaseTest : public CPlayTest {
protected:
    CTestMonster* monster(int32_t x, int32_t y, int32_t dir) {
        auto* m = present(new CTestMonster, x, y);
        m->dir = dir;
        return m;
    }
};

TEST_F(MonsterBaseTest, RandomTurnsComeOnlyAtTileCornersOutsideTheCooldown) {
    struct SCase {
        int32_t x;
        int32_t turnCooldown;
        int32_t thinkResult;
        bool turns;
    } const cases[] = {
        {10 * 64, 0, 0, true},        // at a corner, ready: turns (turnChance 1 always tries)
        {10 * 64 + 16, 0, 0, false},  // mid-corridor: never
        {10 * 64, 5, 0, false},       // at a corner within the cooldown
        {10 * 64, 0, 1, false},       // its own decision made: no random turn
    };
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CTestMonster* m = monster(c.x, 10 * 64, 2);
        m->turnChance = 1;
        m->turnCooldown = c.turnCooldown + 1;  // the update counts it down first
        m->thinkResult = c.thinkResult;
        m->update();
        EXPECT_EQ(m->dir != 2, c.turns) << "x " << c.x << " cooldown " << c.turnCooldown;
        EXPECT_EQ(m->turnCooldown, c.turns ? 10 : c.turnCooldown);
    }
}

TEST_F(MonsterBaseTest, ARandomTurnTakesTheDrawnSideOrTheOtherNeverBack) {
    struct SCase {
        std::initializer_list<std::string> maze;  // walls round (10, 10)
        int32_t dir;                              // -1: the side the draw names
        bool turned;
    } const cases[] = {
        {{}, -1, true},
        {{"", "", "", "", "", "", "", "", "", "          #"}, 3, true},  // only down is open
        {{"", "", "", "", "", "", "", "", "", "", "", "          #"}, 1, true},
        {{"", "", "", "", "", "", "", "", "", "          #", "", "          #"}, 2, false},
    };
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        loadTestMaze(c.maze);
        CTestMonster* m = monster(10 * 64, 10 * 64, 2);
        seedGameRand(99);
        const int32_t drawn = gameRand() % 2 == 1 ? 3 : 1;  // right-hand of right is down
        seedGameRand(99);
        EXPECT_EQ(m->randomTurn(), c.turned);
        EXPECT_EQ(m->dir, c.dir == -1 ? drawn : c.dir);
    }
}

TEST_F(MonsterBaseTest, AMonsterKilledByItsOwnDecisionGoesNoFurther) {
    // At a tile corner, ready to turn at every draw: dead, it neither draws, turns nor steps.
    CTestMonster* m = monster(10 * 64, 10 * 64, 2);
    m->dieInThink = true;
    m->turnChance = 1;
    m->turnCooldown = 1;
    m->update();
    EXPECT_EQ(m->x, 10 * 64);
    EXPECT_EQ(m->dir, 2);
    EXPECT_EQ(m->turnCooldown, 0);
}

TEST_F(MonsterBaseTest, ABlockedMonsterTurnsAsideOrBackAndMovesInTheSameUpdate) {
    // A dead end: walls right, above and below (10, 10).
    loadTestMaze(
        {"", "", "", "", "", "", "", "", "", "          #", "          ##", "          #"});
    CTestMonster* m = monster(10 * 64, 10 * 64, 2);
    m->thinkResult = 1;  // no random turn of its own
    m->update();
    EXPECT_EQ(m->dir, 0);
    EXPECT_EQ(m->x, 10 * 64 - 1);
    EXPECT_EQ(m->turnCooldown, 10);
    // Open below: it turns down there instead, even though its think decided.
    loadTestMaze({"", "", "", "", "", "", "", "", "", "          #", "          ##"});
    m->x = m->prevX = 10 * 64;
    m->dir = 2;
    m->update();
    EXPECT_EQ(m->dir, 3);
    EXPECT_EQ(m->y, 10 * 64 + 1);
}

TEST_F(MonsterBaseTest, AFrozenMonsterOnlyCountsDownItsTimers) {
    CTestMonster* m = monster(10 * 64 + 16, 10 * 64, 2);
    m->frozenTimer = 3;
    m->fireCooldown = 5;
    m->turnCooldown = 5;
    m->shieldTimer = 5;
    m->update();
    EXPECT_EQ(m->fireCooldown, 4);
    EXPECT_EQ(m->turnCooldown, 4);
    EXPECT_EQ(m->frozenTimer, 2);
    EXPECT_EQ(m->shieldTimer, 5);
    EXPECT_EQ(m->x, 10 * 64 + 16);
}

TEST_F(MonsterBaseTest, AFriendAheadTurnsAMonsterBackOneBesideOnlyBlocksIt) {
    struct SCase {
        int32_t friendX, friendY, expectedDir;
    } const cases[] = {{11 * 64, 10 * 64, 0}, {10 * 64, 10 * 64 + 56, 2}};
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CTestMonster* m = monster(10 * 64, 10 * 64, 2);
        m->speed = 8;  // a pixel a step: the first step reaches the friend
        m->thinkResult = 1;
        present(new CTestMonster, c.friendX, c.friendY);
        m->update();
        EXPECT_EQ(m->dir, c.expectedDir) << "friend at " << c.friendX << "," << c.friendY;
        EXPECT_EQ(m->x, 10 * 64);  // pushed back either way
    }
}

TEST_F(MonsterBaseTest, TouchesByKind) {
    // What each thing that touches a monster does to it.
    struct SCase {
        int32_t kind;
        int32_t shield;
        int32_t hitPoints, frozen;
        bool teleported;
        int attacks;
        uint32_t disks;
    } const cases[] = {
        {kKindBullet, 0, 2, 0, false, 0, 0},      {kKindRocket, 0, 2, 0, false, 0, 0},
        {kKindSpitBullet, 0, 2, 90, false, 0, 0}, {kKindSpitBullet, 9, 3, 90, false, 0, 0},
        {kKindTeleBullet, 0, 3, 0, true, 0, 0},   {kKindTeleBullet, 9, 3, 0, true, 0, 0},
        {kKindPlayer, 0, 3, 0, false, 1, 0},      {kKindDummy, 0, 3, 0, false, 0, 0},
        {kKindDisk, 0, 4, 0, false, 0, 1},        {kKindDisk, 9, 4, 0, false, 0, 1},
    };
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        // Filed where it stands (tiles 10 and 11) and where it stood a moment ago (9 and 10): a
        // teleport takes it out of both.
        CTestMonster* m = monster(10 * 64 + 8, 10 * 64, 2);
        m->prevX = 10 * 64 - 8;
        CWorld::instance().fileInCells(m, m->prevX, m->prevY, false);
        m->hitPoints = 3;
        m->shieldTimer = c.shield;
        m->fireCooldown = 0;
        const std::unique_ptr<CGameObject> other = toucher(c.kind, 10 * 64 + 16, 10 * 64);
        m->onTouch(*other);
        EXPECT_EQ(m->disks, c.disks) << "kind " << c.kind;
        EXPECT_EQ(filedAnywhere(m), !c.teleported) << "kind " << c.kind;
        EXPECT_EQ(m->hitPoints, c.hitPoints) << "kind " << c.kind;
        EXPECT_EQ(m->frozenTimer, c.frozen) << "kind " << c.kind;
        EXPECT_EQ(m->spawning, c.teleported) << "kind " << c.kind;
        EXPECT_EQ(m->attacks, c.attacks) << "kind " << c.kind;
        EXPECT_EQ(m->fireCooldown, c.attacks ? m->fireDelay : 0) << "kind " << c.kind;
        EXPECT_EQ(m->shieldTimer, c.teleported ? 60 : c.shield) << "kind " << c.kind;
    }
}

TEST_F(MonsterBaseTest, ScansStopAtWallsLookPastShotsAndWrap) {
    loadTestMaze({"", "", "", "", "", "", "", "", "", "", "            #"});  // wall (12, 10)
    CTestMonster* m = monster(10 * 64, 10 * 64, 2);
    CTestActor* beyond = present(new CTestActor(kKindPlayer), 13 * 64, 10 * 64);
    EXPECT_EQ(m->scan(2, 5), nullptr);  // the wall in the second tile hides it
    beyond->x = beyond->prevX = 6 * 64;
    CWorld::instance().fileAt(beyond, false);
    present(new CBaseBullet(8 * 64, 10 * 64, 2, 1), 8 * 64, 10 * 64);
    EXPECT_EQ(m->scan(0, 5), beyond);  // the shot in between is looked through
    EXPECT_EQ(m->scan(0, 3), nullptr);
    EXPECT_EQ(m->scan(0, 0), nullptr);
    CTestActor* acrossTop = present(new CTestActor(kKindPlayer), 10 * 64, 27 * 64);
    EXPECT_EQ(m->scan(1, 12), acrossTop);  // up from row 10, round through row 0 to 27
}

TEST_F(MonsterBaseTest, DirectionToPrefersTheHeading) {
    CTestMonster m;
    m.x = m.y = 640;
    struct SCase {
        int32_t dir, ox, oy, expected;
    } const cases[] = {
        {2, 700, 600, 2},  // up and to the right of a monster moving right
        {0, 700, 600, 1},  // moving left: up comes before right
        {1, 600, 700, 0}, {3, 640, 600, 1}, {3, 640, 700, 3}, {0, 640, 640, -1},
    };
    for (const SCase& c : cases) {
        m.dir = c.dir;
        CTestActor other(kKindPlayer, c.ox, c.oy);
        EXPECT_EQ(m.directionTo(other), c.expected) << c.dir << " " << c.ox << "," << c.oy;
    }
}

}  // namespace
