#include <gtest/gtest.h>

#include <array>

#include "actors/BaseSpar.h"
#include "actors/Grenade.h"
#include "actors/MEgg.h"
#include "actors/Player.h"
#include "actors/Specialists.h"
#include "effects/EffectManager.h"
#include "effects/Laser.h"
#include "render/Screen.h"
#include "state/GameReport.h"
#include "support/GameTest.h"
#include "support/Maze.h"
#include "support/Place.h"
#include "support/TestActor.h"

namespace {

// Row 10 as a corridor between walls, open at both ends.
const std::initializer_list<std::string> kCorridor = {
    "", "", "", "", "", "", "", "", "", std::string(40, '#'), "", std::string(40, '#')};

class SpecialistsTest : public CPlayTest {
protected:
    static const CGameReport& report() { return CGameReport::instance(); }
    template <class T>
    static const T* lastOfKind(int32_t kind) {
        const CGameObject* found = nullptr;
        for (const CGameObject* a : CWorld::instance().objects)
            if (a->kind == kind) found = a;
        return static_cast<const T*>(found);
    }
    static void restart(std::initializer_list<std::string> maze = {}) {
        CWorld::instance().clear(true);
        CEffectManager::instance().clear();
        CGameReport::resetInstance();
        loadTestMaze(maze);
    }
};

TEST_F(SpecialistsTest, AChickenLaysAnEggAtAnEnemyAheadThenTurnsAsideOrBackOrHolds) {
    struct SCase {
        const char* what;
        bool corridor;
        int32_t enemyBehind;  // tiles behind, round the wrap; 0: none
        int32_t dirAfter;     // -1: either side
    } const cases[] = {{"at a corner", false, 0, -1},
                       {"in a corridor", true, 0, 0},
                       {"between two enemies", true, 20, 2},
                       {"the one behind out of sight", true, 21, 0}};
    for (const SCase& c : cases) {
        restart(c.corridor ? kCorridor : std::initializer_list<std::string>{});
        auto* chicken = presentMonster<CMChicken>(kKindChicken, 10 * 64, 10 * 64, 2);
        presentTarget(kKindDummy, 13 * 64, 10 * 64, 3);
        if (c.enemyBehind) presentTarget(kKindPlayer, (50 - c.enemyBehind) % 40 * 64, 10 * 64, 3);
        EXPECT_EQ(chicken->think(), 1) << c.what;
        const CMEgg* egg = lastOfKind<CMEgg>(kKindEgg);
        ASSERT_NE(egg, nullptr) << c.what;
        EXPECT_EQ(egg->x, 11 * 64);
        EXPECT_EQ(egg->fuse, 160);
        EXPECT_EQ(report().samples[6], 1u);
        EXPECT_EQ(report().shotsFired[kKindChicken], 1u);
        EXPECT_EQ(chicken->fireCooldown, 240);
        if (c.dirAfter == -1) {
            EXPECT_TRUE(chicken->dir == 1 || chicken->dir == 3) << c.what;
        } else {
            EXPECT_EQ(chicken->dir, c.dirAfter) << c.what;
        }
    }
}

TEST_F(SpecialistsTest, AChickenWalksToHarmlessThingsAsideAndEggsEnemiesOnFreeSpotsOnly) {
    struct SCase {
        const char* what;
        int32_t kind, tx, ty;            // the chicken at tile (10, 10) heading right
        int32_t result, dirAfter, eggX;  // eggX -1: no egg
    } const cases[] = {
        {"a disk on its right", kKindDisk, 10, 12, 1, 3, -1},
        {"a faction mate on its left", kKindScorp, 10, 8, 1, 1, -1},
        {"an enemy on its right", kKindDummy, 10, 12, 1, 2, 10 * 64},
        {"a disk behind: only enemies count there", kKindDisk, 8, 10, 0, 2, -1},
        {"an enemy behind", kKindDummy, 7, 10, 1, -1, 9 * 64},
        {"an enemy on the egg's spot: no egg, it may try again", kKindDummy, 11, 10, 1, -1, -1},
    };
    for (const SCase& c : cases) {
        restart();
        auto* chicken = presentMonster<CMChicken>(kKindChicken, 10 * 64, 10 * 64, 2);
        presentTarget(c.kind, c.tx * 64, c.ty * 64, 3);
        EXPECT_EQ(chicken->think(), c.result) << c.what;
        if (c.dirAfter != -1) {
            EXPECT_EQ(chicken->dir, c.dirAfter) << c.what;
        }
        const CMEgg* egg = lastOfKind<CMEgg>(kKindEgg);
        EXPECT_EQ(egg ? egg->x : -1, c.eggX) << c.what;
        EXPECT_EQ(report().samples[6], egg ? 1u : 0u) << c.what;
        EXPECT_EQ(chicken->fireCooldown, egg ? 240 : 0) << c.what;
    }
}

TEST_F(SpecialistsTest, AnEyeBurnsAnEnemyAheadInTheSameUpdateOrDodgesWhileReloading) {
    for (const int32_t cooldown : {0, 9}) {
        restart();
        auto* eye = presentMonster<CMEye>(kKindEye, 10 * 64, 10 * 64, 2);
        eye->fireCooldown = cooldown;
        CTestActor* enemy = presentTarget(kKindPlayer, 15 * 64, 10 * 64, 3);
        eye->update();
        if (cooldown == 0) {
            EXPECT_EQ(report().samples[5], 1u);
            EXPECT_EQ(enemy->hitPoints, 2);
            EXPECT_EQ(eye->fireCooldown, 240);
            EXPECT_EQ(report().shotsFired[kKindEye], 1u);
            ASSERT_EQ(CEffectManager::instance().count(), 2u);  // the beam, then the hit's burst
            EXPECT_EQ(eye->dir, 2);
        } else {
            EXPECT_EQ(report().samples[5], 0u);
            EXPECT_EQ(enemy->hitPoints, 3);
            EXPECT_TRUE(eye->dir == 1 || eye->dir == 3) << eye->dir;  // out of the line
        }
    }
}

// The beam runs from the eye's side of the target to the eye, along the middle of the corridor:
// the eye at pixel (80, 80), the enemy 5 tiles (40 pixels) away.
TEST_F(SpecialistsTest, AnEyesBeamSpansTheGapInEachDirection) {
    const struct {
        int32_t dir, x, y, width, height;
    } cases[] = {{0, 52, 84, 28, 2}, {1, 84, 52, 2, 28}, {2, 92, 84, 28, 2}, {3, 84, 92, 2, 28}};
    const int32_t step[4][2] = {{-5, 0}, {0, -5}, {5, 0}, {0, 5}};
    for (const auto& c : cases) {
        restart();
        auto* eye = presentMonster<CMEye>(kKindEye, 10 * 64, 10 * 64, c.dir);
        presentTarget(kKindPlayer, (10 + step[c.dir][0]) * 64, (10 + step[c.dir][1]) * 64, 3);
        EXPECT_EQ(eye->think(), 1);
        ASSERT_GE(CEffectManager::instance().count(), 1u);
        const auto* beam = dynamic_cast<const CLaser*>(CEffectManager::instance().at(0));
        ASSERT_NE(beam, nullptr);
        EXPECT_EQ(beam->colour, 0x001F);
        EXPECT_EQ((std::array{beam->x, beam->y, beam->width, beam->height}),
                  (std::array{c.x, c.y, c.width, c.height}))
            << "heading " << c.dir;
    }
}

TEST_F(SpecialistsTest, AnEyeTurnsToAnEnemyBehindOnlyWhenReadyAndBurnsAShellOnlyHeadOn) {
    for (const int32_t cooldown : {0, 9}) {
        restart();
        auto* eye = presentMonster<CMEye>(kKindEye, 10 * 64, 10 * 64, 2);
        eye->fireCooldown = cooldown;
        presentTarget(kKindPlayer, 6 * 64, 10 * 64, 3);
        EXPECT_EQ(eye->think(), cooldown == 0 ? 1 : 0);
        EXPECT_EQ(eye->dir, cooldown == 0 ? 0 : 2);
    }
    for (const int32_t bugDir : {2, 0}) {  // its back to the eye, then facing it
        restart();
        auto* eye = presentMonster<CMEye>(kKindEye, 10 * 64, 10 * 64, 2);
        CTestActor* bug = presentTarget(kKindLBug, 14 * 64, 10 * 64, 2);
        bug->dir = bugDir;
        eye->think();
        EXPECT_EQ(report().samples[5], 1u);
        EXPECT_EQ(report().effects[static_cast<int>(EEffectClass::kLaser)], 1u);
        EXPECT_EQ(bug->hitPoints, bugDir == 0 ? 1 : 2) << "bug dir " << bugDir;
    }
}

TEST_F(SpecialistsTest, AGrenadierThrowsOverWallsAtTheFirstEnemyWithinFourTiles) {
    struct SCase {
        const char* what;
        int32_t firstX, secondX;  // tile columns on row 10 (-1: none); the grenadier at 10
        int32_t velX;             // -1: no throw
    } const cases[] = {
        {"three tiles away", 13, -1, 1},
        {"five tiles away", 15, -1, -1},
        {"two enemies: the first made, not the nearest", 14, 12, 2},
    };
    for (const SCase& c : cases) {
        restart({"", "", "", "", "", "", "", "", "", "", "           #"});  // a wall at (11, 10)
        auto* grenadier = presentMonster<CMGrenadeer>(kKindGrenadeer, 10 * 64, 10 * 64, 1);
        presentTarget(kKindSoldier, 9 * 64, 9 * 64, 3);  // a faction mate first in the square
        presentTarget(kKindPlayer, c.firstX * 64, 10 * 64, 3);
        if (c.secondX != -1) presentTarget(kKindDummy, c.secondX * 64, 10 * 64, 3);
        grenadier->think();
        const CGrenade* grenade = lastOfKind<CGrenade>(kKindGrenade);
        EXPECT_EQ(grenade ? grenade->velX : -1, c.velX) << c.what;
        EXPECT_EQ(report().samples[20], grenade ? 1u : 0u) << c.what;
        EXPECT_EQ(report().shotsFired[kKindGrenadeer], grenade ? 1u : 0u) << c.what;
        if (!grenade) continue;
        EXPECT_EQ(grenade->x, 10 * 64 + 32);  // from the middle of its box
        EXPECT_EQ(grenadier->fireCooldown, 250);
    }
}

TEST_F(SpecialistsTest, AGrimReelsInAFactionAMonsterAnEighthPixelAnUpdateAndSwallowsIt) {
    auto* grim = presentMonster<CMGrim>(kKindGrim, 10 * 64, 10 * 64, 2);
    CTestActor* victim = presentTarget(kKindScorp, 20 * 64, 10 * 64, 1);
    victim->disks = 2;
    victim->dir = 1;
    victim->deathSound = 8;
    uint16_t* surface = CScreen::instance().surface();
    for (int i = 0; i < kScreenPixels; ++i) surface[i] = 0x1234;
    EXPECT_EQ(grim->think(), 1);
    EXPECT_EQ(victim->x, 20 * 64 - 1);
    EXPECT_EQ(victim->prevX, 20 * 64);
    EXPECT_EQ(victim->dir, 0);  // turned to face the grim
    EXPECT_TRUE(CWorld::instance().cells[19][10].contains(victim));
    // The tongue, a grey, from the grim's right side to the victim along the corridor's middle.
    for (const int32_t px : {88, 120, 159}) {
        const uint16_t grey = surface[84 * 320 + px];
        EXPECT_TRUE(grey != 0x1234 && grey % 0x0841 == 0) << "pixel " << px << ": " << grey;
    }
    EXPECT_EQ(surface[84 * 320 + 161], 0x1234);
    // Nothing but the tongue closes the gap: the victim touches the grim after 577 pulls.
    int pulls = 1;
    while (!victim->dead && pulls < 1000) {
        grim->think();
        ++pulls;
    }
    EXPECT_EQ(pulls, 577);
    EXPECT_EQ(grim->hitPoints, 6);
    EXPECT_EQ(grim->disks, 2u);
    EXPECT_EQ(victim->killedBy, 0);
    EXPECT_EQ(report().samples[10], 1u);
    EXPECT_EQ(grim->fireCooldown, 0);  // the tongue does not wait for a cooldown
    grim->attack(*victim);             // a corpse is not swallowed again
    EXPECT_EQ(report().samples[10], 1u);
    EXPECT_EQ(report().samples[8], 1u);
}

TEST_F(SpecialistsTest, AGrimPullsOnlyAlongACorridorAndNeverAShieldedVictim) {
    struct SCase {
        const char* what;
        int32_t kind, grimDir, grimDy, vx, vy, shield;
        int32_t dx, dy;  // the pull the victim feels
    } const cases[] = {
        {"a monster ahead", kKindScorp, 2, 0, 960, 640, 0, -1, 0},
        {"a monster above", kKindScorp, 1, 0, 640, 320, 0, 0, 1},
        {"a monster below, off the line", kKindScorp, 3, 0, 656, 960, 0, 0, 0},
        {"a shielded monster", kKindScorp, 2, 0, 960, 640, 5, 0, 0},
        {"a monster off the line", kKindScorp, 2, 0, 960, 656, 0, 0, 0},
        {"the grim off the line", kKindScorp, 2, 16, 960, 640, 0, 0, 0},
        {"the player off the line, free to come", kKindPlayer, 2, 0, 960, 656, 0, -1, 0},
    };
    for (const SCase& c : cases) {
        restart();
        auto* grim = presentMonster<CMGrim>(kKindGrim, 10 * 64, 10 * 64 + c.grimDy, c.grimDir);
        CGameObject* victim =
            c.kind == kKindPlayer
                ? static_cast<CGameObject*>(present(CPlayer::instance(1), c.vx, c.vy))
                : presentTarget(c.kind, c.vx, c.vy, 3);
        victim->shieldTimer = c.shield;
        victim->dir = 2;
        EXPECT_EQ(grim->think(), 1) << c.what;
        EXPECT_EQ(victim->x, c.vx + c.dx) << c.what;
        EXPECT_EQ(victim->y, c.vy + c.dy) << c.what;
        const bool pulled = c.dx != 0 || c.dy != 0;
        EXPECT_EQ(victim->dir, pulled ? (c.grimDir + 2) & 3 : 2) << c.what;
    }
}

TEST_F(SpecialistsTest, ASpeedDiskReeledInStrengthensTheTongueAfterLevel9) {
    struct SCase {
        int32_t levelNumber, diskType, before, after;
    } const cases[] = {{9, CBaseSpar::kSpeed, 1, 1},
                       {10, CBaseSpar::kSpeed, 1, 2},
                       {10, CBaseSpar::kSpeed, 4, 6},
                       {10, CBaseSpar::kSpeed, 6, 6},
                       {10, CBaseSpar::kPlain, 1, 1}};
    for (const SCase& c : cases) {
        restart();
        CLevel::instance().levelNumber = c.levelNumber;
        auto* grim = presentMonster<CMGrim>(kKindGrim, 10 * 64, 10 * 64, 2);
        grim->pullStrength = c.before;
        auto* disk = new CBaseSpar;
        disk->diskType = c.diskType;
        disk->setup();
        present(disk, 703 + c.before, 10 * 64);  // one pull from pixel 87, touching the grim
        grim->think();
        EXPECT_TRUE(disk->dead) << "level " << c.levelNumber;
        EXPECT_EQ(grim->disks, 1u);
        EXPECT_EQ(grim->pullStrength, c.after) << "level " << c.levelNumber << " from " << c.before;
    }
}

}  // namespace
