#include "shell/GameHooks.h"

#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "sound/SoundMixer.h"
#include "world/GameObject.h"

void wireGameHooks() {
    // Placed sounds are heard from player 1.
    CSoundMixer::listenerTile = [](int32_t& tileX, int32_t& tileY) {
        const CPlayer* listener = CPlayer::instance(1);
        tileX = listener->x >> 6;
        tileY = listener->y >> 6;
    };
    // A kill scores for the player who made it.
    CGameObject::creditScore = [](int32_t player, int32_t points) {
        if (CPlayer* credited = CPlayer::instance(player)) credited->addScore(points);
    };
    // The disks a carrier drops when it dies.
    CGameObject::newDisk = []() -> CGameObject* {
        CBaseSpar* disk = new CBaseSpar;
        disk->setup();
        return disk;
    };
}
