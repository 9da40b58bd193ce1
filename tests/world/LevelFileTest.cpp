#include "world/LevelFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// A record as it stands in the file: ceiling, first wave, list length, 8 type slots, tiles.
std::vector<uint8_t> record(uint8_t ceiling, uint8_t firstWave, uint8_t count,
                            std::vector<uint8_t> types, uint8_t fill = 0) {
    std::vector<uint8_t> bytes{ceiling, firstWave, count};
    types.resize(8, 0);
    bytes.insert(bytes.end(), types.begin(), types.end());
    bytes.resize(kMapRecordBytes, fill);
    return bytes;
}

std::vector<uint8_t> file(std::initializer_list<std::vector<uint8_t>> records, int count = -1) {
    std::vector<uint8_t> bytes{static_cast<uint8_t>(count < 0 ? records.size() : count)};
    for (const auto& r : records) bytes.insert(bytes.end(), r.begin(), r.end());
    return bytes;
}

TEST(LevelFile, ASingleZeroByteIsAnEmptyList) {
    MapList maps;
    maps.push_back(std::make_unique<SMapRecord>());  // whatever was there goes
    const std::vector<uint8_t> bytes{0};
    const SMapFileReport report = readMapFile(bytes, maps);
    EXPECT_TRUE(maps.empty());
    EXPECT_TRUE(mapFileProblems("maps.dat", report).empty());
}

// Three records are 1 + 3 x 1171 = 3514 bytes; what follows is not read.
TEST(LevelFile, ReadsEachFieldFromItsPlace) {
    std::vector<uint8_t> second = record(9, 12, 3, {2, 8, 14, 5, 5, 5, 5, 5});
    second[11] = 1;           // column 0, row 0
    second[11 + 28] = 2;      // column 0, row 28
    second[11 + 29] = 3;      // column 1, row 0
    second[11 + 1159] = 250;  // column 39, row 28
    std::vector<uint8_t> bytes = file({record(5, 4, 2, {0, 1}), second, record(1, 1, 1, {22})});
    ASSERT_EQ(bytes.size(), 3514u);
    bytes.insert(bytes.end(), {7, 7, 7});
    MapList maps;
    const SMapFileReport report = readMapFile(bytes, maps);
    ASSERT_EQ(maps.size(), 3u);
    EXPECT_EQ(report.trailingBytes, 3u);
    EXPECT_TRUE(mapFileProblems("maps.dat", report).empty());

    EXPECT_EQ(maps[0]->maxMonsters, 5);
    EXPECT_EQ(maps[0]->firstWave, 4);
    EXPECT_EQ(maps[0]->monsterTypeCount, 2);
    const SMapRecord& map = *maps[1];
    EXPECT_EQ(map.maxMonsters, 9);
    EXPECT_EQ(map.firstWave, 12);
    EXPECT_EQ(map.monsterTypeCount, 3);
    const uint8_t types[8] = {2, 8, 14, 5, 5, 5, 5, 5};
    EXPECT_TRUE(std::equal(std::begin(types), std::end(types), map.monsterTypes));
    EXPECT_EQ(map.tileAt(0, 0), 1);
    EXPECT_EQ(map.tileAt(0, 28), 2);
    EXPECT_EQ(map.tileAt(1, 0), 3);
    EXPECT_EQ(map.tileAt(39, 28), 250);
    EXPECT_EQ(maps[2]->monsterTypes[0], 22);
}

// The count is only what the file says: the 8 slots are all there is to read, and a list
// with 0 entries makes no monsters whatever the slots hold.
TEST(LevelFile, MonsterListsLongerThanEightAreCut) {
    MapList maps;
    const SMapFileReport report =
        readMapFile(file({record(5, 4, 200, {1, 2, 3, 4, 5, 6, 7, 8}), record(5, 4, 9, {1}),
                          record(5, 4, 0, {9, 9, 9, 9, 9, 9, 9, 9})}),
                    maps);
    ASSERT_EQ(maps.size(), 3u);
    EXPECT_EQ(maps[0]->monsterTypeCount, 8);
    EXPECT_EQ(maps[1]->monsterTypeCount, 8);
    EXPECT_EQ(maps[2]->monsterTypeCount, 0);
    EXPECT_EQ(maps[2]->monsterTypes[7], 9);
    EXPECT_EQ(report.clampedMaps, 2u);
    const auto lines = mapFileProblems("here/maps.dat", report);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("here/maps.dat: 2 maps list more than 8", 0), 0u) << lines[0];
}

// Nothing could be placed in a maze without floor; such maps are left out and the rest keep
// their order.
TEST(LevelFile, MapsWithoutFloorAreSkipped) {
    std::vector<uint8_t> oneFloorTile = record(3, 3, 1, {0}, 7);
    oneFloorTile[11 + 600] = 0;
    MapList maps;
    const SMapFileReport report = readMapFile(file({record(1, 1, 1, {0}), record(2, 2, 1, {0}, 1),
                                                    oneFloorTile, record(4, 4, 1, {0}, 255)}),
                                              maps);
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0]->maxMonsters, 1);
    EXPECT_EQ(maps[1]->maxMonsters, 3);
    EXPECT_EQ(report.skippedMaps, 2u);
    const auto lines = mapFileProblems("maps.dat", report);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("skipped 2 maps without a floor tile (the first is map 2)"),
              std::string::npos)
        << lines[0];
}

