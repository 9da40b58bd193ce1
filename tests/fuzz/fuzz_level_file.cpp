// Whatever bytes a user leaves in maps.dat, reading them ends, and every map kept is one the
// game can play: a monster list the record can hold and a floor tile to place actors on.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "world/Level.h"
#include "world/LevelFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CLevel& level = CLevel::instance();
    level.maps = std::make_unique<MapList>();
    const SMapFileReport report = readMapFile({data, size}, *level.maps);
    mapFileProblems(kMapFileName, report);
    if (level.maps->size() > kMaxMapCount) __builtin_trap();

    std::vector<const SMapRecord*> kept;
    for (int32_t n = 0; n < static_cast<int32_t>(level.maps->size()); ++n) {
        if (!level.loadLevel(n)) __builtin_trap();
        if (level.currentMap->monsterTypeCount > kMonsterTypeSlots) __builtin_trap();
        int32_t x = -1, y = -1;
        level.randomFreeTile(x, y);
        if (!level.isFree(x, y)) __builtin_trap();
        kept.push_back(level.currentMap);
    }

    // What was kept reads back unchanged once written out.
    std::vector<uint8_t> bytes;
    if (!encodeMapFile(kept, bytes)) __builtin_trap();
    MapList again;
    readMapFile(bytes, again);
    if (again.size() != kept.size()) __builtin_trap();
    for (size_t i = 0; i < kept.size(); ++i)
        if (std::memcmp(again[i].get(), kept[i], sizeof(SMapRecord)) != 0) __builtin_trap();
    return 0;
}
