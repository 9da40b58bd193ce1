#include <gtest/gtest.h>

#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "shell/GameHooks.h"
#include "sound/SoundMixer.h"
#include "state/GameState.h"
#include "state/Random.h"
#include "support/GameTest.h"
#include "support/Maze.h"
#include "support/TestActor.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

class GameObjectTest : public CPlayTest {};

TEST_F(GameObjectTest, MoveWrapsWithThe39By28Period) {
    CTestActor a;
    a.speed = 3;
    a.dir = 2;
    a.x = 2502;    // pixel 312, sub-pixel 6
    a.y = 64 + 8;  // between rows, so the open maze is not even asked
    EXPECT_TRUE(a.move());
    EXPECT_EQ(a.x, 9);  // 2505 is pixel 313: back by 2496
    a.x = 2496;
    EXPECT_TRUE(a.move());
    EXPECT_EQ(a.x, 2499);  // pixel 312 is still in the maze
    a.dir = 0;
    a.x = 0;
    EXPECT_TRUE(a.move());
    EXPECT_EQ(a.x, 2493);
    a.dir = 1;
    a.x = 64;
    a.y = 0 + 8;  // between rows: no wall test
    a.speed = 10;
    EXPECT_TRUE(a.move());
    EXPECT_EQ(a.y, 1792 - 2);
    a.dir = 3;
    a.y = 1799;  // pixel 224, sub-pixel 7
    a.speed = 1;
    EXPECT_TRUE(a.move());
    EXPECT_EQ(a.y, 8);
}

TEST_F(GameObjectTest, WallsStopOnlyOnTheTileGrid) {
    loadTestMaze({"", "  #"});
    CTestActor a(kKindDummy, 64, 64);  // tile (1, 1), the wall at (2, 1) to its right
    a.dir = 2;
    a.speed = 3;
    EXPECT_FALSE(a.move());
    EXPECT_EQ(a.x, 64);
    // Short of the grid the step is always completed: from pixel 7 (sub-pixel 6) onto pixel 8,
    // sub-pixel 1. Sub-pixel bits do not count: that is aligned, and the next step is refused.
    a.x = 62;
    EXPECT_TRUE(a.move());
    EXPECT_EQ(a.x, 65);
    EXPECT_FALSE(a.move());
    EXPECT_EQ(a.x, 65);
    // Away from the wall it goes on.
    a.dir = 0;
    EXPECT_TRUE(a.move());
    EXPECT_EQ(a.x, 62);
}

TEST_F(GameObjectTest, WrapPositionUsesTheFullGridAndTheTutorialBox) {
    CTestActor a;
    a.x = -64;
    a.y = 1856;  // pixel 232 is not beyond 232
    a.wrapPosition();
    EXPECT_EQ(a.x, 2496);
    EXPECT_EQ(a.y, 1856);
    a.x = 2560;
    a.y = -1;
    a.wrapPosition();
    EXPECT_EQ(a.x, 2560);
    EXPECT_EQ(a.y, 1855);
    CGameState::instance().tutorial = true;
    a.x = 0;
    a.y = 0;
    a.wrapPosition();
    EXPECT_EQ(a.x, 128);
    EXPECT_EQ(a.y, 1216);
    a.x = 38 * 64;
    a.y = 27 * 64;
    a.wrapPosition();
    EXPECT_EQ(a.x, 2368);
    EXPECT_EQ(a.y, 1664);
}

TEST_F(GameObjectTest, DiskSpacingAndPickupCaps) {
    CTestActor a;
    const int32_t spacing[][2] = {{0, 0}, {1, 0}, {2, 16}, {3, 10}, {33, 0}};
    for (const auto& [count, expected] : spacing) {
        a.disks = static_cast<uint32_t>(count);
        a.updateDiskSpacing();
        EXPECT_EQ(a.diskSpacing, expected) << count;
    }
    CWorld& world = CWorld::instance();
    auto pick = [&](int32_t type) {
        auto* disk = new CBaseSpar;
        disk->diskType = type;
        disk->setup();
        world.add(disk);
        a.collectDisk(*disk);
        return disk;
    };
    a.disks = 0;
    a.hitPoints = 9;
    a.shieldTimer = 2000;
    const CBaseSpar* shield = pick(CBaseSpar::kShield);
    EXPECT_EQ(a.hitPoints, 9);
    EXPECT_EQ(a.shieldTimer, 3000);
    EXPECT_EQ(a.disks, 1u);
    EXPECT_TRUE(shield->dead);
    a.speed = 3;
    a.fastSpeed = 5;
    a.fireDelay = 20;
    a.fastFireDelay = 14;
    pick(CBaseSpar::kSpeed);
    pick(CBaseSpar::kRapidFire);
    EXPECT_EQ(a.speed, 5);
    EXPECT_EQ(a.fireDelay, 14);
    EXPECT_EQ(a.disks, 3u);
    EXPECT_EQ(a.diskSpacing, 10);
    // A disk already collected by someone else gives nothing.
    CBaseSpar* gone = pick(CBaseSpar::kPlain);
    EXPECT_EQ(a.disks, 4u);
    a.collectDisk(*gone);
    EXPECT_EQ(a.disks, 4u);
}

