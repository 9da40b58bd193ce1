#pragma once
// Replays: the seed, the settings the run started with, the buttons of every poll and, every 60
// shown pictures, a hash of the picture (and of the sound, when the recording was headless and
// so its sound device ran on the virtual clock too). Playing one back drives the game from the
// file and stops at the first picture that differs.
//
// File layout, little-endian: "BFRP", version (u16), flags (u16: bit 0 = sound hashes), seed (u32),
// settings (16 bytes), then records up to the end record:
//   'B' mask (u16) count (varint)      `count` polls with these buttons
//   'P' picture (varint) hash (u64) [sound hash (u64)]
//   'E' polls (varint) pictures (varint)
// Varints are unsigned LEB128.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Buttons.h"

constexpr uint16_t kReplayVersion = 1;
constexpr uint32_t kReplayCheckInterval = 60;  // shown pictures between two hashes

struct SReplayHeader {
    uint16_t version = kReplayVersion;
    bool hasSoundHashes = false;
    uint32_t seed = 0;
    std::array<uint8_t, 16> settings{};
};

// 64-bit FNV-1a, for pictures and the sound stream.
constexpr uint64_t kHashStart = 0xcbf29ce484222325ull;
uint64_t hashBytes(const void* data, size_t bytes, uint64_t hash = kHashStart);

class CReplayWriter {
public:
    void start(const SReplayHeader& header);
    // The settings are known only once the game has read them; they go into the header at the end.
    void setSettings(const std::array<uint8_t, 16>& settings) { header_.settings = settings; }
    void addPoll(ButtonMask buttons);
    void addPicture(uint32_t picture, uint64_t hash, uint64_t soundHash);
    // The finished file's bytes (the end record included).
    std::vector<uint8_t> finish();

private:
    void flushRun();

    SReplayHeader header_;
    std::vector<uint8_t> bytes_;  // the records
    ButtonMask runMask_ = 0;
    uint32_t runLength_ = 0;
    uint32_t polls_ = 0;
    uint32_t pictures_ = 0;
};

class CReplayReader {
public:
    // Reads and checks a whole replay. False, with a one-line reason, when it is not a complete
    // replay of our version.
    bool parse(const uint8_t* data, size_t size, std::string& error);
    const SReplayHeader& header() const { return header_; }

    // The buttons of the next poll. False when the replay has no poll here: it has ended, or the
    // recording showed a picture before this poll (the run is out of step).
    bool nextPoll(ButtonMask& buttons);
    // Checks shown picture `picture` against the recording. False on a mismatch, with the reason.
    bool checkPicture(uint32_t picture, uint64_t hash, uint64_t soundHash, bool checkSound,
                      std::string& error);
    bool finished() const { return next_ == events_.size(); }
    uint32_t totalPolls() const { return totalPolls_; }
    uint32_t totalPictures() const { return totalPictures_; }

private:
    struct SEvent {
        bool isPicture;
        ButtonMask mask;     // buttons
        uint32_t count;      // polls left in the run, or the picture number
        uint64_t hash;       // picture
        uint64_t soundHash;  // picture
    };
    SReplayHeader header_;
    std::vector<SEvent> events_;
    size_t next_ = 0;
    uint32_t totalPolls_ = 0;
    uint32_t totalPictures_ = 0;
};
