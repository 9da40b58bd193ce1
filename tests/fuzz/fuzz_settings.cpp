// Whatever a settings file holds, the game plays with volumes and a best level in range, keeps
// the values it read for the next save, and says something exactly when the file is not 16 bytes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "sound/Settings.h"
#include "sound/SoundManager.h"
#include "state/GameState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SSettings settings;
    std::string problem;
    parseSettings(data, size, settings, problem);
    if ((size != kSettingsBytes) == problem.empty()) __builtin_trap();
    uint8_t bytes[kSettingsBytes];
    encodeSettings(settings, bytes);
    if (size >= kSettingsBytes && std::memcmp(bytes, data, kSettingsBytes) != 0) __builtin_trap();
    if (decodeSettings(bytes).bestLevel != settings.bestLevel) __builtin_trap();

    CSoundManager& sound = CSoundManager::instance();
    sound.loadSettingsFrom(bytes);
    const int32_t best = CGameState::instance().bestLevel;
    if (sound.mixer.masterVolume < 0 || sound.mixer.masterVolume > 256) __builtin_trap();
    if (sound.musicVolume < 0 || sound.musicVolume > 256) __builtin_trap();
    if (sound.mixer.musicVolume != sound.musicVolume || best < 0 || best > 8) __builtin_trap();
    if (sound.masterVolume != settings.masterVolume) __builtin_trap();
    if (sound.swapStereo != (settings.swapStereo != 0)) __builtin_trap();
    return 0;
}
