// One shown picture's worth of the game: two world updates, then the maze, the actors, the
// effects, the locator and the score panel drawn on a cleared surface. The frame budget is
// 13.0 ms; the headless backend stands in for the machine (its present is a copy).

#include <benchmark/benchmark.h>

#include "actors/BaseBullet.h"
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

// Percent of the frame budget: seconds per iteration over 13.0 ms.
void addBudgetShare(benchmark::State& state) {
    state.counters["frame_%"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 13e-3 / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The floor of every shown picture: clearing the surface and copying it to the display.
void BM_ClearAndCopy(benchmark::State& state) {
    static CHeadlessBackend backend;
    platformStartup(backend);
    CScreen& screen = CScreen::instance();
    static uint16_t framebuffer[kScreenPixels];
    for (auto _ : state) {
        screen.clear();
        fastCopy(framebuffer, screen.surface());
        benchmark::DoNotOptimize(framebuffer[0]);
    }
    addBudgetShare(state);
}
BENCHMARK(BM_ClearAndCopy);

// A level in play: the player, diskCount disks lying about, shotCount shots in flight (a new one
// for each that ends) and burstCount particle bursts going at any time.
void runFrames(benchmark::State& state, int64_t diskCount, int shotCount, int burstCount) {
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
    for (int64_t i = 0; i < diskCount; ++i) {
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
    CEffectManager& effects = CEffectManager::instance();
    for (auto _ : state) {
        // Shots from random free tiles along whatever way is open; they live until a wall.
        int shots = 0;
        for (const CGameObject* actor : world.objects) shots += actor->kind == kKindBullet;
        while (shots < shotCount) {
            int32_t tx = 0, ty = 0;
            level.randomFreeTile(tx, ty);
            for (int32_t d = 0; d < 4 && shots < shotCount; ++d)
                if (level.isOpen(tx, ty, d)) {
                    CBaseBullet* shot = new CBaseBullet(tx * 64, ty * 64, d, 14);
                    shot->setup();
                    world.add(shot);
                    ++shots;
                    break;
                }
        }
        world.update();
        world.update();
        if (burstCount == 0 && ++frame % 8 == 0)
            effects.spawnParticles(160, 116, 1, false, colours);
        while (static_cast<int>(effects.count()) < burstCount)
            effects.spawnParticles(20 + 25 * static_cast<int>(effects.count()), 116, 1, false,
                                   colours);
        screen.clear();
        screen.drawMaze(level.currentMap->tiles);
        world.draw();
        CEffectManager::instance().updateAndDraw();
        player->drawLocator();
        player->drawScorePanel();
        benchmark::DoNotOptimize(screen.surface()[0]);
    }
    addBudgetShare(state);
    world.clear(true);
    effects.clear();
}

void BM_DrawnFrame(benchmark::State& state) {
    runFrames(state, state.range(0), 0, 0);
}
BENCHMARK(BM_DrawnFrame)->Arg(6)->Arg(40);

// The same with 20 shots in flight and 10 bursts going.
void BM_ShootingFrame(benchmark::State& state) {
    runFrames(state, 6, 20, 10);
}
BENCHMARK(BM_ShootingFrame);

}  // namespace
