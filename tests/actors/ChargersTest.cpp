#include <gtest/gtest.h>

#include "actors/Chargers.h"
#include "actors/Player.h"
#include "state/GameReport.h"
#include "state/Random.h"
#include "support/GameTest.h"
#include "support/Place.h"
#include "support/TestActor.h"

namespace {

class ChargersTest : public CPlayTest {
protected:
    static const CGameReport& report() { return CGameReport::instance(); }
};

TEST_F(ChargersTest, AZombieTurnsTheCaughtPlayerIntoAZombieAtItsTileCorner) {
    CMZombie* zombie = presentMonster<CMZombie>(kKindZombie, 2 * 64, 6 * 64, 2);
    // Filed at pixel (37, 50), over columns 4 and 5, then stepped on to column 5 alone.
    CPlayer* player = present(CPlayer::instance(1), 37 * 8, 50 * 8);
    player->x = 40 * 8;
    player->shieldTimer = 0;
    player->disks = 3;
    player->dir = 1;
    zombie->onTouch(*player);
    CGameObject* made = CWorld::instance().objects.back();
    ASSERT_EQ(made->kind, kKindZombie);
    ASSERT_NE(made, zombie);
    EXPECT_EQ(made->x, 32 * 8);
    EXPECT_EQ(made->y, 48 * 8);
    EXPECT_EQ(made->hitPoints, 4);
    EXPECT_EQ(made->disks, 3u);
    EXPECT_EQ(made->diskSpacing, 10);
    EXPECT_EQ(made->dir, 1);
    EXPECT_FALSE(made->spawning);
    EXPECT_TRUE(player->dead);
    EXPECT_EQ(player->hitPoints, 0);
    // No death of its own: one sample 11 (not the player's death sound again), no burst, no score.
    EXPECT_EQ(report().samples[12], 1u);
    EXPECT_EQ(report().samples[11], 1u);
    EXPECT_EQ(report().effects[static_cast<int>(EEffectClass::kParticles)], 0u);
    EXPECT_EQ(player->score, 0);
    EXPECT_FALSE(filedAnywhere(player));  // under neither of its places
    EXPECT_FALSE(filedAnywhere(made));    // not before its first move within a tile
    runWorld(1);
    EXPECT_EQ(player->lives, 2);
    EXPECT_EQ(countOfKind(kKindDisk), 0);  // the disks went on with the new zombie
}

TEST_F(ChargersTest, AZombieConvertsOnlyALiveUnshieldedEnemyFacingItsShell) {
    struct SCase {
        const char* what;
        int32_t kind, victimDir, shield;
        bool frozen, deadVictim, converts;
    } const cases[] = {
        {"an enemy", kKindDummy, 3, 0, false, false, true},
        {"a shell head-on", kKindLBug, 0, 0, false, false, true},
        {"a shell from its side", kKindLBug, 1, 0, false, false, false},
        {"a shielded enemy", kKindDummy, 0, 7, false, false, false},
        {"an enemy, frozen", kKindDummy, 0, 0, true, false, false},
        {"a faction mate", kKindGrim, 0, 0, false, false, false},
        {"a corpse", kKindDummy, 0, 0, false, true, false},
    };
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CMZombie* zombie = presentMonster<CMZombie>(kKindZombie, 10 * 64, 10 * 64, 2);
        zombie->frozenTimer = c.frozen ? 9 : 0;
        CTestActor* victim = presentTarget(c.kind, 11 * 64 + 24, 10 * 64, 3);  // filed off the grid
        victim->x += 8;
        victim->dir = c.victimDir;
        victim->shieldTimer = c.shield;
        victim->dead = c.deadVictim;
        const size_t before = CWorld::instance().objects.size();
        zombie->attack(*victim);
        ASSERT_EQ(CWorld::instance().objects.size(), before + (c.converts ? 1 : 0)) << c.what;
        EXPECT_EQ(victim->dead, c.converts || c.deadVictim) << c.what;
        if (!c.converts) continue;
        EXPECT_EQ(CWorld::instance().objects.back()->x, 11 * 64 + 24) << c.what;  // not snapped
        EXPECT_FALSE(filedAnywhere(victim)) << c.what;
    }
}

