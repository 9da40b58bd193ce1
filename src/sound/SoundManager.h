#pragma once
// The game's voice: sound effects by id, either at given volumes or placed in the maze and heard
// from the player, the music with its fade-in, the volume keys and the stereo swap, and the
// settings file that keeps them between runs. The mixing itself is CSoundMixer's.

#include <cstdint>
#include <string>

#include "sound/Settings.h"
#include "sound/SoundMixer.h"

class CSoundManager {
public:
    // Music volume steps of the fade-in, 5 ms apart: a fade to full volume takes about 1.3 s.
    static constexpr uint32_t kFadeStepUnits = 50;

    static CSoundManager& instance();
    // Back to a fresh manager (tests and tools only; the game never destroys it).
    static void resetInstance();

    int32_t musicVolume = 256;   // 0..256
    bool swapStereo = false;     // left and right exchanged at the output
    int32_t musicState = -1;     // -1 no music started, 1 music started
    int32_t masterVolume = 128;  // as kept by the volume keys; may lie outside 0..256 if loaded
    CSoundMixer& mixer;
    SSettings settings;        // the image of the settings file
    std::string settingsFile;  // where the settings came from and go back to
    bool saveEnabled = true;   // off for replays, demos, and a file there but unreadable

    // Reads the settings, then opens the audio device; false when there is no device.
    bool startUp();
    // Saves the settings and closes the device.
    void shutdown();

    // --- effects
    // Nothing is played, and no channel taken, when both volumes are 0.
    void playSample(int32_t id, int32_t leftVolume, int32_t rightVolume, int32_t priority);
    void playSampleAt(int32_t id, int32_t tileX, int32_t tileY, int32_t priority);

    // --- music
    void startMusic(int32_t id);
    void stopMusic();
    // Starts the music and fades it in from silence to the music volume; blocks the caller
    // meanwhile, keeping the sound flowing.
    void playMusic(int32_t id);

    // --- volumes
    void setMusicVolume(int32_t v);
    void setMasterVolume(int32_t v);
    void volumeUp();
    void volumeDown();
    void setSwapStereo(bool swap);
    void toggleSwapStereo() { setSwapStereo(!swapStereo); }

    // Mixes and writes the next slice of sound; once per main-loop iteration.
    void update() { mixer.update(); }

    // --- settings file
    // From settingsPath(), remembered for the save.
    void loadSettings();
    void loadSettingsFrom(const std::string& path);
    // From the bytes of a settings file kept elsewhere (a replay).
    void loadSettingsFrom(const uint8_t bytes[kSettingsBytes]);
    // Back to where they came from, unless saving is off. True when they were written.
    bool saveSettings();
    bool saveSettingsTo(const std::string& path);
    // The same, but only when a save would change the file: for saves made while playing.
    bool saveSettingsIfChanged();
    // The settings as a save would write them now: the file's image with the volumes, the
    // stereo swap and any better level reached laid over it.
    SSettings currentSettings() const;

private:
    CSoundManager();
    // Applies the record; `source` names it in the message about values out of range.
    void applySettings(const std::string& source, std::string problems);
};
