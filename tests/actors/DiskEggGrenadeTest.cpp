#include <gtest/gtest.h>

#include "actors/BaseBullet.h"
#include "actors/BaseSpar.h"
#include "actors/Grenade.h"
#include "actors/MEgg.h"
#include "actors/Player.h"
#include "actors/Shooters.h"
#include "effects/EffectManager.h"
#include "platform/Input.h"
#include "render/Screen.h"
#include "state/GameReport.h"
#include "state/Random.h"
#include "support/GameTest.h"
#include "support/Maze.h"
#include "support/Place.h"
#include "support/TestActor.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

class DiskEggGrenadeTest : public CPlayTest {
protected:
    void SetUp() override {
        CPlayTest::SetUp();
        CGrenade::buildGrenadeTable();
    }
    const CGameReport& report() const { return CGameReport::instance(); }
    uint32_t rings() const { return report().effects[static_cast<int>(EEffectClass::kShockwave)]; }
    CGameObject* add(CGameObject* actor) {
        actor->setup();
        CWorld::instance().add(actor);
        return actor;
    }
};

// A seed whose second draw is r mod 50: a new disk draws its frame, then its type.
uint32_t seedForTypeDraw(int32_t r) {
    for (uint32_t seed = 1;; ++seed) {
        seedGameRand(seed);
        gameRand();
        if (gameRand() % 50 == r) return seed;
    }
}

TEST_F(DiskEggGrenadeTest, TheDiskTypeComesWithTheLevelNumberAndAForcedTypeIsKept) {
    using S = CBaseSpar;
    struct SCase {
        int32_t level, r, type;
    } const cases[] = {
        {3, 5, S::kPlain},  {4, 5, S::kSpeed},      {4, 9, S::kSpeed},      {4, 10, S::kPlain},
        {6, 18, S::kPlain}, {7, 10, S::kRapidFire}, {7, 18, S::kRapidFire}, {7, 19, S::kPlain},
        {9, 25, S::kPlain}, {10, 19, S::kShield},   {10, 25, S::kShield},   {10, 26, S::kPlain},
        {60, 0, S::kSpeed}, {60, 49, S::kPlain},
    };
    for (const SCase& c : cases) {
        CLevel::instance().levelNumber = c.level;
        seedGameRand(seedForTypeDraw(c.r));
        CBaseSpar disk;
        disk.setup();
        EXPECT_EQ(disk.diskType, c.type) << "level " << c.level << ", r " << c.r;
    }
    // A type set before setup stays, costs no draw, and brings its own looks.
    struct SLook {
        int32_t firstImage;
        uint16_t colour;
    } const looks[] = {{31, 0xFFFF}, {25, 0x6B5F}, {28, 0xF800}, {109, 0x05C0}};
    CLevel::instance().levelNumber = 0;
    for (int32_t type = S::kPlain; type <= S::kShield; ++type) {
        seedGameRand(5);
        CBaseSpar disk;
        disk.diskType = type;
        disk.setup();
        const int next = gameRand();
        seedGameRand(5);
        gameRand();  // the frame
        EXPECT_EQ(next, gameRand()) << type;
        EXPECT_EQ(disk.diskType, type);
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(disk.images[i], CScreen::getImage(looks[type].firstImage + i % 3)) << type;
        EXPECT_EQ(disk.burstColours[3], looks[type].colour) << type;
    }
}

TEST_F(DiskEggGrenadeTest, WalkingIntoADiskGivesItsPowerUpUpToTheCaps) {
    using S = CBaseSpar;
    struct SCase {
        int32_t type, hitPoints, shield;                  // before
        int32_t wantHitPoints, speed, delay, wantShield;  // after
    } const cases[] = {
        {S::kPlain, 3, 0, 4, 3, 20, 0},        {S::kSpeed, 9, 0, 9, 5, 20, 0},
        {S::kRapidFire, 3, 0, 4, 3, 14, 0},    {S::kShield, 3, 0, 4, 3, 20, 1500},
        {S::kShield, 3, 2000, 4, 3, 20, 3000},
    };
    CInput::instance().right = 1;
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CPlayer::forgetAll();
        CPlayer* player = present(CPlayer::instance(1), 10 * 64, 10 * 64);
        player->hitPoints = c.hitPoints;
        player->shieldTimer = c.shield;
        auto* disk = new CBaseSpar;
        disk->diskType = c.type;
        disk->setup();
        present(disk, 11 * 64, 10 * 64);
        for (int i = 0; i < 10 && player->disks == 0; ++i) runWorld(1);
        EXPECT_EQ(player->disks, 1u) << c.type;
        EXPECT_EQ(player->hitPoints, c.wantHitPoints) << c.type;
        EXPECT_EQ(player->speed, c.speed) << c.type;
        EXPECT_EQ(player->fireDelay, c.delay) << c.type;
        EXPECT_EQ(player->shieldTimer, c.wantShield) << c.type;
        EXPECT_FALSE(inWorld(disk));
    }
    EXPECT_EQ(report().samples[9], 5u);
    // A monster walking into a disk takes it as well: a soldier, boxed into a corridor so that
    // it cannot turn away, gets its fast speed.
    loadTestMaze({"", "", "", "", "", "", "", "", "", "########################################",
                  "", "########################################"});
    CWorld::instance().clear(true);
    auto* soldier = new CMSoldier;
    soldier->setup();
    soldier->dir = 2;
    present(soldier, 10 * 64, 10 * 64);
    auto* disk = new CBaseSpar;
    disk->diskType = S::kSpeed;
    disk->setup();
    present(disk, 11 * 64, 10 * 64);
    runWorld(20);
    EXPECT_EQ(soldier->disks, 1u);
    EXPECT_EQ(soldier->speed, soldier->fastSpeed);
    EXPECT_FALSE(inWorld(disk));
}

