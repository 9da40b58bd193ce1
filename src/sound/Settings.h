#pragma once
// The settings file, boltfever.cfg: four settings kept between runs in 16 little-endian bytes,
// no header. Offsets 0 master volume, 4 music volume (both int32), 8 the stereo swap flag,
// 9..11 reserved, 12 the best level reached (int32).

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int kSettingsBytes = 16;

struct SSettings {
    int32_t masterVolume = 128;  // 0..256 as kept by the volume keys
    int32_t musicVolume = 256;   // 0..256
    uint8_t swapStereo = 0;      // 0 or 1
    uint8_t reserved[3] = {};    // not ours to interpret: written back as read
    int32_t bestLevel = 0;       // level number of the last level completed, 0..8

    bool operator==(const SSettings&) const = default;
};

void encodeSettings(const SSettings& settings, uint8_t bytes[kSettingsBytes]);
SSettings decodeSettings(const uint8_t bytes[kSettingsBytes]);

enum class ESettingsFile {
    kRead,        // read, perhaps with a problem worth a word (short, too long)
    kReadOnly,    // read, but the player made it read-only: it must not be saved over
    kMissing,     // the first run: no file yet
    kUnreadable,  // there, but it cannot be read, or only through another user's link in a
                  // shared folder: it must not be saved over
};

// Lays a file's bytes over `settings`: whatever a short file does not hold keeps its value.
// `problem` is set when the bytes are not exactly 16.
void parseSettings(const uint8_t* data, size_t size, SSettings& settings, std::string& problem);
// Reads the file at `path` into `settings` through parseSettings. `problem` says what is wrong
// with a file that is there, or why it cannot be read.
ESettingsFile readSettingsFile(const std::string& path, SSettings& settings, std::string& problem);

// Replaces the file as a whole: the bytes go to a temporary file in the same folder, which is
// then renamed over the old one, so a crash or a full disk never leaves half a file. False,
// with a one-line reason, when it cannot be written.
bool writeSettingsFile(const std::string& path, const SSettings& settings, std::string& error);
