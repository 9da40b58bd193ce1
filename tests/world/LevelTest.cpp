#include "world/Level.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "state/GameState.h"
#include "state/Random.h"
#include "support/GameTest.h"
#include "world/LevelFile.h"

namespace fs = std::filesystem;

namespace {

class LevelTest : public CGameTest {
protected:
    // Asked afresh each time: the fixture replaces the singleton before every test.
    static CLevel& level() { return CLevel::instance(); }

    static void fillTiles(int32_t value) {
        for (auto& column : level().tiles) std::fill(std::begin(column), std::end(column), value);
    }
    // n walled maps told apart by their ceiling, each with one floor tile.
    static void giveMaps(int32_t n) {
        level().maps = std::make_unique<MapList>();
        for (int32_t i = 0; i < n; ++i) {
            auto map = std::make_unique<SMapRecord>();
            std::fill(std::begin(map->tiles), std::end(map->tiles), 1);
            map->tiles[i * kMazeRows] = 0;
            map->maxMonsters = static_cast<uint8_t>(i);
            level().maps->push_back(std::move(map));
        }
    }
};

// One step past an edge lands on the far edge, and an edge itself is read where it is. The
// shipped maps repeat their edges, so here the edges differ: column 39 and row 0 are wall,
// column 0 and row 28 floor. Only floor is free: value 7, a wall drawn as nothing, is not.
TEST_F(LevelTest, IsFreeAndIsOpenWrapOneStepAtEveryEdgeAndOnlyFloorIsFree) {
    fillTiles(0);
    for (int32_t r = 0; r < kMazeRows; ++r) level().tiles[39][r] = 1;
    for (int32_t c = 0; c < kMazeColumns; ++c) level().tiles[c][0] = 1;
    const struct {
        int32_t x, y, dir;  // dir -1: isFree (x, y)
        bool free;
    } probes[] = {
        {-1, 5, -1, false}, {0, 5, -1, true},  {39, 5, -1, false}, {40, 5, -1, true},
        {5, -1, -1, true},  {5, 0, -1, false}, {5, 28, -1, true},  {5, 29, -1, false},
        {0, 5, 0, false},   {1, 5, 0, true},   {38, 5, 2, false},  {39, 5, 2, true},
        {5, 0, 1, true},    {5, 1, 1, false},  {5, 27, 3, true},   {5, 28, 3, false},
    };
    for (const auto& p : probes)
        EXPECT_EQ(p.dir == -1 ? level().isFree(p.x, p.y) : level().isOpen(p.x, p.y, p.dir), p.free)
            << "(" << p.x << ", " << p.y << ") direction " << p.dir;

    for (const int32_t value : {2, 4, 5, 7, 255}) {
        level().tiles[10][10] = value;
        EXPECT_FALSE(level().isFree(10, 10)) << "tile value " << value;
    }
}

TEST_F(LevelTest, IsOpenAsksTheNeighbourInTheDirection) {
    fillTiles(1);
    const int32_t neighbours[4][2] = {{4, 6}, {5, 5}, {6, 6}, {5, 7}};
    for (int32_t dir = 0; dir < 4; ++dir) {
        level().tiles[neighbours[dir][0]][neighbours[dir][1]] = 0;
        for (int32_t other = 0; other < 4; ++other)
            EXPECT_EQ(level().isOpen(5, 6, other), other <= dir) << dir << " " << other;
    }
    EXPECT_FALSE(level().isOpen(5, 6, 4));  // with floor all round
    EXPECT_FALSE(level().isOpen(5, 6, -1));
    level().tiles[39][6] = 0;
    EXPECT_TRUE(level().isOpen(0, 6, 0));
}

// The column is rolled before the row. The game's generator is the C library's (Random's
// own test), so the host's rand() seeded alike gives the rolls to expect.
TEST_F(LevelTest, RandomFreeTileRollsColumnThenRowUntilFloor) {
    fillTiles(1);
    level().tiles[5][3] = 0;
    level().tiles[17][20] = 0;
    seedGameRand(99);
    std::srand(99);
    int32_t expectX = 0, expectY = 0;
    do {
        expectX = std::rand() % 40;
        expectY = std::rand() % 29;
    } while (level().tiles[expectX][expectY] != 0);
    int32_t x = -1, y = -1;
    level().randomFreeTile(x, y);
    EXPECT_EQ(x, expectX);
    EXPECT_EQ(y, expectY);
    EXPECT_EQ(gameRand(), std::rand()) << "a roll too many or too few";

    fillTiles(4);  // no floor at all: it must come back rather than roll for ever
    level().randomFreeTile(x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
}

TEST_F(LevelTest, TutorialMapIsAWalledBoxWithTheDummy) {
    level().loadTutorialMap();
    ASSERT_NE(level().currentMap, nullptr);
    const SMapRecord& map = *level().currentMap;
    EXPECT_EQ(map.monsterTypeCount, 1);
    EXPECT_EQ(map.monsterTypes[0], 22);
    EXPECT_EQ(map.maxMonsters + map.firstWave, 0);
    for (int32_t column = 0; column < kMazeColumns; ++column)
        for (int32_t row = 0; row < kMazeRows; ++row) {
            const bool inBox = column >= 2 && column <= 37 && row >= 19 && row <= 26;
            const bool outline = inBox && (column == 2 || column == 37 || row == 19 || row == 26);
            ASSERT_EQ(level().tiles[column][row], outline ? 1 : 0) << column << ", " << row;
        }
    level().loadTutorialMap();  // the record stays for the run and is reused
    EXPECT_EQ(level().currentMap, &map);
}

TEST_F(LevelTest, WithoutMapsLoadLevelKeepsTheMazeThatIsThere) {
    level().loadTutorialMap();
    const SMapRecord* tutorial = level().currentMap;
    EXPECT_FALSE(level().loadLevel(0));
    level().maps = std::make_unique<MapList>();  // a file with no maps in it
    EXPECT_EQ(level().mapAt(7), nullptr);
    EXPECT_FALSE(level().loadLevel(3));
    EXPECT_EQ(level().currentMap, tutorial);
    EXPECT_EQ(level().tiles[2][19], 1);
}

// Levels cycle through the maps; the maze is copied column by column (byte column * 29 + row)
// as unsigned bytes.
TEST_F(LevelTest, LevelsCycleThroughTheMaps) {
    giveMaps(10);
    for (int32_t n = 0; n < 10; ++n) EXPECT_EQ(level().mapAt(n)->maxMonsters, n);
    EXPECT_EQ(level().mapAt(10)->maxMonsters, 0);
    EXPECT_EQ(level().mapAt(11)->maxMonsters, 1);
    EXPECT_EQ(level().mapAt(-1)->maxMonsters, 9);

    giveMaps(3);
    SMapRecord& map = *level().mapAt(1);
    map.tiles[2 * kMazeRows + 5] = 3;    // column 2, row 5
    map.tiles[5 * kMazeRows + 2] = 200;  // column 5, row 2
    ASSERT_TRUE(level().loadLevel(7));
    EXPECT_EQ(level().currentMap, &map);
    EXPECT_EQ(level().tiles[2][5], 3);
    EXPECT_EQ(level().tiles[5][2], 200);
    EXPECT_EQ(level().tiles[1][0], 0);
    EXPECT_EQ(level().tiles[0][0], 1);
}

TEST_F(LevelTest, BestLevelRecordsTheLevelJustFinishedUpToEight) {
    CGameState& state = CGameState::instance();
    const int32_t cases[][3] = {{3, 12, 8}, {5, 2, 5}, {2, 4, 4}, {0, 8, 8}, {0, -16, 0}};
    for (const auto& [best, finished, expected] : cases) {
        state.bestLevel = best;
        level().levelNumber = finished;
        level().recordBestLevel();
        EXPECT_EQ(state.bestLevel, expected) << "best " << best << ", finished " << finished;
    }
}

TEST_F(LevelTest, LoadsTheBuiltLevelFile) {
    ASSERT_TRUE(level().loadMapsFrom(BOLTFEVER_BINARY_DIR "/maps.dat"));
    ASSERT_GE(level().maps->size(), 16u);
    for (int32_t n = 0; n < static_cast<int32_t>(level().maps->size()); ++n) {
        ASSERT_TRUE(level().loadLevel(n));
        EXPECT_TRUE(level().isFree(1, 1)) << "map " << n << ": the player starts in a wall";
    }
}

TEST_F(LevelTest, AMissingFileLeavesNoMapsAndSaysSoOnce) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(level().loadMapsFrom("/nonexistent/maps.dat"));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(level().maps, nullptr);
    EXPECT_EQ(message.rfind("boltfever: /nonexistent/maps.dat: ", 0), 0u) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);
}

// The handheld read maps.dat from the working directory; it still comes first.
TEST_F(LevelTest, TheWorkingDirectoryComesFirst) {
    char pattern[] = "/tmp/boltfever-level-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern, before = fs::current_path();
    std::string bytes(1 + kMapRecordBytes, '\0');
    bytes[0] = 1;
    bytes[1] = 42;  // a ceiling no shipped level has
    std::ofstream(dir / "maps.dat", std::ios::binary) << bytes;
    fs::current_path(dir);
    const bool loaded = level().loadMaps();
    fs::current_path(before);
    fs::remove_all(dir);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(level().maps->size(), 1u);
    EXPECT_EQ(level().mapAt(0)->maxMonsters, 42);
}

}  // namespace
