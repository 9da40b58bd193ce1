#include "world/Level.h"

#include <algorithm>
#include <vector>

#include "platform/Files.h"
#include "platform/Messages.h"
#include "state/GameState.h"
#include "state/Random.h"
#include "world/LevelFile.h"

namespace {

CLevel* gInstance = nullptr;

// The practice maze: a wall outline around columns 2..37, rows 19..26, which the tutorial's
// clamp box matches; only the dummy is listed and no wave ever starts.
constexpr int32_t kTutorialLeft = 2, kTutorialRight = 37;
constexpr int32_t kTutorialTop = 19, kTutorialBottom = 26;
constexpr uint8_t kDummyType = 22;

// A maze without floor would leave randomFreeTile rolling forever; the loader refuses such
// maps, and this many misses (odds of e^-86 with even a single floor tile) means the grid was
// walled up some other way, so the roll gives up and searches instead.
constexpr int32_t kRollsBeforeSearch = 100000;

}  // namespace

CLevel& CLevel::instance() {
    if (!gInstance) gInstance = new CLevel;
    return *gInstance;
}

void CLevel::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

bool CLevel::isFree(int32_t tileX, int32_t tileY) const {
    if (tileX < 0)
        tileX = kMazeColumns - 1;
    else if (tileX > kMazeColumns - 1)
        tileX = 0;
    if (tileY < 0)
        tileY = kMazeRows - 1;
    else if (tileY > kMazeRows - 1)
        tileY = 0;
    return tiles[tileX][tileY] == 0;
}

bool CLevel::isOpen(int32_t tileX, int32_t tileY, int32_t dir) const {
    switch (dir) {
        case 0:
            return isFree(tileX - 1, tileY);
        case 1:
            return isFree(tileX, tileY - 1);
        case 2:
            return isFree(tileX + 1, tileY);
        case 3:
            return isFree(tileX, tileY + 1);
        default:
            return false;
    }
}

void CLevel::randomFreeTile(int32_t& tileX, int32_t& tileY) const {
    for (int32_t roll = 0; roll < kRollsBeforeSearch; ++roll) {
        tileX = gameRand() % kMazeColumns;
        tileY = gameRand() % kMazeRows;
        if (tiles[tileX][tileY] == 0) return;
    }
    for (tileX = 0; tileX < kMazeColumns; ++tileX)
        for (tileY = 0; tileY < kMazeRows; ++tileY)
            if (tiles[tileX][tileY] == 0) return;
    // Not a floor tile anywhere: the player's start tile is as good as any.
    tileX = 1;
    tileY = 1;
}

void CLevel::copyTiles(const SMapRecord& map) {
    for (int32_t column = 0; column < kMazeColumns; ++column)
        for (int32_t row = 0; row < kMazeRows; ++row) tiles[column][row] = map.tileAt(column, row);
}

bool CLevel::loadLevel(int32_t n) {
    SMapRecord* map = mapAt(n);
    if (!map) return false;
    currentMap = map;
    copyTiles(*map);
    return true;
}

void CLevel::loadTutorialMap() {
    if (!tutorialMap) {
        tutorialMap = std::make_unique<SMapRecord>();
        SMapRecord& map = *tutorialMap;
        map.monsterTypes[0] = kDummyType;
        map.monsterTypeCount = 1;
        for (int32_t column = kTutorialLeft; column <= kTutorialRight; ++column) {
            map.tiles[column * kMazeRows + kTutorialTop] = 1;
            map.tiles[column * kMazeRows + kTutorialBottom] = 1;
        }
        for (int32_t row = kTutorialTop; row <= kTutorialBottom; ++row) {
            map.tiles[kTutorialLeft * kMazeRows + row] = 1;
            map.tiles[kTutorialRight * kMazeRows + row] = 1;
        }
    }
    currentMap = tutorialMap.get();
    copyTiles(*tutorialMap);
}

bool CLevel::loadMaps() {
    const std::string path = findMapFile();
    if (path.empty()) {
        dropMaps();
        reportLine(std::string(kMapFileName) + " not found (looked in " + mapFileSearchPlaces() +
                   "); the practice maze stays");
        return false;
    }
    return loadMapsFrom(path);
}

bool CLevel::loadMapsFrom(const std::string& path) {
    dropMaps();
    std::vector<uint8_t> bytes;
    std::string error;
    // No level file holds more than 255 records: a larger one is read that far, the rest ignored.
    const EFileRead read = readFileUpTo(path, bytes, kMaxMapFileBytes, error);
    if (read == EFileRead::kCut) {
        reportLine(error + ", which no level file is; the levels in its first " +
                   std::to_string(kMaxMapFileBytes) + " bytes are used");
    } else if (read != EFileRead::kWhole) {
        reportLine(error + "; the practice maze stays");
        return false;
    }
    maps = std::make_unique<MapList>();
    SMapFileReport report = readMapFile(bytes, *maps);
    if (read == EFileRead::kCut) report.trailingBytes = 0;  // said above
    for (const std::string& line : mapFileProblems(path, report)) reportLine(line);
    return true;
}

void CLevel::dropMaps() {
    // A record about to be freed must not stay current; the tiles keep its maze.
    if (currentMap != tutorialMap.get()) currentMap = nullptr;
    maps.reset();
}

SMapRecord* CLevel::mapAt(int32_t n) const {
    if (!maps || maps->empty()) return nullptr;
    const int32_t count = static_cast<int32_t>(maps->size());
    const int32_t index = ((n % count) + count) % count;
    return (*maps)[static_cast<size_t>(index)].get();
}

void CLevel::recordBestLevel() const {
    CGameState& state = CGameState::instance();
    if (state.bestLevel < levelNumber) state.bestLevel = std::min(levelNumber, kBestLevelLimit);
}
