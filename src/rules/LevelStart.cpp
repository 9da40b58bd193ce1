#include "rules/LevelStart.h"

#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "state/GameState.h"
#include "world/Level.h"
#include "world/World.h"

namespace {
constexpr int kDisksAtStart = 6;
}

void startLevel(CLevel& level) {
    CWorld& world = CWorld::instance();
    world.clear(false);
    CEffectManager::instance().clear();
    CGameState::instance().frameCounter = 0;
    level.recordBestLevel();
    level.extraLifeGiven = false;
    level.levelNumber += 1;
    level.loadLevel(level.levelNumber);

    CPlayer* player = CPlayer::instance(1);
    player->reset(false);
    world.add(player);
    for (int i = 0; i < kDisksAtStart; ++i) {
        CBaseSpar* disk = new CBaseSpar;
        disk->setup();
        world.addAtSpawnPoint(disk, true);
    }

    level.spawnedCount = 0;
    level.waveQuota = level.currentMap ? level.currentMap->firstWave : 0;
    level.refillMode = false;
    level.lastWaveFrame = UINT32_MAX;

    CScreen& screen = CScreen::instance();
    screen.clear();
    screen.present(false);

    CSoundManager& sound = CSoundManager::instance();
    sound.stopMusic();
    sound.playMusic(level.levelNumber % 4);
}
