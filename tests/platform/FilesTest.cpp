#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Files.h"
#include "support/RunGame.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

TEST(Files, AnAtomicWriteReplacesTheWholeFileAndLeavesNothingBehind) {
    const fs::path dir = freshTestDir("files");
    const std::string path = (dir / "maps.dat").string();
    std::string error;
    const Bytes big(5000, 1), small{2, 3};
    ASSERT_TRUE(writeFileAtomically(path, big.data(), big.size(), error)) << error;
    ASSERT_TRUE(writeFileAtomically(path, small.data(), small.size(), error)) << error;
    Bytes back;
    ASSERT_TRUE(readFile(path, back, error)) << error;
    EXPECT_EQ(back, small);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::others_read, fs::perms::others_read);
    EXPECT_FALSE(
        writeFileAtomically((dir / "no" / "maps.dat").string(), back.data(), back.size(), error));
    EXPECT_NE(error.find("no/maps.dat"), std::string::npos) << error;
}

TEST(Files, ReadingStopsAtTheLimit) {
    const fs::path dir = freshTestDir("files-limit");
    std::ofstream(dir / "big.dat", std::ios::binary) << std::string(200000, 'x');
    Bytes bytes;
    std::string error;
    ASSERT_TRUE(readFile((dir / "big.dat").string(), bytes, error, 70000));
    EXPECT_EQ(bytes.size(), 70000u);
    ASSERT_TRUE(readFile((dir / "big.dat").string(), bytes, error));
    EXPECT_EQ(bytes.size(), 200000u);
    EXPECT_FALSE(readFile((dir / "missing.dat").string(), bytes, error));
    EXPECT_NE(error.find("missing.dat: No such file"), std::string::npos) << error;
}

}  // namespace
