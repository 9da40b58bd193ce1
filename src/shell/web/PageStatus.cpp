// What the page may read of a running game: the page's own test drives the game by its keys and
// checks here that it answered (boltfever.status() in the page's script).

#include <emscripten.h>

#include <cstdint>

#include "platform/Platform.h"
#include "platform/web/WebBackend.h"
#include "sound/SampleBank.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

enum EStatus {
    kPictures,      // pictures shown so far
    kPlayerX,       // player 1's pixel position; -1 while it is not in the maze
    kPlayerY,       //
    kShots,         // shots flying
    kPlayerShots,   // shots player 1 has fired
    kMasterVolume,  //
    kMusicVolume,   //
    kMenuOpen,      // 1 while the game is paused
    kLevel,         // level number
    kSleeps,        // times the game gave the tab back to the browser
    kSleptMs,       // for how long, in all
    kLateMs,        // how much longer than they asked, in all
    kSoundFrames,   // sound frames handed to the browser to play
    kBusyMs,        // time the game held the tab between its sleeps, in all
    kMusicReady,    // 1 when the music the page made is the build's, sample for sample
    kStatusCount
};

int32_t gStatus[kStatusCount];

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const int32_t* bf_status() {
    for (int32_t& value : gStatus) value = 0;
    gStatus[kPlayerX] = gStatus[kPlayerY] = -1;
    // Nothing is asked of the game before it has shown a picture: the questions below would
    // make its singletons early.
    gStatus[kPictures] = static_cast<int32_t>(picturesShown());
    if (gStatus[kPictures] == 0) return gStatus;
    for (const CGameObject* actor : CWorld::instance().objects) {
        if (actor->kind == kKindPlayer) {
            gStatus[kPlayerX] = actor->x >> 3;
            gStatus[kPlayerY] = actor->y >> 3;
        } else if (actor->kind == kKindBullet && !actor->dead) {
            ++gStatus[kShots];
        }
    }
    const CSoundManager& sound = CSoundManager::instance();
    gStatus[kPlayerShots] = static_cast<int32_t>(CGameReport::instance().shotsFired[kKindPlayer]);
    gStatus[kMasterVolume] = sound.masterVolume;
    gStatus[kMusicVolume] = sound.musicVolume;
    gStatus[kMenuOpen] = CGameState::instance().menuOpen ? 1 : 0;
    gStatus[kLevel] = CLevel::instance().levelNumber;
    gStatus[kMusicReady] = sampleBankReady() ? 1 : 0;
    if (const CWebBackend* page = CWebBackend::current()) {
        gStatus[kSleeps] = static_cast<int32_t>(page->sleeps);
        gStatus[kSleptMs] = static_cast<int32_t>(page->sleptMs);
        gStatus[kLateMs] = static_cast<int32_t>(page->lateMs);
        gStatus[kSoundFrames] = static_cast<int32_t>(page->soundFrames);
        gStatus[kBusyMs] = static_cast<int32_t>(page->busyMs);
    }
    return gStatus;
}
