#include "world/LevelFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Replay.h"

namespace {

bool hasFloor(const SMapRecord& map) {
    return std::find(std::begin(map.tiles), std::end(map.tiles), 0) != std::end(map.tiles);
}

std::string plural(uint32_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

SMapFileReport readMapFile(std::span<const uint8_t> bytes, MapList& maps) {
    SMapFileReport report;
    maps.clear();
    if (bytes.empty()) {
        report.empty = true;
        return report;
    }
    report.announcedMaps = bytes[0];
    size_t pos = 1;
    for (uint32_t i = 0; i < report.announcedMaps && pos < bytes.size(); ++i) {
        // Zero-filled first, so that whatever the file leaves out reads as 0.
        uint8_t raw[kMapRecordBytes] = {};
        const size_t present = std::min(kMapRecordBytes, bytes.size() - pos);
        std::memcpy(raw, bytes.data() + pos, present);
        pos += present;
        ++report.recordsPresent;
        report.lastRecordCut = present < kMapRecordBytes;

        auto map = std::make_unique<SMapRecord>();
        map->maxMonsters = raw[0];
        map->firstWave = raw[1];
        map->monsterTypeCount = raw[2];
        if (map->monsterTypeCount > kMonsterTypeSlots) {
            map->monsterTypeCount = kMonsterTypeSlots;
            ++report.clampedMaps;
        }
        std::memcpy(map->monsterTypes, raw + 3, kMonsterTypeSlots);
        std::memcpy(map->tiles, raw + 11, kMazeTiles);
        if (!hasFloor(*map)) {
            if (report.skippedMaps++ == 0) report.firstSkipped = static_cast<int32_t>(i);
            continue;
        }
        const uint8_t* const types = map->monsterTypes;
        const uint8_t* const unknown =
            std::find_if_not(types, types + map->monsterTypeCount, makesMonster);
        if (unknown != types + map->monsterTypeCount && report.unknownTypeMaps++ == 0) {
            report.firstUnknownMap = static_cast<int32_t>(i);
            report.firstUnknownType = *unknown;
        }
        maps.push_back(std::move(map));
    }
    report.trailingBytes = bytes.size() - pos;
    return report;
}

std::vector<std::string> mapFileProblems(const std::string& path, const SMapFileReport& report) {
    std::vector<std::string> lines;
    if (report.empty) {
        lines.push_back(path + ": empty file, no levels in it");
        return lines;
    }
    if (report.cutShort()) {
        std::string line = path + ": cut short: it announces " +
                           plural(report.announcedMaps, "map") + " but holds " +
                           std::to_string(report.recordsPresent);
        if (report.lastRecordCut) line += ", the last one incomplete and zero-filled";
        lines.push_back(line);
    }
    if (report.clampedMaps)
        lines.push_back(path + ": " + plural(report.clampedMaps, "map") +
                        " list more than 8 monster types; only the first 8 are used");
    if (report.skippedMaps)
        lines.push_back(path + ": skipped " + plural(report.skippedMaps, "map") +
                        " without a floor tile (the first is map " +
                        std::to_string(report.firstSkipped + 1) + ")");
    if (report.unknownTypeMaps)
        lines.push_back(path + ": " + plural(report.unknownTypeMaps, "map") +
                        (report.unknownTypeMaps == 1 ? " lists" : " list") +
                        " monster types that make no monster (the first: map " +
                        std::to_string(report.firstUnknownMap + 1) + ", type " +
                        std::to_string(report.firstUnknownType) + "); those places bring none");
    const std::string trailing = plural(static_cast<uint32_t>(report.trailingBytes), "byte");
    if (report.trailingBytes && report.announcedMaps == 0)
        lines.push_back(path + ": announces no maps, yet " + trailing +
                        " follow the count; they are ignored");
    else if (report.trailingBytes)
        lines.push_back(path + ": " + trailing + " after its " +
                        plural(report.announcedMaps, "map") + " ignored");
    return lines;
}

namespace {

// The working directory's first (as on the handheld) when `workingFolder`.
std::vector<std::string> searchPlaces(const std::string& exeDir, bool workingFolder = true) {
    std::vector<std::string> places;
    if (workingFolder) places.push_back(kMapFileName);
    if (!exeDir.empty()) places.push_back(exeDir + kMapFileName);
    places.push_back(std::string(BOLTFEVER_DATADIR) + "/" + kMapFileName);
    return places;
}

std::string firstFileOf(const std::vector<std::string>& places) {
    for (const std::string& place : places)
        if (isRegularFile(place)) return place;
    return {};
}

}  // namespace

std::string findMapFile() {
    return firstFileOf(searchPlaces(executableDir()));
}

std::string mapFileSearchPlaces() {
    std::string text;
    for (const std::string& place : searchPlaces(executableDir()))
        text += (text.empty() ? "" : ", ") + place;
    return text;
}

std::string findMapFileFor(const std::string& executableFolder) {
    return firstFileOf(searchPlaces(executableFolder, false));
}

uint64_t mapFileIdentity(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string ignored;
    if (path.empty()) return 0;
    const EFileRead read = readFileUpTo(path, bytes, kMaxMapFileBytes, ignored);
    if (read != EFileRead::kWhole && read != EFileRead::kCut) return 0;
    return hashBytes(bytes.data(), bytes.size());
}

bool encodeMapFile(const std::vector<const SMapRecord*>& maps, std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (maps.size() > kMaxMapCount) return false;
    bytes.reserve(1 + maps.size() * kMapRecordBytes);
    bytes.push_back(static_cast<uint8_t>(maps.size()));
    for (const SMapRecord* map : maps) {
        bytes.push_back(map->maxMonsters);
        bytes.push_back(map->firstWave);
        bytes.push_back(map->monsterTypeCount);
        bytes.insert(bytes.end(), std::begin(map->monsterTypes), std::end(map->monsterTypes));
        bytes.insert(bytes.end(), std::begin(map->tiles), std::end(map->tiles));
    }
    return true;
}