TEST_F(GameObjectTest, ShieldedActorsIgnoreHitsAndOthersBurstAndDie) {
    CTestActor a(kKindDummy, 640, 640), shot(kKindBullet);
    shot.damage = 1;
    shot.owner = 0;
    a.hitPoints = 2;
    a.shieldTimer = 5;
    a.takeDamage(shot);
    EXPECT_EQ(a.hitPoints, 2);
    EXPECT_EQ(CEffectManager::instance().count(), 0u);
    a.shieldTimer = 0;
    a.takeDamage(shot);
    EXPECT_EQ(a.hitPoints, 1);
    EXPECT_FALSE(a.dead);
    EXPECT_EQ(CEffectManager::instance().count(), 1u);
    a.takeDamage(shot);
    EXPECT_TRUE(a.dead);
    EXPECT_EQ(a.hitPoints, 0);
    EXPECT_EQ(CEffectManager::instance().count(), 3u);  // the hit and the death
    EXPECT_EQ(CPlayer::instance(1)->score, 0);          // a shot of nobody's
    // The player's shot credits the kill to player 1.
    CTestActor b(kKindDummy, 640, 640);
    b.scoreValue = 350;
    shot.owner = 1;
    b.takeDamage(shot);
    EXPECT_EQ(CPlayer::instance(1)->score, 350);
}

TEST_F(GameObjectTest, DroppedDisksScatterByTheLevelRadius) {
    CWorld& world = CWorld::instance();
    CLevel::instance().levelNumber = 20;
    CTestActor carrier(kKindDummy, 20 * 64, 14 * 64);
    carrier.disks = 3;
    // Radius 3 + 20 / 5 + 4 = 11: each disk draws its frame and its type, then dx and dy in
    // -11..10 around tile (20, 14) of an empty maze; the first try is free.
    seedGameRand(77);
    int32_t expected[3][2];
    for (auto& place : expected) {
        gameRand();
        gameRand();
        place[0] = 20 + gameRand() % 22 - 11;
        place[1] = 14 + gameRand() % 22 - 11;
    }
    seedGameRand(77);
    carrier.dropDisks();
    ASSERT_EQ(world.objects.size(), 3u);
    int i = 0;
    for (const CGameObject* disk : world.objects) {
        EXPECT_EQ(disk->kind, kKindDisk);
        EXPECT_EQ(disk->x, expected[i][0] * 64) << i;
        EXPECT_EQ(disk->y, expected[i][1] * 64) << i;
        ++i;
    }
    // Nothing carried, nothing dropped.
    CTestActor empty(kKindDummy, 64, 64);
    empty.dropDisks();
    EXPECT_EQ(world.objects.size(), 3u);
}

// The program wires what the world asks of the actors at start-up, as the fixture does; a debug
// build stops at a hook left unwired rather than losing a kill's score, the disks a carrier drops
// or where a sound is heard, and a release build plays on.
TEST_F(GameObjectTest, AnUnwiredHookStopsADebugBuild) {
    const struct {
        const char* hook;
        void (*unwire)();
    } cases[] = {{"listenerTile", [] { CSoundMixer::listenerTile = nullptr; }},
                 {"creditScore", [] { CGameObject::creditScore = nullptr; }},
                 {"newDisk", [] { CGameObject::newDisk = nullptr; }}};
    for (const auto& c : cases) {
        c.unwire();
        CTestActor carrier(kKindDummy, 640, 640);
        carrier.disks = 1;
        EXPECT_DEBUG_DEATH(
            *c.hook == 'l' ? CSoundMixer::instance().playAt(0, 1, 1, 1) : carrier.die(1), c.hook);
        wireGameHooks();
    }
}

}  // namespace
