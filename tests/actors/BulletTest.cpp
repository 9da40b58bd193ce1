#include <gtest/gtest.h>

#include "actors/BaseBullet.h"
#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "actors/Rocket.h"
#include "actors/SpitBullet.h"
#include "effects/EffectManager.h"
#include "platform/Input.h"
#include "state/GameReport.h"
#include "support/GameTest.h"
#include "support/Maze.h"
#include "support/Place.h"
#include "support/TestActor.h"
#include "world/World.h"

namespace {

class BulletTest : public CPlayTest {
protected:
    CBaseBullet* shot(int32_t x, int32_t y, int32_t dir, int32_t speed = 14) {
        auto* b = new CBaseBullet(x, y, dir, speed);
        b->setup();
        CWorld::instance().add(b);
        return b;
    }
    const CGameReport& report() const { return CGameReport::instance(); }
};

TEST_F(BulletTest, APlayerShotIntoAWallPopsAtOnceYetCostsTheCooldownAndTheSound) {
    loadTestMaze({"", "  #"});  // a wall right of the player's start tile
    CPlayer* player = present(CPlayer::instance(1), 64, 64);
    player->dir = 2;
    CInput::instance().buttonA = 1;
    player->update();
    EXPECT_EQ(CWorld::instance().objects.size(), 1u);  // no shot joined the world
    EXPECT_EQ(report().samples[7], 1u);                // the pop
    EXPECT_EQ(report().samples[4], 1u);                // the shot sound all the same
    EXPECT_EQ(player->fireCooldown, player->fireDelay);
    // Facing open floor, the shot flies from one tile ahead and is the player's.
    player->dir = 3;
    player->fireCooldown = 0;
    player->update();
    ASSERT_EQ(CWorld::instance().objects.size(), 2u);
    const CGameObject* fired = CWorld::instance().objects.back();
    EXPECT_EQ(fired->kind, kKindBullet);
    EXPECT_EQ(fired->x, 64);
    EXPECT_EQ(fired->y, 128);
    EXPECT_EQ(fired->owner, 1);
}

TEST_F(BulletTest, ShotsFlyThroughTheWrapEdgesBothWays) {
    CBaseBullet* right = shot(2490, 5 * 64, 2);
    CBaseBullet* left = shot(10, 9 * 64, 0);
    runWorld(3);
    ASSERT_TRUE(inWorld(right) && inWorld(left));
    EXPECT_EQ(right->x, 2490 + 3 * 14 - 2496);
    EXPECT_EQ(left->x, 10 - 3 * 14 + 2496);
}

TEST_F(BulletTest, ShotsPopOnWallsOnShotsAndOnDisksButLeaveTheDisk) {
    loadTestMaze({"", "", "", "", "", "                    #"});  // a wall at (20, 5)
    CBaseBullet* intoWall = shot(16 * 64, 5 * 64, 2);
    CBaseBullet* a = shot(10 * 64, 7 * 64, 2);
    CBaseBullet* b = shot(14 * 64, 7 * 64, 0);
    auto* disk = new CBaseSpar;
    disk->setup();
    present(disk, 20 * 64, 9 * 64);
    CBaseBullet* onDisk = shot(17 * 64, 9 * 64, 2);
    runWorld(40);
    EXPECT_FALSE(inWorld(a) || inWorld(b));  // head-on, both pop
    EXPECT_FALSE(inWorld(intoWall));
    EXPECT_FALSE(inWorld(onDisk));
    EXPECT_TRUE(inWorld(disk));
    EXPECT_TRUE(CWorld::instance().cells[20][9].contains(disk));
    EXPECT_EQ(report().samples[7], 4u);
}

TEST_F(BulletTest, AShellIsHurtOnlyHeadOn) {
    struct SCase {
        int32_t bugDir;
        int32_t shotDir;
        bool pops;
    } const cases[] = {{0, 2, true}, {2, 2, false}, {1, 2, false}, {3, 2, false}, {2, 0, true}};
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        auto* bug = present(new CTestActor(kKindLBug), 12 * 64, 5 * 64);
        bug->dir = c.bugDir;
        CBaseBullet* b = shot(c.shotDir == 2 ? 10 * 64 : 14 * 64, 5 * 64, c.shotDir);
        runWorld(12);
        EXPECT_EQ(!inWorld(b), c.pops)
            << "bug facing " << c.bugDir << ", shot flying " << c.shotDir;
    }
}

