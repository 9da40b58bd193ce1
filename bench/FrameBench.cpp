// One shown picture's worth of the game: two world updates, then the maze, the actors, the
// effects, the locator and the score panel drawn on a cleared surface. The frame budget is
// 13.0 ms; the headless backend stands in for the machine (its present is a copy).

#include <benchmark/benchmark.h>

#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "render/Screen.h"
#include "world/GameState.h"
#include "world/Level.h"
#include "world/Random.h"
#include "world/World.h"

namespace {

// A level in play: the player, `disks` disks lying about, and a burst of particles now and then.
void BM_DrawnFrame(benchmark::State& state) {
    static CHeadlessBackend backend;
    platformStartup(backend);
    seedGameRand(1);
    CGameState::instance().tutorial = false;
    CLevel& level = CLevel::instance();
    if (!level.maps) level.loadMaps();
    level.loadLevel(15);
    CScreen& screen = CScreen::instance();
    screen.loadTileImages();
    CPlayer::buildLocatorTable();
    CWorld& world = CWorld::instance();
    world.clear(true);
    CPlayer* player = CPlayer::instance(1);
    player->reset(true);
    world.add(player);
    for (int64_t i = 0; i < state.range(0); ++i) {
        CBaseSpar* disk = new CBaseSpar;
        disk->setup();
        world.addAtSpawnPoint(disk, true);
    }
    for (int i = 0; i < 200; ++i) world.update();  // everyone materialised and shown
    player->disks = 3;
    player->updateDiskSpacing();
    player->locatorTimer = 1000000;
    const uint16_t colours[4] = {0xF800, 0xFFE0, 0x07E0, 0x001F};
    uint32_t frame = 0;
    for (auto _ : state) {
        world.update();
        world.update();
        if (++frame % 8 == 0)
            CEffectManager::instance().spawnParticles(160, 116, 1, false, colours);
        screen.clear();
        screen.drawMaze(level.currentMap->tiles);
        world.draw();
        CEffectManager::instance().updateAndDraw();
        player->drawLocator();
        player->drawScorePanel();
        benchmark::DoNotOptimize(screen.surface()[0]);
    }
    // Percent of the frame budget: seconds per iteration over 13.0 ms.
    state.counters["frame_%"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 13e-3 / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    world.clear(true);
    CEffectManager::instance().clear();
}
BENCHMARK(BM_DrawnFrame)->Arg(6)->Arg(40);

}  // namespace
