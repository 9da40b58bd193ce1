#pragma once
// maps.dat: a count byte, then per map 1171 bytes (ceiling of monsters alive, first-wave size,
// length of the monster list, 8 monster type slots, 40 x 29 tile bytes column by column).
// Reading works on bytes so that the game, the level tool and the fuzzer share it; whatever a
// user puts in the file, reading ends with a list the game can play or an empty one.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "world/MapRecord.h"

constexpr size_t kMapRecordBytes = 11 + kMazeTiles;
constexpr size_t kMaxMapCount = 255;
constexpr size_t kMaxMapFileBytes = 1 + kMaxMapCount * kMapRecordBytes;
constexpr const char* kMapFileName = "maps.dat";

// What reading found wrong with a file. A clean file leaves everything but the counts at zero.
struct SMapFileReport {
    bool empty = false;            // not even the count byte
    uint32_t announcedMaps = 0;    // the count byte
    uint32_t recordsPresent = 0;   // records with at least one byte in the file
    bool lastRecordCut = false;    // the file ends inside a record (zero-filled)
    uint32_t clampedMaps = 0;      // records listing more than 8 monster types
    uint32_t skippedMaps = 0;      // records without a floor tile, left out of the list
    int32_t firstSkipped = -1;     // file index of the first of them
    size_t trailingBytes = 0;      // bytes after the announced records, ignored
    uint32_t unknownTypeMaps = 0;  // maps whose list holds a type that makes no monster
    int32_t firstUnknownMap = -1;  // file index of the first of them
    uint8_t firstUnknownType = 0;  // and the first such type in its list

    bool cutShort() const { return recordsPresent < announcedMaps || lastRecordCut; }
};

// Replaces `maps` with the records in `bytes`. A record cut short by the end of the data is
// zero-filled; one announced but absent altogether is not made. A list longer than 8 monster
// types is cut to 8 (the record has no room for more), and a record without a floor tile is
// left out (nothing could be placed in it).
SMapFileReport readMapFile(std::span<const uint8_t> bytes, MapList& maps);

// One line per kind of problem in `report`, each starting with `path`; none for a clean file.
std::vector<std::string> mapFileProblems(const std::string& path, const SMapFileReport& report);

// Where the game finds maps.dat: the working directory (as on the handheld), beside the
// executable, then the installed data folder. The first regular file wins; empty when none.
std::string findMapFile();
// The places findMapFile looks, for messages.
std::string mapFileSearchPlaces();
// Where a game in `executableFolder` (with its trailing slash), started in a folder without a
// maps.dat, finds it: beside itself, then in the installed data folder. Empty when in neither.
std::string findMapFileFor(const std::string& executableFolder);
// What a replay says of the maps.dat at `path` (SGameIdentity): the hash of what the game reads
// of it; 0 for no path, or a file that cannot be read.
uint64_t mapFileIdentity(const std::string& path);

// The file image of a list of maps. False when there are more than 255 of them.
bool encodeMapFile(const std::vector<const SMapRecord*>& maps, std::vector<uint8_t>& bytes);
