#pragma once
// The software mixer: eight effect channels and one music loop summed in integer arithmetic into
// a small stereo ring, which is handed to the audio device a slice at a time. There is no audio
// thread: sound advances only when the main loop calls update().

#include <cstdint>

#include "sound/SampleBank.h"

// One playing effect. A channel is a fixed record, refilled in place: nothing is allocated while
// the game makes noise.
struct SSoundChannel {
    int32_t sampleId = 0;
    bool active = false;
    const int16_t* data = nullptr;
    int32_t length = 0;       // in samples
    int32_t pos = 0;          // next sample to play
    int32_t priority = 0;     // only a higher one may take the channel over
    int32_t leftVolume = 0;   // 0..256
    int32_t rightVolume = 0;  // 0..256
};

// Left and right volumes of a sound placed in the maze.
struct SStereoVolume {
    int32_t left;
    int32_t right;
};

class CSoundMixer {
public:
    static constexpr int kChannelCount = 8;
    // Interleaved left/right samples: 512 frames, about 23 ms at 22,050 Hz.
    static constexpr int32_t kRingSamples = 1024;
    static constexpr int32_t kFullVolume = 256;

    static CSoundMixer& instance();
    // Back to a fresh mixer (tests and tools only).
    static void resetInstance();

    // Where placed sounds are heard from: player 1's tile (the mixer knows no actor). Wired by
    // the program at start-up (wireGameHooks); a debug build stops at a sound placed without it.
    static void (*listenerTile)(int32_t& tileX, int32_t& tileY);

    bool swapStereo = false;            // copy of the manager's flag
    int16_t ring[kRingSamples] = {};    // left, right, left, right ...
    int32_t readPos = 0;                // next ring sample to hand to the device
    int32_t writePos = 0;               // next ring sample to fill
    int32_t queued = 0;                 // samples mixed but not yet taken by the device
    int32_t musicVolume = kFullVolume;  // 0..256
    int32_t masterVolume = 128;         // 0..256
    int32_t deviceFd = -1;              // negative while the device is closed
    SSoundChannel channels[kChannelCount];
    int32_t musicId = 0;
    bool musicPlaying = false;
    const int16_t* musicData = nullptr;
    uint32_t musicLength = 0;
    uint32_t musicPos = 0;              // next music sample
    const SSample* bank = kSampleBank;  // what the ids name; tests play their own samples
    int32_t bankSize = kSampleCount;

    // Effects. play() returns false when every channel holds something at least as important.
    bool play(int32_t id, int32_t left, int32_t right, int32_t priority);
    // A sound at a maze tile, heard from the listener's tile.
    void playAt(int32_t id, int32_t tileX, int32_t tileY, int32_t priority);
    // The same, heard from a given tile.
    void playAtFrom(int32_t id, int32_t tileX, int32_t tileY, int32_t listenerX, int32_t listenerY,
                    int32_t priority);
    // Volume and balance of a sound dx, dy tiles away from the listener.
    static SStereoVolume placeVolume(int32_t dx, int32_t dy);

    // Music: one looping bank sample at musicVolume.
    void startMusic(int32_t id);
    void stopMusic() { musicPlaying = false; }
    void setMusicVolume(int32_t v);
    void setMasterVolume(int32_t v);

    // Output. mix() tops the ring up; writeToDevice() hands the device what it will take.
    void mix();
    void writeToDevice();
    void update() {
        mix();
        writeToDevice();
    }
    bool openDevice();
    void closeDevice();

private:
    const SSample* sample(int32_t id) const;
};