TEST_F(BulletTest, SpitFreezesThePlayerForTheShotsOwnStunTime) {
    CPlayer* player = present(CPlayer::instance(1), 10 * 64, 10 * 64);
    player->shieldTimer = 0;
    auto* spit = new CSpitBullet(13 * 64, 10 * 64, 0, 5);
    spit->stunTime = 37;
    spit->setup();
    CWorld::instance().add(spit);
    for (int i = 0; i < 100 && inWorld(spit); ++i) runWorld(1);
    EXPECT_FALSE(inWorld(spit));
    EXPECT_EQ(player->hitPoints, 2);
    EXPECT_EQ(player->frozenTimer, 37);
}

TEST_F(BulletTest, RocketsExplodeInAClippedSquareChainingAndSparingShields) {
    // Rocket A at (2, 5); rocket B two tiles right of it; victims around.
    auto* a = new CRocket(2 * 64, 5 * 64, 2, 8);
    auto* b = new CRocket(4 * 64, 5 * 64, 2, 8);
    for (CRocket* r : {a, b}) {
        r->setup();
        CWorld::instance().add(r);
    }
    CTestActor* near = present(new CTestActor, 0, 3 * 64);          // in A's square
    CTestActor* far = present(new CTestActor, 6 * 64, 7 * 64);      // only in B's square
    CTestActor* across = present(new CTestActor, 39 * 64, 5 * 64);  // over the edge: spared
    CTestActor* tough = present(new CTestActor, 3 * 64, 4 * 64);
    tough->hitPoints = 5;
    CPlayer* player = present(CPlayer::instance(1), 1 * 64, 6 * 64);
    player->shieldTimer = 1;
    const int32_t playerHitPoints = player->hitPoints;
    a->die(1);
    EXPECT_TRUE(b->dead);
    EXPECT_TRUE(near->dead && far->dead);
    EXPECT_FALSE(across->dead);
    EXPECT_EQ(tough->hitPoints, 3);  // once from each blast
    EXPECT_EQ(player->hitPoints, playerHitPoints);
    EXPECT_EQ(report().samples[17], 2u);
    EXPECT_EQ(report().effects[static_cast<int>(EEffectClass::kShockwave)], 2u);
    EXPECT_EQ(near->killedBy, 0);  // the rocket's owner is nobody
}

TEST_F(BulletTest, ARocketStoppedAtAWallWhileSomethingTouchesItExplodesOnce) {
    loadTestMaze({"", "", "", "", "", "      #"});  // a wall at (6, 5)
    auto* rocket = new CRocket(5 * 64, 5 * 64, 2, 8);
    rocket->setup();
    CWorld::instance().add(rocket);
    CTestActor* tough = present(new CTestActor, 5 * 64 + 16, 5 * 64);  // moved onto it
    tough->hitPoints = 9;
    runWorld(1);
    EXPECT_EQ(report().samples[17], 1u);
    EXPECT_EQ(tough->hitPoints, 8);
}

TEST_F(BulletTest, WallTestsLookAcrossTheFlightOnlyWhereTheBoxReaches) {
    loadTestMaze({"", "", "", "", "", "", "          #"});  // a wall at (10, 6)
    struct SCase {
        int32_t x, y, dir;
        bool inWall;
    } const cases[] = {
        {10 * 64, 6 * 64, 2, true},              // on the wall's own tile
        {10 * 64, 5 * 64, 2, false},             // the row above it, on the grid
        {9 * 64 + 8, 5 * 64 + 3 * 8, 2, false},  // 3 pixels down: row 5 only
        {9 * 64 + 8, 5 * 64 + 4 * 8, 2, true},   // 4 pixels: rows 5 and 6
        {9 * 64 + 8, 5 * 64 + 5 * 8, 2, true},   // 5 pixels: row 6
        {9 * 64 + 8, 6 * 64 + 4 * 8, 2, true},   // 4 pixels below the wall's row: both
        {9 * 64 + 3 * 8, 5 * 64 + 8, 3, false},  // flying down, 3 across: column 9 only
        {9 * 64 + 5 * 8, 5 * 64 + 8, 3, true},   // 5 across: column 10, rows 5 and 6
        {8 * 64 + 5 * 8, 5 * 64 + 8, 3, false},  // column 9, rows 5 and 6
    };
    for (const SCase& c : cases) {
        CBaseBullet b(c.x, c.y, c.dir, 1);
        EXPECT_EQ(b.isInWall(), c.inWall) << c.x << "," << c.y << " dir " << c.dir;
    }
}

}  // namespace
