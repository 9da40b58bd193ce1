#pragma once
// Replays: the seed, the settings the run started with, the buttons of every poll and, every 60
// shown pictures, a hash of the picture (and of the sound, when the recording was headless and
// so its sound device ran on the virtual clock too). Playing one back drives the game from the
// file and stops at the first picture that differs.
//
// File layout, little-endian: "BFRP", version (u16), flags (u16: bit 0 = sound hashes, bit 1 = a
// player's run, whose high scores take initials), seed (u32), settings (16 bytes), from version 2
// the level the run started at (u16: 0 = the title screen, else the level as --level gives it),
// from version 3 two blocks of the game's own, each a length (u16) and its bytes: the high-score
// table as the run found it, and the state a game started from (empty: the run started as the
// level says), from version 4 the game that recorded it: its version (u8 length, then the text)
// and its maps.dat (u64, see SGameIdentity), then records up to the end record:
//   'B' mask (u16) count (varint)      `count` polls with these buttons
//   'W' mask (u32) count (varint)      the same, from version 3, for buttons above the 16th bit
//                                      (the mouse in a menu)
//   'P' picture (varint) hash (u64) [sound hash (u64)]
//   'E' polls (varint) pictures (varint)
// Varints are unsigned LEB128.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Buttons.h"

constexpr uint16_t kReplayVersion = 4;
constexpr uint32_t kReplayCheckInterval = 60;  // shown pictures between two hashes
// An hour of play with the buttons changing at every poll makes a replay of about 2.3 MB.
constexpr size_t kMaxReplayBytes = 16u << 20;
// The largest blocks of the game's own a replay takes.
constexpr size_t kMaxReplayScoresBytes = 4096;
constexpr size_t kMaxReplayGameStartBytes = 1024;
constexpr size_t kMaxGameVersionBytes = 32;

// The game a replay was recorded by, from version 4. A replay plays back only in the game it came
// from: whoever is handed one can tell a replay of another version, or of another maps.dat,
// before playing it. Older replays say nothing: an empty version, maps 0.
struct SGameIdentity {
    std::string version;  // as --version gives it
    uint64_t maps = 0;    // hashBytes of the maps.dat the run found; 0: it found none
    bool operator==(const SGameIdentity&) const = default;
};
// The identity every recording of this run carries: the build's version, and the maps.dat the
// program found, told once at start-up.
const SGameIdentity& recordingIdentity();
void setRecordingMaps(uint64_t maps);

struct SReplayHeader {
    uint16_t version = kReplayVersion;
    bool hasSoundHashes = false;
    uint32_t seed = 0;
    std::array<uint8_t, 16> settings{};
    uint16_t startLevel = 0;         // 0: the run began on the title screen
    bool playersRun = false;         // not a demo: a score that makes the table takes initials
    std::vector<uint8_t> scores;     // the high-score table as the run found it
    std::vector<uint8_t> gameStart;  // the state a game started from; empty: none
    SGameIdentity game;              // a recording carries recordingIdentity()
};

// 64-bit FNV-1a, for pictures and the sound stream.
constexpr uint64_t kHashStart = 0xcbf29ce484222325ull;
uint64_t hashBytes(const void* data, size_t bytes, uint64_t hash = kHashStart);

// Builds a replay as the game goes. The file can be written in pieces while the game runs: take()
// hands over what has not been taken yet, and after a picture check that piece ends where a
// replay may end, so a file cut there and closed by the end record is a valid, shorter replay.
class CReplayWriter {
public:
    // `reserve`: bytes to hold before any is taken, so that a recording kept whole in memory
    // grows without allocating while the game runs.
    void start(const SReplayHeader& header, size_t reserve = 1 << 16);
    // The settings are known only once the game has read them, before its first poll; they go
    // into the header, which is in the first piece taken.
    void setSettings(const std::array<uint8_t, 16>& settings) { header_.settings = settings; }
    void setScores(const std::vector<uint8_t>& scores) { header_.scores = scores; }
    void addPoll(ButtonMask buttons);
    void addPicture(uint32_t picture, uint64_t hash, uint64_t soundHash);

    // Appends to `out` the bytes not taken yet (the header the first time). Call it after a
    // picture check or after finish(): mid-run, a run of polls is still open.
    void take(std::vector<uint8_t>& out);
    // Appends the end record that closes the file after everything taken so far.
    void appendEnd(std::vector<uint8_t>& out) const;
    // Closes the last run of polls. Then take() and appendEnd() give the rest of the file.
    void finish() { flushRun(); }
    // The whole file in one piece, for a writer nothing was taken from.
    std::vector<uint8_t> file();
    // The last picture checked in what has been taken.
    uint32_t takenPictures() const { return takenPictures_; }
    // Bytes of records not taken yet.
    size_t pendingBytes() const { return bytes_.size(); }

private:
    void flushRun();

    SReplayHeader header_;
    std::vector<uint8_t> bytes_;  // records not taken yet
    bool headerTaken_ = false;
    ButtonMask runMask_ = 0;
    uint32_t runLength_ = 0;
    uint32_t polls_ = 0;     // in records, the open run excluded
    uint32_t pictures_ = 0;  // last picture checked
    uint32_t takenPolls_ = 0;
    uint32_t takenPictures_ = 0;
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
