#include "sound/SoundManager.h"

#include <algorithm>

#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "state/GameState.h"

namespace {

CSoundManager* gInstance = nullptr;

// The menu offers every level up to the best one as a start; more than this was never reached.
constexpr int32_t kMaxBestLevel = 8;

void appendProblem(std::string& problems, const std::string& problem) {
    if (!problems.empty()) problems += "; ";
    problems += problem;
}

}  // namespace

CSoundManager::CSoundManager() : mixer(CSoundMixer::instance()) {}

CSoundManager& CSoundManager::instance() {
    if (!gInstance) gInstance = new CSoundManager;
    return *gInstance;
}

void CSoundManager::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

bool CSoundManager::startUp() {
    // The mixer already exists (the manager made it); the settings go in before the device
    // opens, so the first sound comes out at the player's volume.
    loadSettings();
    return mixer.openDevice();
}

void CSoundManager::shutdown() {
    saveSettings();
    mixer.closeDevice();
}

void CSoundManager::playSample(int32_t id, int32_t leftVolume, int32_t rightVolume,
                               int32_t priority) {
    if (leftVolume == 0 && rightVolume == 0) return;
    mixer.play(id, leftVolume, rightVolume, priority);
}

void CSoundManager::playSampleAt(int32_t id, int32_t tileX, int32_t tileY, int32_t priority) {
    mixer.playAt(id, tileX, tileY, priority);
}

void CSoundManager::startMusic(int32_t id) {
    mixer.startMusic(id);
    musicState = 1;
}

void CSoundManager::stopMusic() {
    if (musicState != -1) mixer.stopMusic();
    musicState = -1;
}

void CSoundManager::playMusic(int32_t id) {
    startMusic(id);
    const int32_t target = musicVolume;
    for (int32_t v = 0; v <= target; ++v) {
        setMusicVolume(v);
        update();
        timerWait(kFadeStepUnits);
    }
}

void CSoundManager::setMusicVolume(int32_t v) {
    musicVolume = std::clamp(v, 0, CSoundMixer::kFullVolume);
    mixer.setMusicVolume(musicVolume);
}

void CSoundManager::setMasterVolume(int32_t v) {
    // Kept as given, so that a value from the settings file goes back unchanged; the mixer
    // plays at most full volume.
    masterVolume = v;
    mixer.setMasterVolume(v);
}

void CSoundManager::volumeUp() {
    setMasterVolume(masterVolume >= CSoundMixer::kFullVolume ? CSoundMixer::kFullVolume
                                                             : masterVolume + 1);
}

void CSoundManager::volumeDown() {
    setMasterVolume(masterVolume <= 0 ? 0 : masterVolume - 1);
}

void CSoundManager::setSwapStereo(bool swap) {
    swapStereo = swap;
    mixer.swapStereo = swap;
}

void CSoundManager::loadSettings() {
    settingsFile = settingsPath();
    loadSettingsFrom(settingsFile);
}

void CSoundManager::loadSettingsFrom(const std::string& path) {
    settings = SSettings{};
    std::string problem;
    switch (readSettingsFile(path, settings, problem)) {
        case ESettingsFile::kUnreadable:
            // The player's settings may well be in there: play on the defaults, and never save
            // over them.
            problem += "; playing on the defaults and leaving the file as it is";
            saveEnabled = false;
            break;
        case ESettingsFile::kReadOnly:
            problem += ", so this run's changes are not saved";
            saveEnabled = false;
            break;
        default:
            break;
    }
    applySettings(path, problem);
}

void CSoundManager::loadSettingsFrom(const uint8_t bytes[kSettingsBytes]) {
    settings = decodeSettings(bytes);
    applySettings("settings", {});
}

void CSoundManager::applySettings(const std::string& source, std::string problems) {
    const SSettings& s = settings;
    const auto outOfRange = [&](const char* what, int32_t value, int32_t used) {
        appendProblem(problems, std::string(what) + " " + std::to_string(value) +
                                    " out of range, using " + std::to_string(used));
    };
    if (s.masterVolume < 0 || s.masterVolume > CSoundMixer::kFullVolume)
        outOfRange("master volume", s.masterVolume,
                   std::clamp(s.masterVolume, 0, CSoundMixer::kFullVolume));
    if (s.musicVolume < 0 || s.musicVolume > CSoundMixer::kFullVolume)
        outOfRange("music volume", s.musicVolume,
                   std::clamp(s.musicVolume, 0, CSoundMixer::kFullVolume));
    if (s.swapStereo > 1) outOfRange("stereo swap", s.swapStereo, 1);
    // A best level beyond what can be reached would let the menu start a game past the end;
    // the file keeps its value, the game uses the nearest sensible one.
    const int32_t bestLevel = std::clamp(s.bestLevel, 0, kMaxBestLevel);
    if (bestLevel != s.bestLevel) outOfRange("best level", s.bestLevel, bestLevel);
    if (!problems.empty()) reportLine(source + ": " + problems);

    setMasterVolume(s.masterVolume);
    setMusicVolume(s.musicVolume);
    setSwapStereo(s.swapStereo != 0);
    CGameState::instance().bestLevel = bestLevel;
}

bool CSoundManager::saveSettings() {
    if (!saveEnabled) return false;
    const std::string path = settingsFile.empty() ? settingsPath() : settingsFile;
    const std::string dataDir = userDataDir();
    // No home, or the data folder not made yet.
    if (path.empty() || (!dataDir.empty() && path.compare(0, dataDir.size(), dataDir) == 0)) {
        std::string error;
        if (!makeUserDataDir(error)) {
            reportLine("cannot save the settings: " + error);
            return false;
        }
    }
    return saveSettingsTo(path);
}

bool CSoundManager::saveSettingsIfChanged() {
    return !(currentSettings() == settings) && saveSettings();
}

SSettings CSoundManager::currentSettings() const {
    SSettings current = settings;
    current.masterVolume = masterVolume;
    current.musicVolume = musicVolume;
    current.swapStereo = swapStereo ? 1 : 0;
    const int32_t reached = CGameState::instance().bestLevel;
    if (reached != 0 && reached > current.bestLevel) current.bestLevel = reached;
    return current;
}

bool CSoundManager::saveSettingsTo(const std::string& path) {
    settings = currentSettings();
    std::string error;
    if (writeSettingsFile(path, settings, error)) return true;
    reportLine(error);
    return false;
}
