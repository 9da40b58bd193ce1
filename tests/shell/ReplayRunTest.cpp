#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Files.h"
#include "support/RunGame.h"

namespace {

// A short walk from the start, with a pause on the way.
constexpr const char* kWalk =
    "# down the first corridor, right, pause, on again\n"
    "140 down\n"
    "200 right\n"
    "260 down right a\n"
    "300 start\n"
    "305\n"
    "330 start\n"
    "335 right\n"
    "400\n";

TEST(ReplayRun, ARecordedHeadlessRunReplaysAndAChangedButtonIsCaught) {
    const std::string dir = freshTestDir("replay");
    writeText(dir + "/walk.txt", kWalk);
    // A seed under which no zombie catches the player on the walk: a player caught just before
    // the changed buttons would be materialising again while they are held, and nothing would
    // differ.
    const SGameRun recorded = runGame(
        "--headless --seed 8 --input walk.txt --frames 420 --record walk.bfr --screenshot a.png",
        dir);
    ASSERT_EQ(recorded.status, 0) << recorded.output;

    const SGameRun played = runGame("--headless --replay walk.bfr --screenshot b.png", dir);
    EXPECT_EQ(played.status, 0) << played.output;
    std::vector<uint8_t> a, b;
    std::string error;
    ASSERT_TRUE(readFile(dir + "/a.png", a, error));
    ASSERT_TRUE(readFile(dir + "/b.png", b, error));
    EXPECT_EQ(a, b);

    // Walk the records (past 34 bytes with empty blocks, then the game's version and maps; 'B'
    // mask:u16 count:varint; 'P' picture:varint hash:u64 sound:u64) and change the buttons of
    // the run that holds "down right a": the game goes elsewhere from there, and the first
    // picture checked after it must differ.
    std::vector<uint8_t> replay;
    ASSERT_TRUE(readFile(dir + "/walk.bfr", replay, error));
    auto varint = [&](size_t& at) {
        uint32_t v = 0;
        for (int shift = 0;; shift += 7) {
            const uint8_t byte = replay[at++];
            v |= static_cast<uint32_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80)) return v;
        }
    };
    const uint16_t downRightFire = (1 << 1) | (1 << 3) | (1 << 6);
    uint32_t lastPicture = 0, expected = 0;
    for (size_t at = 34 + 1 + replay[34] + 8; at < replay.size() && expected == 0;) {
        const uint8_t tag = replay[at++];
        if (tag == 'B') {
            const uint16_t mask = static_cast<uint16_t>(replay[at] | replay[at + 1] << 8);
            if (mask == downRightFire) {
                replay[at] = 1 << 0;  // up instead
                replay[at + 1] = 0;
                expected = lastPicture + 60;
            }
            at += 2;
            varint(at);
        } else if (tag == 'P') {
            lastPicture = varint(at);
            at += 16;
        } else {
            break;
        }
    }
    ASSERT_NE(expected, 0u) << "the walk's run of down-right-fire is not in the replay";
    ASSERT_TRUE(writeFileAtomically(dir + "/changed.bfr", replay.data(), replay.size(), error));
    const SGameRun changed = runGame("--headless --replay changed.bfr", dir);
    EXPECT_EQ(changed.status, 3) << changed.output;
    EXPECT_NE(changed.output.find("picture " + std::to_string(expected) + " differs"),
              std::string::npos)
        << changed.output;
}

TEST(ReplayRun, TwoRunsWithOneSeedShowTheSamePictures) {
    const std::string dir = freshTestDir("same-seed");
    writeText(dir + "/walk.txt", kWalk);
    ASSERT_EQ(
        runGame("--headless --seed 99 --input walk.txt --frames 400 --screenshot one.png", dir)
            .status,
        0);
    ASSERT_EQ(
        runGame("--headless --seed 99 --input walk.txt --frames 400 --screenshot two.png", dir)
            .status,
        0);
    std::vector<uint8_t> one, two;
    std::string error;
    ASSERT_TRUE(readFile(dir + "/one.png", one, error));
    ASSERT_TRUE(readFile(dir + "/two.png", two, error));
    EXPECT_EQ(one, two);
    // A 320 x 240 PNG: the width and height of its header.
    ASSERT_GT(one.size(), 24u);
    EXPECT_EQ((one[16] << 24 | one[17] << 16 | one[18] << 8 | one[19]), 320);
    EXPECT_EQ((one[20] << 24 | one[21] << 16 | one[22] << 8 | one[23]), 240);
}

}  // namespace
