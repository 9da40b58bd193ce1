#include "world/LevelFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace {

using Bytes = std::vector<uint8_t>;

// A record as the file holds it: ceiling, first wave, list length, 8 type slots, 1160 tiles.
Bytes record(uint8_t ceiling, uint8_t firstWave, uint8_t count, Bytes types, uint8_t fill = 0) {
    Bytes bytes{ceiling, firstWave, count};
    types.resize(8, 0);
    bytes.insert(bytes.end(), types.begin(), types.end());
    bytes.resize(kMapRecordBytes, fill);
    return bytes;
}

Bytes file(std::initializer_list<Bytes> records, int count = -1) {
    Bytes bytes{static_cast<uint8_t>(count < 0 ? records.size() : count)};
    for (const Bytes& r : records) bytes.insert(bytes.end(), r.begin(), r.end());
    return bytes;
}

std::string problems(const SMapFileReport& report) {
    std::string text;
    for (const std::string& line : mapFileProblems("maps.dat", report)) text += line + "\n";
    return text;
}

TEST(LevelFile, NoMapsFromAZeroCountOrAnEmptyFile) {
    MapList maps;
    maps.push_back(std::make_unique<SMapRecord>());  // whatever was there goes
    EXPECT_EQ(problems(readMapFile(Bytes{0}, maps)), "");
    EXPECT_TRUE(maps.empty());
    EXPECT_EQ(problems(readMapFile({}, maps)), "maps.dat: empty file, no levels in it\n");
}

// Three records are 1 + 3 x 1171 = 3514 bytes; whatever follows is not read.
TEST(LevelFile, ReadsEachFieldFromItsPlace) {
    Bytes second = record(9, 12, 3, {2, 8, 14, 5, 5, 5, 5, 5});
    second[11] = 1;           // column 0, row 0
    second[11 + 29] = 3;      // column 1, row 0
    second[11 + 1159] = 250;  // column 39, row 28
    Bytes bytes = file({record(5, 4, 2, {0, 1}), second, record(1, 1, 1, {22})});
    ASSERT_EQ(bytes.size(), 3514u);
    bytes.insert(bytes.end(), {7, 7, 7});
    MapList maps;
    EXPECT_EQ(problems(readMapFile(bytes, maps)), "maps.dat: 3 bytes after its 3 maps ignored\n");
    ASSERT_EQ(maps.size(), 3u);
    const SMapRecord& map = *maps[1];
    EXPECT_EQ(map.maxMonsters, 9);
    EXPECT_EQ(map.firstWave, 12);
    EXPECT_EQ(map.monsterTypeCount, 3);
    EXPECT_EQ(Bytes(map.monsterTypes, map.monsterTypes + 8), Bytes({2, 8, 14, 5, 5, 5, 5, 5}));
    EXPECT_EQ(map.tileAt(0, 0), 1);
    EXPECT_EQ(map.tileAt(1, 0), 3);
    EXPECT_EQ(map.tileAt(39, 28), 250);
    EXPECT_EQ(maps[2]->monsterTypes[0], 22);

    // And writing the records gives the same bytes back.
    std::vector<const SMapRecord*> pointers{maps[0].get(), maps[1].get(), maps[2].get()};
    Bytes encoded;
    ASSERT_TRUE(encodeMapFile(pointers, encoded));
    bytes.resize(3514);
    EXPECT_EQ(encoded, bytes);
    pointers.assign(256, &map);
    EXPECT_FALSE(encodeMapFile(pointers, encoded)) << "the count byte cannot say 256";
}

// A list says how many of its 8 slots count: more than 8 is cut to 8, and 0 makes no monsters
// whatever the slots hold. Maps without floor are left out, the rest keep their order.
TEST(LevelFile, CutsLongListsAndSkipsMapsWithoutFloor) {
    MapList maps;
    const SMapFileReport report =
        readMapFile(file({record(5, 4, 200, {1, 2, 3, 4, 5, 6, 7, 8}), record(2, 2, 1, {0}, 1),
                          record(6, 4, 0, {9, 9, 9, 9, 9, 9, 9, 9}), record(4, 4, 9, {1}, 255)}),
                    maps);
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0]->monsterTypeCount, 8);
    EXPECT_EQ(maps[1]->maxMonsters, 6);
    EXPECT_EQ(maps[1]->monsterTypeCount, 0);
    EXPECT_EQ(problems(report),
              "maps.dat: 2 maps list more than 8 monster types; only the first 8 are used\n"
              "maps.dat: skipped 2 maps without a floor tile (the first is map 2)\n");
}

TEST(LevelFile, ARecordCutShortIsZeroFilled) {
    Bytes bytes = file({record(1, 1, 1, {0}), record(6, 5, 2, {3, 4}, 2)});
    bytes.resize(1 + kMapRecordBytes + 11 + 100);  // the second ends 100 tiles in
    MapList maps;
    SMapFileReport report = readMapFile(bytes, maps);
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[1]->monsterTypes[1], 4);
    EXPECT_EQ(maps[1]->tiles[99], 2);
    EXPECT_EQ(maps[1]->tiles[100], 0);
    EXPECT_EQ(maps[1]->tiles[1159], 0);
    EXPECT_EQ(problems(report),
              "maps.dat: cut short: it announces 2 maps but holds 2, the last one incomplete "
              "and zero-filled\n");

    report = readMapFile(Bytes{1, 9, 8}, maps);  // cut inside the header
    ASSERT_EQ(maps.size(), 1u);
    EXPECT_EQ(maps[0]->firstWave, 8);
    EXPECT_EQ(maps[0]->monsterTypeCount, 0);

    // Announced records the file does not hold at all are not made up.
    report = readMapFile(file({record(1, 1, 1, {0})}, 5), maps);
    EXPECT_EQ(maps.size(), 1u);
    EXPECT_EQ(problems(report), "maps.dat: cut short: it announces 5 maps but holds 1\n");
}

}  // namespace