TEST_F(ChargersTest, ChargesStartAtAnEnemyAheadZombiesAndGhostsOnlyFromLevel11) {
    struct SCase {
        int32_t kind, levelNumber, timer, sample, chargeSpeed;
    } const cases[] = {{kKindZombie, 10, 0, 12, 2},
                       {kKindZombie, 11, 40, 12, 2},
                       {kKindGhost, 10, 0, 12, 2},
                       {kKindGhost, 11, 40, 12, 2},
                       {kKindBerzerker, 0, 40, 14, 3}};
    for (const SCase& c : cases) {
        CWorld::instance().clear(true);
        CLevel::instance().levelNumber = c.levelNumber;
        CBaseMonster* m = presentMonster(c.kind, 10 * 64, 10 * 64, 2);
        int32_t& chargeTimer = c.kind == kKindZombie  ? static_cast<CMZombie*>(m)->chargeTimer
                               : c.kind == kKindGhost ? static_cast<CMGhost*>(m)->chargeTimer
                                                      : static_cast<CMBerzerker*>(m)->chargeTimer;
        CTestActor* enemy = presentTarget(kKindDummy, 15 * 64, 10 * 64, 1);
        const uint32_t sounds = report().samples[c.sample];
        EXPECT_EQ(m->think(), 1);
        EXPECT_EQ(chargeTimer, c.timer) << "kind " << c.kind << " level " << c.levelNumber;
        // Only the zombie and the berzerker are heard, and only when a charge starts.
        const bool heard = c.timer != 0 && c.kind != kKindGhost;
        m->think();
        EXPECT_EQ(report().samples[c.sample], sounds + (heard ? 1 : 0)) << "kind " << c.kind;
        EXPECT_EQ(m->speed, c.timer != 0 ? c.chargeSpeed : 1);
        // The end of a charge is walking pace, a speed disk or not.
        CWorld::instance().fileAt(enemy, true);
        m->speed = m->fastSpeed;
        chargeTimer = 1;
        EXPECT_EQ(m->think(), 0);
        EXPECT_EQ(m->speed, 1);
    }
}

TEST_F(ChargersTest, AShotBerzerkerScoresAndHurtsAllWithinTwoTilesButTheShielded) {
    for (const int32_t shield : {0, 30}) {
        CWorld::instance().clear(true);
        CMBerzerker* berzerker = presentMonster<CMBerzerker>(kKindBerzerker, 640, 640, 2);
        berzerker->disks = 2;
        CTestActor* biter = presentTarget(kKindBiter, 11 * 64, 10 * 64, 5);
        CTestActor* zombie = presentTarget(kKindZombie, 9 * 64, 12 * 64, 5);
        CTestActor* far = presentTarget(kKindDummy, 13 * 64, 10 * 64, 5);
        CPlayer* player = present(CPlayer::instance(1), 12 * 64, 11 * 64);
        player->shieldTimer = shield;
        player->hitPoints = 5;
        const uint32_t bangs = report().samples[17];
        berzerker->die(1);  // the player's shot
        EXPECT_EQ(player->score, 400);
        EXPECT_EQ(biter->hitPoints, 3);
        EXPECT_EQ(zombie->hitPoints, 3);
        EXPECT_EQ(far->hitPoints, 5);
        EXPECT_EQ(player->hitPoints, shield ? 5 : 3);
        EXPECT_EQ(report().samples[17], bangs + 1);
        EXPECT_EQ(report().samples[8], 0u);
        EXPECT_EQ(countOfKind(kKindDisk), 2);
        EXPECT_FALSE(filedAnywhere(berzerker));
    }
}

TEST_F(ChargersTest, ABerzerkerTouchingAnEnemyExplodesAndSetsOffItsNeighbour) {
    CMBerzerker* first = presentMonster<CMBerzerker>(kKindBerzerker, 10 * 64, 10 * 64, 0);
    CMBerzerker* second = presentMonster<CMBerzerker>(kKindBerzerker, 12 * 64, 10 * 64, 0);
    CTestActor* touched = presentTarget(kKindDummy, 9 * 64, 10 * 64, 9);
    // Within the second's blast.
    CTestActor* beyond = presentTarget(kKindDummy, 14 * 64, 10 * 64, 9);
    first->onTouch(*touched);
    EXPECT_TRUE(first->dead && second->dead);
    EXPECT_EQ(second->killedBy, 0);
    EXPECT_EQ(report().samples[17], 2u);
    EXPECT_EQ(touched->hitPoints, 7);
    EXPECT_EQ(beyond->hitPoints, 7);
    EXPECT_EQ(report().effects[static_cast<int>(EEffectClass::kShockwave)], 2u);
}