TEST_F(DiskEggGrenadeTest, ACarrierOfTwoDisksScattersThemByTheLevelRadius) {
    // Each dropped disk draws its frame and its type, then its place: dx and dy in -r..r-1 tiles
    // around the carrier's tile, r = 2 + 4 up to level number 10, 2 + level / 5 + 4 after.
    const int32_t radiusByLevel[][2] = {{0, 6}, {10, 6}, {11, 8}, {14, 8}, {15, 9}, {40, 14}};
    for (const auto& [level, r] : radiusByLevel) {
        CWorld::instance().clear(true);
        CLevel::instance().levelNumber = level;
        seedGameRand(11);
        int32_t want[2][2];
        for (auto& place : want) {
            gameRand();
            gameRand();
            place[0] = 20 + gameRand() % (2 * r) - r;
            place[1] = 14 + gameRand() % (2 * r) - r;
        }
        seedGameRand(11);
        CTestActor* carrier = present(new CTestActor, 20 * 64 + 24, 14 * 64);
        carrier->disks = 2;
        carrier->hitPoints = 1;
        carrier->die(0);
        const auto& objects = CWorld::instance().objects;
        ASSERT_EQ(objects.size(), 3u) << "level " << level;
        auto it = std::next(objects.begin());
        for (const auto& place : want) {
            const CGameObject* disk = *it++;
            EXPECT_EQ(disk->kind, kKindDisk);
            EXPECT_TRUE(disk->spawning);  // it materialises like any new actor
            EXPECT_EQ(disk->x, place[0] * 64) << "level " << level;
            EXPECT_EQ(disk->y, place[1] * 64) << "level " << level;
        }
    }
}

TEST_F(DiskEggGrenadeTest, AnEggTurnsFromFuse119AndExplodesOnItsLastUpdate) {
    auto* egg = static_cast<CMEgg*>(add(new CMEgg(10 * 64, 10 * 64, 160)));
    CPlayer* player = present(CPlayer::instance(1), 12 * 64, 11 * 64);
    player->shieldTimer = 0;
    player->hitPoints = 5;
    int32_t turns = 0, firstTurn = 0, dir = egg->dir;
    for (int update = 1; update < 160; ++update) {
        runWorld(1);
        if (egg->dir != dir) {
            if (turns++ == 0) firstTurn = update;
            EXPECT_EQ(egg->dir, (dir + 1) & 3);
            dir = egg->dir;
        }
    }
    EXPECT_EQ(firstTurn, 41);  // fuse 119
    EXPECT_EQ(turns, 60);      // every second update of the last 120
    EXPECT_TRUE(CWorld::instance().cells[10][10].contains(egg));
    EXPECT_EQ(report().samples[17], 0u);
    runWorld(1);
    EXPECT_FALSE(inWorld(egg));
    EXPECT_FALSE(CWorld::instance().cells[10][10].contains(egg));
    EXPECT_EQ(report().samples[17], 1u);
    EXPECT_EQ(rings(), 1u);
    EXPECT_EQ(player->hitPoints, 3);  // an egg hurts for 2
}

TEST_F(DiskEggGrenadeTest, AShotSetsOffAnEggAndEggsInReachChainWhileShieldsHold) {
    // Eggs at columns 5, 7, 9 and 12 of row 10: each of the first three is in reach of the one
    // before it; the last is three columns past the third and stays.
    CMEgg* eggs[4];
    const int32_t columns[4] = {5, 7, 9, 12};
    for (int i = 0; i < 4; ++i) {
        eggs[i] = static_cast<CMEgg*>(add(new CMEgg(columns[i] * 64, 10 * 64, 160)));
        CWorld::instance().fileAt(eggs[i], false);
    }
    CTestActor* between = present(new CTestActor, 6 * 64, 12 * 64);  // in reach of two eggs
    between->hitPoints = 9;
    CTestActor* shielded = present(new CTestActor, 5 * 64, 11 * 64);
    shielded->hitPoints = 1;
    shielded->shieldTimer = 50;
    CTestActor* beyond = present(new CTestActor, 14 * 64, 13 * 64);  // only the last egg reaches
    beyond->hitPoints = 9;
    auto* shot = new CBaseBullet(2 * 64, 10 * 64, 2, 14);
    shot->owner = 1;
    add(shot);
    runWorld(14);
    EXPECT_FALSE(inWorld(shot));
    EXPECT_FALSE(inWorld(eggs[0]) || inWorld(eggs[1]) || inWorld(eggs[2]));
    ASSERT_TRUE(inWorld(eggs[3]));
    EXPECT_EQ(eggs[3]->fuse, 146);
    EXPECT_EQ(between->hitPoints, 5);  // 2 from the egg at column 5, 2 from the one at 7
    EXPECT_FALSE(shielded->dead);
    EXPECT_EQ(beyond->hitPoints, 9);
    EXPECT_EQ(report().samples[17], 3u);
    EXPECT_EQ(rings(), 3u);
    EXPECT_EQ(report().killedByPlayer[kKindEgg], 1u);  // the shot's egg; the others went off
    EXPECT_EQ(CPlayer::instance(1)->score, 0);         // and nobody scores for an egg
}