TEST(LevelFile, ARecordCutShortIsZeroFilled) {
    // The second record ends in its tiles: what is missing reads as floor.
    std::vector<uint8_t> bytes = file({record(1, 1, 1, {0}, 1), record(6, 5, 2, {3, 4}, 2)});
    bytes[1 + 11] = 0;  // one floor tile in the first
    bytes.resize(1 + kMapRecordBytes + 11 + 100);
    MapList maps;
    SMapFileReport report = readMapFile(bytes, maps);
    ASSERT_EQ(maps.size(), 2u);
    const SMapRecord& cut = *maps[1];
    EXPECT_EQ(cut.maxMonsters, 6);
    EXPECT_EQ(cut.monsterTypes[1], 4);
    EXPECT_EQ(cut.tiles[99], 2);
    EXPECT_EQ(cut.tiles[100], 0);
    EXPECT_EQ(cut.tiles[1159], 0);
    EXPECT_TRUE(report.cutShort());
    auto lines = mapFileProblems("maps.dat", report);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("announces 2 maps but holds 2, the last one incomplete"),
              std::string::npos)
        << lines[0];

    // Cut inside the header: the fields read are kept, the rest is 0.
    bytes = {1, 9, 8};
    report = readMapFile(bytes, maps);
    ASSERT_EQ(maps.size(), 1u);
    EXPECT_EQ(maps[0]->maxMonsters, 9);
    EXPECT_EQ(maps[0]->firstWave, 8);
    EXPECT_EQ(maps[0]->monsterTypeCount, 0);
    EXPECT_TRUE(report.lastRecordCut);

    // Announced records the file does not hold at all are not made up.
    bytes = file({record(1, 1, 1, {0})}, 5);
    report = readMapFile(bytes, maps);
    EXPECT_EQ(maps.size(), 1u);
    lines = mapFileProblems("maps.dat", report);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("announces 5 maps but holds 1"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[0].find("incomplete"), std::string::npos) << lines[0];
}

TEST(LevelFile, AnEmptyFileHasNoLevels) {
    MapList maps;
    const SMapFileReport report = readMapFile({}, maps);
    EXPECT_TRUE(maps.empty());
    EXPECT_TRUE(report.empty);
    EXPECT_EQ(mapFileProblems("maps.dat", report).size(), 1u);
}

TEST(LevelFile, EncodingIsTheLayoutReadingExpects) {
    std::vector<uint8_t> walled = record(18, 16, 8, {15, 13, 14, 12, 7, 9, 5, 11}, 3);
    walled[11 + 30] = 0;
    const std::vector<uint8_t> bytes = file({record(5, 4, 2, {0, 1}, 0), walled});
    MapList maps;
    readMapFile(bytes, maps);
    std::vector<const SMapRecord*> pointers;
    for (const auto& map : maps) pointers.push_back(map.get());
    std::vector<uint8_t> encoded;
    ASSERT_TRUE(encodeMapFile(pointers, encoded));
    EXPECT_EQ(encoded, bytes);

    const SMapRecord spare;
    pointers.assign(256, &spare);
    EXPECT_FALSE(encodeMapFile(pointers, encoded)) << "the count byte cannot say 256";
}

class LevelFileWriting : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/boltfever-levelfile-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(LevelFileWriting, ReplacesTheFileWholeAndLeavesNothingBehind) {
    const std::string path = (dir / "maps.dat").string();
    std::string error;
    const std::vector<uint8_t> first(5000, 1), second{2, 3};
    ASSERT_TRUE(writeFileAtomically(path, first, error)) << error;
    ASSERT_TRUE(writeFileAtomically(path, second, error)) << error;
    std::vector<uint8_t> back;
    ASSERT_TRUE(readFileBytes(path, back, error)) << error;
    EXPECT_EQ(back, second);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::others_read, fs::perms::others_read);

    EXPECT_FALSE(writeFileAtomically((dir / "no" / "maps.dat").string(), second, error));
    EXPECT_NE(error.find("no/maps.dat"), std::string::npos) << error;
}

TEST_F(LevelFileWriting, ReadsNoMoreThanAFullFileCanHold) {
    const std::string path = (dir / "big.dat").string();
    {
        std::ofstream out(path, std::ios::binary);
        const std::vector<char> junk(kMaxMapFileBytes + 5000, 1);
        out.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(readFileBytes(path, bytes, error));
    EXPECT_EQ(bytes.size(), kMaxMapFileBytes);
    EXPECT_FALSE(readFileBytes((dir / "missing.dat").string(), bytes, error));
    EXPECT_NE(error.find("missing.dat"), std::string::npos);
}

}  // namespace
