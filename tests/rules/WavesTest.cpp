#include <gtest/gtest.h>

#include "actors/BaseMonster.h"
#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "render/Screen.h"
#include "rules/LevelStart.h"
#include "rules/Waves.h"
#include "sound/SoundManager.h"
#include "state/GameState.h"
#include "state/Random.h"
#include "support/GameTest.h"
#include "support/Maze.h"
#include "support/Place.h"
#include "support/TestActor.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

class WavesTest : public CPlayTest {
protected:
    void SetUp() override {
        CPlayTest::SetUp();
        map_.monsterTypes[0] = kKindSoldier;
        map_.monsterTypeCount = 1;
        map_.maxMonsters = 10;
        level().currentMap = &map_;
        level().levelNumber = 0;
    }
    CLevel& level() { return CLevel::instance(); }
    // Starts the level's schedule as the level start does.
    void start(int32_t firstWave) {
        map_.firstWave = static_cast<uint8_t>(firstWave);
        level().spawnedCount = 0;
        level().waveQuota = firstWave;
        level().refillMode = false;
        level().lastWaveFrame = UINT32_MAX;
    }
    // The drawn frames from..to, each with one call of the schedule.
    void frames(uint32_t from, uint32_t to, int32_t alive = 0) {
        for (uint32_t f = from; f <= to; ++f) {
            CGameState::instance().frameCounter = f;
            updateWaves(level(), alive);
        }
    }
    SMapRecord map_;
};

// A level start after level number 5: everything of the last level goes, the best level
// takes the one just finished, and the next starts with its map, a player back at the start
// (keeping what a new level keeps), six disks, a fresh schedule, a cleared picture and its music.
TEST_F(WavesTest, ALevelStartClearsTheLastLevelAndSetsOutTheNext) {
    CHeadlessBackend backend;
    platformStartup(backend);
    level().maps = std::make_unique<MapList>();
    for (int i = 0; i < 3; ++i) {
        level().maps->push_back(std::make_unique<SMapRecord>());
        level().maps->back()->firstWave = static_cast<uint8_t>(4 * (i + 1));
    }
    CGameState& state = CGameState::instance();
    state.bestLevel = 2;
    state.frameCounter = 777;
    level().levelNumber = 5;
    level().extraLifeGiven = true;
    level().spawnedCount = 9;
    level().waveQuota = 3;
    level().refillMode = true;
    CPlayer* player = CPlayer::instance(1);
    present(player, 20 * 64, 9 * 64)->disks = 4;
    player->hitPoints = 7;
    player->speed = 5;
    present(new CTestActor(kKindSoldier), 640, 640);
    CEffectManager::instance().spawnParticles(10, 10, 0, false, player->burstColours);
    CSoundMixer& mixer = CSoundManager::instance().mixer;
    mixer.startMusic(3);
    CScreen::instance().surface()[1000] = 0xFFFF;
    const uint32_t pictures = picturesShown();

    startLevel(level());
    EXPECT_EQ(state.bestLevel, 5);  // the level just finished, not the one starting
    EXPECT_EQ(level().levelNumber, 6);
    EXPECT_EQ(level().currentMap, level().mapAt(0));
    EXPECT_FALSE(level().extraLifeGiven);
    EXPECT_EQ(state.frameCounter, 0u);
    EXPECT_EQ(CEffectManager::instance().count(), 0u);
    const auto& objects = CWorld::instance().objects;
    ASSERT_EQ(objects.size(), 7u);
    EXPECT_EQ(objects.front(), player);
    for (const CGameObject* actor : objects) EXPECT_TRUE(actor->spawning);
    EXPECT_EQ(countOfKind(kKindDisk), 6);
    EXPECT_EQ(player->x, 64);
    EXPECT_EQ(player->y, 64);
    EXPECT_EQ(player->disks, 0u);
    EXPECT_EQ(player->hitPoints, 7);
    EXPECT_EQ(player->speed, 5);
    EXPECT_FALSE(filedAnywhere(player));
    EXPECT_EQ(level().spawnedCount, 0);
    EXPECT_EQ(level().waveQuota, 4);
    EXPECT_FALSE(level().refillMode);
    EXPECT_EQ(picturesShown(), pictures + 1);
    EXPECT_EQ(CScreen::instance().surface()[1000], 0);
    EXPECT_TRUE(mixer.musicPlaying);
    EXPECT_EQ(mixer.musicId, 6 % 4);
    EXPECT_EQ(mixer.musicVolume, CSoundMixer::kFullVolume);  // faded in
}

