// One shown picture's worth of the game: two world updates, then the maze, the actors, the
// effects, the locator and the score panel drawn on a cleared surface. The frame budget is
// 13.0 ms; the headless backend stands in for the machine (its present is a copy). Each figure
// is also worth reading against BM_ClearAndCopy, the floor of every picture.

#include <benchmark/benchmark.h>

#include "BudgetShare.h"
#include "actors/BaseBullet.h"
#include "actors/BaseMonster.h"
#include "actors/BaseSpar.h"
#include "actors/Grenade.h"
#include "actors/MEgg.h"
#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "render/Screen.h"
#include "rules/MonsterFactory.h"
#include "shell/GameHooks.h"
#include "state/GameState.h"
#include "state/Random.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

// One headless backend for every benchmark of the file.
void startHeadless() {
    static CHeadlessBackend backend;
    platformStartup(backend);
    wireGameHooks();
}

// The floor of every shown picture: clearing the surface and copying it to the display.
void BM_ClearAndCopy(benchmark::State& state) {
    startHeadless();
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

// What is going on in the maze: disks lying about, shots in flight (a new one for each that
// ends), particle bursts going, monsters of every kind the factory makes (a new one for each
// that dies), grenades in flight and as many eggs ticking (a new one for each that goes off).
struct SScene {
    int disks;
    int shots;
    int bursts;
    int monsters;
    int bombs = 0;
};

class CSceneRunner {
public:
    explicit CSceneRunner(const SScene& scene) : scene_(scene) {
        startHeadless();
        seedGameRand(1);
        CGameState::instance().tutorial = false;
        if (!level_.maps) level_.loadMaps();
        level_.loadLevel(15);
        screen_.loadTileImages();
        CPlayer::buildLocatorTable();
        CGrenade::buildGrenadeTable();
        world_.clear(true);
        player_->reset(true);
        world_.add(player_);
        for (int i = 0; i < scene.disks; ++i) {
            CBaseSpar* disk = new CBaseSpar;
            disk->setup();
            world_.addAtSpawnPoint(disk, true);
        }
        for (int32_t type = 0; type < 16; ++type)
            if (CBaseMonster* m = createMonster(type)) {
                delete m;
                kinds_[kindCount_++] = type;
            }
        topUp();
        for (int i = 0; i < 200; ++i) world_.update();  // everyone materialised and shown
        // A full panel: eight digits of score, a ring of disks, the locator going.
        player_->score = 12345678;
        player_->disks = 3;
        player_->updateDiskSpacing();
        player_->locatorTimer = 1000000;
    }
    ~CSceneRunner() {
        world_.clear(true);
        effects_.clear();
    }

    // Brings the scene back to its numbers; the player cannot die in it.
    void topUp() {
        player_->shieldTimer = 1000000;
        int shots = 0, monsters = 0, grenades = 0, eggs = 0;
        for (const CGameObject* actor : world_.objects) {
            shots += actor->kind == kKindBullet;
            monsters += actor->kind < 16;
            grenades += actor->kind == kKindGrenade;
            eggs += actor->kind == kKindEgg;
        }
        while (shots < scene_.shots) {
            int32_t tx = 0, ty = 0;
            level_.randomFreeTile(tx, ty);
            for (int32_t d = 0; d < 4; ++d)
                if (level_.isOpen(tx, ty, d)) {
                    CBaseBullet* shot = new CBaseBullet(tx * 64, ty * 64, d, 14);
                    shot->setup();
                    world_.add(shot);
                    ++shots;
                    break;
                }
        }
        for (int32_t tx = 0, ty = 0; grenades < scene_.bombs; ++grenades) {
            level_.randomFreeTile(tx, ty);
            const int32_t x = tx * 64 + 32, y = ty * 64 + 32;
            auto* grenade = new CGrenade(x, y, x + 3 * 64, y - 2 * 64);
            grenade->setup();
            world_.add(grenade);
        }
        for (int32_t tx = 0, ty = 0; eggs < scene_.bombs; ++eggs) {
            level_.randomFreeTile(tx, ty);
            auto* egg = new CMEgg(tx * 64, ty * 64, 160);
            egg->setup();
            world_.add(egg);
        }
        for (; monsters < scene_.monsters && kindCount_ > 0; ++monsters)
            world_.addAtSpawnPoint(createMonster(kinds_[next_++ % kindCount_]), true);
        while (static_cast<int>(effects_.count()) < scene_.bursts)
            effects_.spawnParticles(20 + 25 * static_cast<int>(effects_.count()), 116, 1, false,
                                    kColours);
    }

    // One shown picture: two world updates and the drawing.
    void picture() {
        world_.update();
        world_.update();
        if (scene_.bursts == 0 && ++frame_ % 8 == 0)
            effects_.spawnParticles(160, 116, 1, false, kColours);
        screen_.clear();
        screen_.drawMaze(level_.currentMap->tiles);
        world_.draw();
        effects_.updateAndDraw();
        player_->drawLocator();
        player_->drawScorePanel();
        benchmark::DoNotOptimize(screen_.surface()[0]);
    }

    CWorld& world() { return world_; }

private:
    static constexpr uint16_t kColours[4] = {0xF800, 0xFFE0, 0x07E0, 0x001F};
    SScene scene_;
    CLevel& level_ = CLevel::instance();
    CScreen& screen_ = CScreen::instance();
    CWorld& world_ = CWorld::instance();
    CEffectManager& effects_ = CEffectManager::instance();
    CPlayer* player_ = CPlayer::instance(1);
    int32_t kinds_[16] = {};
    int kindCount_ = 0;
    int next_ = 0;
    uint32_t frame_ = 0;
};

void runPictures(benchmark::State& state, const SScene& scene) {
    CSceneRunner runner(scene);
    double effects = 0;
    for (auto _ : state) {
        runner.topUp();
        runner.picture();
        effects += static_cast<double>(CEffectManager::instance().count());
    }
    state.counters["effects"] = effects / static_cast<double>(state.iterations());
    addBudgetShare(state);
}

void BM_DrawnFrame(benchmark::State& state) {
    runPictures(state, {static_cast<int>(state.range(0)), 0, 0, 0});
}
BENCHMARK(BM_DrawnFrame)->Arg(6)->Arg(40);

// 20 shots in flight and 10 bursts going.
void BM_ShootingFrame(benchmark::State& state) {
    runPictures(state, {6, 20, 10, 0});
}
BENCHMARK(BM_ShootingFrame);

// A busy level: 60 monsters fighting as well.
void BM_BusyFrame(benchmark::State& state) {
    runPictures(state, {6, 20, 10, 60});
}
BENCHMARK(BM_BusyFrame);

// Eight grenades flying and eight eggs ticking, going off as they land and burn down: a blast
// with its ring and its 32 particles every few pictures.
void BM_ExplodingFrame(benchmark::State& state) {
    runPictures(state, {6, 0, 0, 0, 8});
}
BENCHMARK(BM_ExplodingFrame);

// The busy level's world updates alone, as a headless run makes them.
void BM_BusyWorldUpdate(benchmark::State& state) {
    CSceneRunner runner({6, 20, 10, 60});
    for (auto _ : state) {
        runner.topUp();
        runner.world().update();
    }
    state.counters["updates_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BusyWorldUpdate);

}  // namespace
