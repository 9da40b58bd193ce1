// The level start: from a map record to a level being played.

#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "world/GameState.h"
#include "world/Level.h"
#include "world/World.h"

namespace {
constexpr int kDisksAtStart = 6;
}

void CLevel::startLevel() {
    CWorld& world = CWorld::instance();
    world.clear(false);
    CEffectManager::instance().clear();
    CGameState::instance().frameCounter = 0;
    recordBestLevel();
    extraLifeGiven = false;
    levelNumber += 1;
    loadLevel(levelNumber);

    CPlayer* player = CPlayer::instance(1);
    player->reset(false);
    world.add(player);
    for (int i = 0; i < kDisksAtStart; ++i) {
        CBaseSpar* disk = new CBaseSpar;
        disk->setup();
        world.addAtSpawnPoint(disk, true);
    }

    spawnedCount = 0;
    waveQuota = currentMap ? currentMap->firstWave : 0;
    refillMode = false;
    lastWaveFrame = UINT32_MAX;

    CScreen& screen = CScreen::instance();
    screen.clear();
    screen.present(false);

    CSoundManager& sound = CSoundManager::instance();
    sound.stopMusic();
    sound.playMusic(levelNumber % 4);
}