TEST_F(DiskEggGrenadeTest, AGrenadeFliesOverEverythingFor120FramesAndLandsWhereAimed) {
    loadTestMaze({"", "", "", "", "", "", "", "", "", "", "       ##########"});  // walls en route
    struct SCase {
        int32_t distance, velX;
        bool shielded;
    } const cases[] = {{240, 2, false}, {100, 0, true}, {-250, -2, false}, {119, 0, false}};
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CGameReport::resetInstance();
        const int32_t x0 = 6 * 64 + 32, y0 = 10 * 64 + 32;
        auto* grenade = static_cast<CGrenade*>(add(new CGrenade(x0, y0, x0 + c.distance, y0)));
        EXPECT_EQ(grenade->velX, c.velX) << c.distance;
        runWorld(119);
        ASSERT_TRUE(inWorld(grenade)) << c.distance;
        EXPECT_EQ(CWorld::instance().monstersAlive, 1);  // counted, though never filed
        for (const auto& column : CWorld::instance().cells)
            for (const CActorSet& cell : column) EXPECT_FALSE(cell.contains(grenade));
        // It lands in its next update, 1 point for an unshielded player beside the landing
        // point, nothing for a shielded one.
        const int32_t landTile = (x0 + 120 * c.velX) >> 6;
        CPlayer* player = present(CPlayer::instance(1), (landTile + 2) * 64, 12 * 64);
        player->shieldTimer = c.shielded ? 10 : 0;
        const int32_t hitPoints = player->hitPoints;
        runWorld(1);
        EXPECT_FALSE(inWorld(grenade));
        EXPECT_EQ(report().samples[17], 1u) << c.distance;
        EXPECT_EQ(rings(), 1u);
        EXPECT_EQ(player->hitPoints, hitPoints - (c.shielded ? 0 : 1)) << c.distance;
    }
    // 120 steps of the truncated velocity: thrown 240 right and 100 up, it lands 240 right.
    CGrenade grenade(640, 640, 640 + 240, 640 - 100);
    for (int i = 0; i < 119; ++i) grenade.update();
    EXPECT_EQ(grenade.x, 640 + 238);
    EXPECT_FALSE(grenade.dead);
    grenade.update();
    EXPECT_TRUE(grenade.dead);
    EXPECT_EQ(grenade.x, 640 + 240);
    EXPECT_EQ(grenade.y, 640);
}

TEST_F(DiskEggGrenadeTest, TheGrenadeTablesUseTheGamesOwnPi) {
    const int32_t scales[][2] = {{0, 0},    {1, 6},    {2, 13},   {3, 20}, {4, 26},
                                 {58, 255}, {60, 255}, {62, 255}, {119, 6}};
    for (const auto& [i, s] : scales) EXPECT_EQ(CGrenade::grenadeScale[i], s) << i;
    // Point 0 is (3, 0), 3 left of and 8 above the centre: unturned at frame 0, a quarter turn
    // (all but) at frame 45, where a truer pi would give 2048.
    EXPECT_EQ(CGrenade::grenadeTable[0][0][0], -768);
    EXPECT_EQ(CGrenade::grenadeTable[0][0][1], -2048);
    EXPECT_EQ(CGrenade::grenadeTable[45][0][0], 2047);
    EXPECT_EQ(CGrenade::grenadeTable[45][0][1], -768);
    // Drawn, it is a dot at the throw and a full drawing at the top of its arc.
    auto changedPixels = [](int32_t flightTime) {
        CScreen& screen = CScreen::instance();
        screen.clear();
        CGrenade grenade(100 * 8, 100 * 8, 100 * 8, 100 * 8);
        grenade.flightTime = flightTime;
        grenade.draw();
        int changed = 0;
        for (int i = 0; i < 320 * 232; ++i) changed += screen.surface()[i] != 0;
        return changed;
    };
    EXPECT_EQ(changedPixels(0), 1);
    EXPECT_GT(changedPixels(60), 40);
    EXPECT_LT(changedPixels(10), changedPixels(60));
}

}  // namespace