TEST_F(WavesTest, TheFirstWaveComesInBatchesOfFourUpToTheNextMultiple) {
    start(5);
    frames(1, 39);
    EXPECT_EQ(countOfKind(kKindSoldier), 0);
    frames(40, 40);
    EXPECT_EQ(countOfKind(kKindSoldier), 4);
    frames(41, 200);
    EXPECT_EQ(countOfKind(kKindSoldier), 8);
    EXPECT_TRUE(level().refillMode);
}

TEST_F(WavesTest, RefillsAreSizedByTheRoomUnderTheCeiling) {
    start(0);
    frames(1, 1);
    EXPECT_TRUE(level().refillMode);  // nothing to place: waiting for a refill
    // Ceiling 3 with 2 alive: room 1, a quota of 0.
    map_.maxMonsters = 3;
    frames(2, 2100, 2);
    EXPECT_EQ(level().waveQuota, 0);
    // Room 10: the quota is 5 plus half of a draw below 10, delivered every 300 frames.
    map_.maxMonsters = 10;
    frames(2101, 4199, 0);
    seedGameRand(77);
    const int expected = 10 / 2 + (gameRand() % 10) / 2;
    seedGameRand(77);
    frames(4200, 4200, 0);
    EXPECT_EQ(level().waveQuota, expected);
    frames(4201, 4499, 0);
    EXPECT_EQ(countOfKind(kKindSoldier), 0);
    frames(4500, 4500, 0);
    EXPECT_EQ(countOfKind(kKindSoldier), 4);
}

TEST_F(WavesTest, AFrozenFrameCounterRepeatsABatchButNotARefillOrADisk) {
    // A menu open on a batch frame: the batch repeats up to the quota and no further.
    start(9);
    for (int i = 0; i < 6; ++i) frames(40, 40);
    EXPECT_EQ(countOfKind(kKindSoldier), 12);
    // On a disk frame: one disk, however long the menu stays.
    const int disks = countOfKind(kKindDisk);
    for (int i = 0; i < 50; ++i) frames(3300, 3300);
    EXPECT_EQ(countOfKind(kKindDisk), disks + 1);
    // On a refill frame that is also a batch frame: one refill, delivered, not re-armed.
    for (int i = 0; i < 50; ++i) frames(4200, 4200, 0);
    const int32_t quota = level().waveQuota;
    EXPECT_EQ(countOfKind(kKindSoldier), 12 + (quota + 3) / 4 * 4);
}

TEST_F(WavesTest, APlacementThatGivesUpIsNotCounted) {
    // Floor only along row 10, and something standing on every tile of it.
    for (int32_t c = 0; c < kMazeColumns; ++c) {
        for (int32_t r = 0; r < kMazeRows; ++r) level().tiles[c][r] = r == 10 ? 0 : 1;
        presentTarget(kKindDisk, c * 64, 10 * 64, 1);
    }
    start(4);
    frames(40, 40);
    EXPECT_EQ(level().spawnedCount, 0);
    EXPECT_EQ(countOfKind(kKindSoldier), 0);
}

TEST_F(WavesTest, ThePeriodsStopAtTwentyFramesOnVeryHighLevels) {
    level().levelNumber = 200;  // 2100 - 4000 and 3300 - 4000 are both below zero
    start(0);
    frames(1, 19);
    EXPECT_EQ(countOfKind(kKindDisk), 0);
    frames(20, 20);
    EXPECT_EQ(countOfKind(kKindDisk), 1);
    EXPECT_GT(level().waveQuota, 0);
}

TEST_F(WavesTest, TheFirstWaveDrawsKindThenHeadingThenTilesForEachMonster) {
    map_.monsterTypes[1] = kKindWizard;
    map_.monsterTypes[2] = kKindScorp;
    map_.monsterTypeCount = 3;
    start(4);
    seedGameRand(1234);
    struct SExpected {
        int32_t kind, dir, x, y;
    } expected[4];
    const int32_t kinds[3] = {kKindSoldier, kKindWizard, kKindScorp};
    for (SExpected& e : expected) {
        e.kind = kinds[gameRand() % 3];
        e.dir = gameRand() % 4;
        e.x = (gameRand() % 40) * 64;  // the open maze: the first tile is free
        e.y = (gameRand() % 29) * 64;
    }
    seedGameRand(1234);
    frames(40, 40);
    ASSERT_EQ(CWorld::instance().objects.size(), 4u);
    int i = 0;
    for (const CGameObject* a : CWorld::instance().objects) {
        const SExpected& e = expected[i++];
        EXPECT_EQ(a->kind, e.kind);
        EXPECT_EQ(a->dir, e.dir);
        EXPECT_EQ(a->x, e.x);
        EXPECT_EQ(a->y, e.y);
    }
}

}  // namespace