TEST_F(ChargersTest, BerserkOddsAreDrawnOnlyBelowLevel20) {
    struct SCase {
        int32_t levelNumber, odds;  // one in odds; 0: always, without a draw
    } const cases[] = {{15, 5}, {19, 1}, {20, 0}, {25, 0}};
    for (const SCase& c : cases) {
        int berserkCount = 0;
        for (uint32_t seed = 1; seed <= 60; ++seed) {
            seedGameRand(seed);
            gameRand();  // the direction
            const int32_t odds = gameRand(), after = gameRand();
            seedGameRand(seed);
            CLevel::instance().levelNumber = c.levelNumber;
            CMBerzerker berzerker;
            EXPECT_EQ(berzerker.berserk, c.odds == 0 || odds % c.odds == 0);
            EXPECT_EQ(gameRand(), c.odds == 0 ? odds : after) << "level " << c.levelNumber;
            berserkCount += berzerker.berserk;
        }
        if (c.odds == 5) {
            EXPECT_TRUE(berserkCount > 0 && berserkCount < 30) << berserkCount;
        }
    }
}

TEST_F(ChargersTest, GhostsAndBerserkBerzerkersHomeInOnThePlayer) {
    CPlayer* player = CPlayer::instance(1);
    player->x = 30 * 64;  // right of and below them
    player->y = 20 * 64;
    auto* ghost = presentMonster<CMGhost>(kKindGhost, 10 * 64, 10 * 64, 0);
    auto* berserk = presentMonster<CMBerzerker>(kKindBerzerker, 10 * 64, 14 * 64, 0);
    berserk->berserk = true;
    EXPECT_TRUE(ghost->randomTurn());
    EXPECT_TRUE(berserk->randomTurn());
    EXPECT_EQ(ghost->dir, 3);
    EXPECT_EQ(berserk->dir, 3);
    // Heading for the player's column, a berserk one keeps on; a calm one turns aside.
    berserk->dir = 2;
    EXPECT_FALSE(berserk->randomTurn());
    berserk->berserk = false;
    EXPECT_TRUE(berserk->randomTurn());
    EXPECT_NE(berserk->dir, 2);
}

TEST_F(ChargersTest, AGhostSwallowsAnEnemyFromAnySideWithTheDisksItCarried) {
    auto* ghost = presentMonster<CMGhost>(kKindGhost, 10 * 64, 10 * 64, 2);
    CTestActor* shielded = presentTarget(kKindDummy, 11 * 64, 10 * 64, 1);
    shielded->shieldTimer = 5;
    shielded->disks = 2;
    ghost->attack(*shielded);
    EXPECT_FALSE(shielded->dead);
    EXPECT_EQ(ghost->disks, 0u);
    CTestActor* bug = presentTarget(kKindLBug, 11 * 64, 10 * 64, 1);
    bug->dir = 2;  // its back to the ghost
    bug->disks = 2;
    ghost->attack(*bug);
    EXPECT_TRUE(bug->dead);
    EXPECT_EQ(bug->disks, 0u);
    EXPECT_EQ(ghost->hitPoints, 4);
    EXPECT_EQ(ghost->disks, 2u);
    EXPECT_EQ(ghost->diskSpacing, 16);
    EXPECT_EQ(countOfKind(kKindDisk), 0);  // nothing dropped
    EXPECT_EQ(report().samples[10], 1u);
    EXPECT_EQ(bug->killedBy, 0);
}

TEST_F(ChargersTest, WhatABerzerkerBlewUpIsNotConvertedSwallowedOrBittenAgain) {
    for (const int32_t kind : {kKindZombie, kKindGhost, kKindBeav}) {
        CWorld::instance().clear(true);
        CGameReport::resetInstance();
        // The berzerker one unit short of touching; the touched monster tough enough to live.
        auto* berzerker = presentMonster<CMBerzerker>(kKindBerzerker, 10 * 64 + 7, 10 * 64, 2);
        CBaseMonster* touched = presentMonster(kind, 11 * 64, 10 * 64, 0);
        touched->hitPoints = 5;
        berzerker->update();
        EXPECT_TRUE(berzerker->dead);
        EXPECT_EQ(touched->hitPoints, 3) << "kind " << kind;
        EXPECT_EQ(report().samples[17], 1u) << "kind " << kind;
        EXPECT_EQ(report().created[kKindZombie], kind == kKindZombie ? 1u : 0u) << "kind " << kind;
    }
}

}  // namespace
