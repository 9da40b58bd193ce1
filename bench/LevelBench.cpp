// The maze queries every moving actor asks at every tile corner, and the one-off read of
// maps.dat at start-up. The frame budget is 13.0 ms for a shown picture and two world updates.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/Files.h"
#include "state/Random.h"
#include "world/Level.h"
#include "world/LevelFile.h"

namespace {

CLevel& levelWithMap(int32_t n) {
    CLevel& level = CLevel::instance();
    if (!level.maps) level.loadMaps();  // the build puts maps.dat beside this program
    level.loadLevel(n);
    return level;
}

// All four ways out of every tile of a maze: 4,640 questions.
void BM_IsOpenWholeMaze(benchmark::State& state) {
    const CLevel& level = levelWithMap(5);
    for (auto _ : state) {
        int32_t open = 0;
        for (int32_t x = 0; x < kMazeColumns; ++x)
            for (int32_t y = 0; y < kMazeRows; ++y)
                for (int32_t dir = 0; dir < 4; ++dir) open += level.isOpen(x, y, dir);
        benchmark::DoNotOptimize(open);
    }
    state.SetItemsProcessed(state.iterations() * kMazeTiles * 4);
}
BENCHMARK(BM_IsOpenWholeMaze);

// A spawn point in the level with the least floor (about 350 of 1,160 tiles).
void BM_RandomFreeTile(benchmark::State& state) {
    const CLevel& level = levelWithMap(2);
    seedGameRand(1);
    for (auto _ : state) {
        int32_t x = 0, y = 0;
        level.randomFreeTile(x, y);
        benchmark::DoNotOptimize(x + y);
    }
}
BENCHMARK(BM_RandomFreeTile);

// Reading the whole shipped maps.dat from memory (start-up only).
void BM_ReadMapFile(benchmark::State& state) {
    std::vector<uint8_t> bytes;
    std::string error;
    readFile(findMapFile(), bytes, error, kMaxMapFileBytes);
    MapList maps;
    for (auto _ : state) {
        readMapFile(bytes, maps);
        benchmark::DoNotOptimize(maps.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadMapFile);

}  // namespace
