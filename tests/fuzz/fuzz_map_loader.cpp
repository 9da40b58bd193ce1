// Whatever bytes a user leaves in maps.dat, the game's own loader reads them, saying each problem
// in a line, and the game plays the levels it kept: each starts with its map, its waves bring
// the map's monsters for a while, and every actor stays inside the maze.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ScratchFile.h"
#include "actors/Grenade.h"
#include "actors/Player.h"
#include "platform/headless/HeadlessBackend.h"
#include "render/Screen.h"
#include "rules/LevelStart.h"
#include "rules/Waves.h"
#include "shell/GameHooks.h"
#include "state/GameState.h"
#include "state/Random.h"
#include "world/Level.h"
#include "world/LevelFile.h"
#include "world/World.h"

namespace {
// Enough to bring the first wave in and to run into what it brings.
constexpr int32_t kLevelsPlayed = 3;
constexpr int kPicturesPerLevel = 200;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static CHeadlessBackend backend;
    backend.setAudioUnlimited(true);
    platformStartup(backend);
    wireGameHooks();
    CGrenade::buildGrenadeTable();
    CPlayer::buildLocatorTable();
    CScreen::instance().loadTileImages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CScratchFile file(kMapFileName);
    file.hold(data, size);
    CLevel& level = CLevel::instance();
    CWorld& world = CWorld::instance();
    CGameState& state = CGameState::instance();
    // As a game starts: the practice maze to fall back on, then the level file.
    level.loadTutorialMap();
    if (!level.loadMapsFrom(file.path()) || !level.maps) __builtin_trap();
    if (level.maps->size() > kMaxMapCount) __builtin_trap();
    state.tutorial = false;
    seedGameRand(1);  // the same game for the same bytes

    const int32_t kept = static_cast<int32_t>(level.maps->size());
    for (int32_t n = 0; n < std::max(1, std::min(kept, kLevelsPlayed)); ++n) {
        world.clear(true);
        CPlayer::forgetAll();
        state.gameOver = false;
        level.levelNumber = n - 1;
        startLevel(level);
        if (level.currentMap != (kept ? level.mapAt(n) : level.tutorialMap.get())) __builtin_trap();
        for (int picture = 0; picture < kPicturesPerLevel; ++picture) {
            world.update();
            world.update();
            ++state.frameCounter;
            updateWaves(level, world.monstersAlive);
        }
        // The wrap-round keeps a position in the maze or on the pixel just past its last column
        // or row.
        for (const CGameObject* actor : world.objects)
            if (actor->x < 0 || (actor->x >> 3) > kMazeColumns * 8 || actor->y < 0 ||
                (actor->y >> 3) > kMazeRows * 8)
                __builtin_trap();
    }
    world.clear(true);
    CPlayer::forgetAll();
    return 0;
}
