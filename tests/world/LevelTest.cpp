#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "support/GameTest.h"
#include "world/GameState.h"
#include "world/Level.h"
#include "world/LevelFile.h"
#include "world/Random.h"

namespace fs = std::filesystem;

namespace {

class LevelTest : public CGameTest {
protected:
    // Asked afresh each time: the fixture replaces the singleton before every test.
    static CLevel& level() { return CLevel::instance(); }

    void fillTiles(int32_t value) {
        for (auto& column : level().tiles)
            for (int32_t& tile : column) tile = value;
    }
    // n maps told apart by their ceiling, each with a floor tile at (index, 0).
    void giveMaps(int32_t n) {
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

TEST_F(LevelTest, StartsAsTheGameExpects) {
    EXPECT_EQ(level().levelNumber, -16);
    EXPECT_FALSE(level().extraLifeGiven);
    EXPECT_EQ(level().currentMap, nullptr);
    EXPECT_EQ(level().maps, nullptr);
    EXPECT_TRUE(level().isFree(20, 14));  // an all-floor grid until a maze is loaded
}

// One step past an edge lands on the far edge: column -1 is 39 and 40 is 0, row -1 is 28 and
// 29 is 0. Each probe is made free only on the tile it should read.
TEST_F(LevelTest, IsFreeWrapsOneStepPastEachEdge) {
    fillTiles(1);
    level().tiles[39][5] = 0;
    EXPECT_TRUE(level().isFree(-1, 5));
    EXPECT_FALSE(level().isFree(40, 5));
    level().tiles[0][5] = 0;
    level().tiles[39][5] = 2;
    EXPECT_TRUE(level().isFree(40, 5));
    EXPECT_FALSE(level().isFree(-1, 5));

    level().tiles[3][0] = 0;
    EXPECT_TRUE(level().isFree(3, 29));
    EXPECT_FALSE(level().isFree(3, -1));
    level().tiles[3][28] = 0;
    level().tiles[3][0] = 3;
    EXPECT_TRUE(level().isFree(3, -1));
    EXPECT_FALSE(level().isFree(3, 29));

    // Corners wrap on both axes at once.
    level().tiles[39][28] = 0;
    EXPECT_TRUE(level().isFree(-1, -1));
}

TEST_F(LevelTest, OnlyFloorIsFree) {
    for (const int32_t value : {1, 2, 3, 4, 5, 7, 255}) {
        level().tiles[10][10] = value;
        EXPECT_FALSE(level().isFree(10, 10)) << "tile value " << value;
    }
    level().tiles[10][10] = 0;
    EXPECT_TRUE(level().isFree(10, 10));
}

TEST_F(LevelTest, IsOpenAsksTheNeighbourInTheDirection) {
    fillTiles(1);
    level().tiles[4][6] = 0;  // left of (5, 6)
    EXPECT_TRUE(level().isOpen(5, 6, 0));
    EXPECT_FALSE(level().isOpen(5, 6, 1));
    EXPECT_FALSE(level().isOpen(5, 6, 2));
    EXPECT_FALSE(level().isOpen(5, 6, 3));
    level().tiles[5][5] = 0;  // above
    level().tiles[6][6] = 0;  // right
    level().tiles[5][7] = 0;  // below
    EXPECT_TRUE(level().isOpen(5, 6, 1));
    EXPECT_TRUE(level().isOpen(5, 6, 2));
    EXPECT_TRUE(level().isOpen(5, 6, 3));
    // Any other direction is never open, even with floor all round.
    EXPECT_FALSE(level().isOpen(5, 6, 4));
    EXPECT_FALSE(level().isOpen(5, 6, -1));
    // And at the edge the neighbour wraps: left of column 0 is column 39.
    level().tiles[39][6] = 0;
    EXPECT_TRUE(level().isOpen(0, 6, 0));
}

// The column is rolled before the row; the generator is the C library's, so the host's rand()
// seeded alike gives the rolls to expect.
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
    EXPECT_EQ(gameRand(), std::rand()) << "randomFreeTile rolled more or less than it should";
}

TEST_F(LevelTest, RandomFreeTileGivesUpRollingOnAWalledUpGrid) {
    fillTiles(1);
    level().tiles[30][2] = 0;
    int32_t x = 0, y = 0;
    level().randomFreeTile(x, y);  // finds the single floor tile by rolling
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 2);
    fillTiles(4);
    level().randomFreeTile(x, y);  // must come back rather than roll forever
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
}

TEST_F(LevelTest, TutorialMapIsAWalledBoxWithTheDummy) {
    level().loadTutorialMap();
    ASSERT_NE(level().currentMap, nullptr);
    const SMapRecord& map = *level().currentMap;
    EXPECT_EQ(map.monsterTypeCount, 1);
    EXPECT_EQ(map.monsterTypes[0], 22);
    EXPECT_EQ(map.maxMonsters, 0);
    EXPECT_EQ(map.firstWave, 0);
    for (int32_t column = 0; column < kMazeColumns; ++column)
        for (int32_t row = 0; row < kMazeRows; ++row) {
            const bool inBox = column >= 2 && column <= 37 && row >= 19 && row <= 26;
            const bool outline = inBox && (column == 2 || column == 37 || row == 19 || row == 26);
            ASSERT_EQ(level().tiles[column][row], outline ? 1 : 0) << column << ", " << row;
            ASSERT_EQ(map.tileAt(column, row), outline ? 1 : 0);
        }
    // The record stays for the run: loading it again reuses it.
    const SMapRecord* first = level().currentMap;
    level().tiles[20][22] = 3;
    level().loadTutorialMap();
    EXPECT_EQ(level().currentMap, first);
    EXPECT_EQ(level().tiles[20][22], 0);
}

TEST_F(LevelTest, LoadLevelWithoutMapsKeepsTheMazeThatIsThere) {
    level().loadTutorialMap();
    const SMapRecord* tutorial = level().currentMap;
    EXPECT_FALSE(level().loadLevel(0));
    EXPECT_EQ(level().currentMap, tutorial);
    EXPECT_EQ(level().tiles[2][19], 1);

    // A level file with no maps in it behaves the same.
    level().maps = std::make_unique<MapList>();
    EXPECT_EQ(level().mapAt(0), nullptr);
    EXPECT_EQ(level().mapAt(7), nullptr);
    EXPECT_FALSE(level().loadLevel(3));
    EXPECT_EQ(level().currentMap, tutorial);
}

TEST_F(LevelTest, LevelsCycleThroughTheMaps) {
    giveMaps(10);
    for (int32_t n = 0; n < 10; ++n) EXPECT_EQ(level().mapAt(n)->maxMonsters, n);
    EXPECT_EQ(level().mapAt(10)->maxMonsters, 0);
    EXPECT_EQ(level().mapAt(11)->maxMonsters, 1);
    EXPECT_EQ(level().mapAt(-1)->maxMonsters, 9);

    giveMaps(3);
    EXPECT_EQ(level().mapAt(7)->maxMonsters, 1);
    ASSERT_TRUE(level().loadLevel(7));
    EXPECT_EQ(level().currentMap, level().mapAt(1));
}

// The file keeps tiles column by column (byte column * 29 + row) and as unsigned bytes.
TEST_F(LevelTest, LoadLevelCopiesTheMazeColumnByColumn) {
    giveMaps(1);
    SMapRecord& map = *(*level().maps)[0];
    map.tiles[2 * kMazeRows + 5] = 3;    // column 2, row 5
    map.tiles[5 * kMazeRows + 2] = 200;  // column 5, row 2: above 127
    map.tiles[39 * kMazeRows + 28] = 4;  // the last byte
    ASSERT_TRUE(level().loadLevel(0));
    EXPECT_EQ(level().tiles[2][5], 3);
    EXPECT_EQ(level().tiles[5][2], 200);
    EXPECT_EQ(level().tiles[39][28], 4);
    EXPECT_EQ(level().tiles[0][0], 0);
    EXPECT_EQ(level().tiles[1][0], 1);
}

TEST_F(LevelTest, BestLevelRecordsTheLevelJustFinishedUpToEight) {
    CGameState& state = CGameState::instance();
    struct SCase {
        int32_t best, finished, expected;
    };
    for (const SCase& c : {SCase{3, 12, 8}, SCase{5, 2, 5}, SCase{2, 4, 4}, SCase{0, 8, 8},
                           SCase{0, 0, 0}, SCase{0, -16, 0}, SCase{8, 9, 8}}) {
        state.bestLevel = c.best;
        level().levelNumber = c.finished;
        level().recordBestLevel();
        EXPECT_EQ(state.bestLevel, c.expected) << "best " << c.best << ", finished " << c.finished;
        EXPECT_EQ(level().levelNumber, c.finished);  // advancing is the level start's job
    }
}

TEST_F(LevelTest, LoadsTheBuiltLevelFile) {
    ASSERT_TRUE(level().loadMapsFrom(BOLTFEVER_BINARY_DIR "/maps.dat"));
    ASSERT_NE(level().maps, nullptr);
    EXPECT_GE(level().maps->size(), 16u);
    for (int32_t n = 0; n < static_cast<int32_t>(level().maps->size()); ++n) {
        ASSERT_TRUE(level().loadLevel(n));
        EXPECT_TRUE(level().isFree(1, 1)) << "map " << n << ": the player starts in a wall";
        EXPECT_GE(level().currentMap->monsterTypeCount, 1) << "map " << n;
    }
}

TEST_F(LevelTest, AMissingFileLeavesNoMapsAndSaysSo) {
    level().loadTutorialMap();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(level().loadMapsFrom("/nonexistent/maps.dat"));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(level().maps, nullptr);
    EXPECT_NE(message.find("/nonexistent/maps.dat"), std::string::npos);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);
    EXPECT_FALSE(level().loadLevel(0));
    EXPECT_EQ(level().tiles[2][19], 1);
}

// The handheld read maps.dat from the working directory; it still comes first.
TEST_F(LevelTest, TheWorkingDirectoryComesFirst) {
    char pattern[] = "/tmp/boltfever-level-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    {
        std::ofstream out(dir / "maps.dat", std::ios::binary);
        std::vector<char> bytes(1 + kMapRecordBytes, 0);
        bytes[0] = 1;
        bytes[1] = 42;  // the ceiling tells this file from the built one
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    const bool loaded = level().loadMaps();
    fs::current_path(before);
    fs::remove_all(dir);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(level().maps->size(), 1u);
    EXPECT_EQ(level().mapAt(0)->maxMonsters, 42);
}

}  // namespace
