#include "rules/Waves.h"

#include <algorithm>

#include "actors/BaseMonster.h"
#include "actors/BaseSpar.h"
#include "rules/MonsterFactory.h"
#include "state/GameState.h"
#include "state/Random.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

constexpr uint32_t kFirstWaveBatchPeriod = 40;
constexpr uint32_t kRefillBatchPeriod = 300;
constexpr int kBatchSize = 4;
// The refill and disk periods shrink by 20 frames a level; from level number 105 (refills) and
// 165 (disks) on they would reach zero, so they stop at the last positive value.
constexpr int32_t kShortestPeriod = 20;

uint32_t period(int32_t base, int32_t levelNumber) {
    return static_cast<uint32_t>(std::max(base - 20 * levelNumber, kShortestPeriod));
}

}  // namespace

void updateWaves(CLevel& level, int32_t monstersAlive) {
    const uint32_t frame = CGameState::instance().frameCounter;
    // While a menu is open the frame counter stands still but the schedule is still asked: a
    // running batch repeats up to its quota, but a refill and a disk come once per frame.
    const bool newFrame = frame != level.lastWaveFrame;
    level.lastWaveFrame = frame;
    CWorld& world = CWorld::instance();

    if (level.spawnedCount < level.waveQuota) {
        const uint32_t batchPeriod = level.refillMode ? kRefillBatchPeriod : kFirstWaveBatchPeriod;
        if (frame % batchPeriod == 0)
            for (int i = 0; i < kBatchSize; ++i)
                if (CBaseMonster* monster = createRandomMonster(level))
                    if (world.addAtSpawnPoint(monster, true)) ++level.spawnedCount;
    } else {
        level.refillMode = true;
        const int32_t ceiling = level.currentMap ? level.currentMap->maxMonsters : 0;
        if (newFrame && frame % period(2100, level.levelNumber) == 0 && monstersAlive < ceiling) {
            const int32_t room = ceiling - monstersAlive;
            level.spawnedCount = 0;
            level.waveQuota = room / 2 + (gameRand() % room) / 2;
        }
    }
    if (newFrame && frame % period(3300, level.levelNumber) == 0) {
        CBaseSpar* disk = new CBaseSpar;
        disk->setup();
        world.addAtSpawnPoint(disk, true);
    }
}
