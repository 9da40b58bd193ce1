#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(Files, ReadingIsBoundedAndTakesOnlyRegularFiles) {
    const fs::path dir = freshTestDir("files-limit");
    const std::string big = (dir / "big.dat").string(), fifo = (dir / "fifo").string();
    std::ofstream(big, std::ios::binary) << std::string(200000, 'x');
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Bytes bytes;
    std::string error;
    EXPECT_EQ(readFileUpTo(big, bytes, 70000, error), EFileRead::kCut);
    EXPECT_EQ(bytes.size(), 70000u);
    EXPECT_NE(error.find("big.dat: larger than 70000 bytes"), std::string::npos) << error;
    EXPECT_FALSE(readFile(big, bytes, error, 199999));
    EXPECT_TRUE(bytes.empty());
    ASSERT_TRUE(readFile(big, bytes, error, 200000));
    EXPECT_EQ(bytes.size(), 200000u);
    // Each refused at once with its reason: a pipe with no writer would block, /dev/zero never
    // ends.
    const struct {
        std::string path;
        EFileRead result;
        const char* reason;
    } cases[] = {
        {(dir / "missing.dat").string(), EFileRead::kMissing, "missing.dat: No such file"},
        {dir.string(), EFileRead::kFailed, "is a folder"},
        {fifo, EFileRead::kFailed, "fifo: not a regular file"},
        {"/dev/zero", EFileRead::kFailed, "/dev/zero: not a regular file"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readFileUpTo(c.path, bytes, 1000, error), c.result) << c.path;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(Files, OutputPathsAreCheckedWithoutTouchingAnything) {
    const fs::path dir = freshTestDir("files-output");
    std::ofstream(dir / "old.png") << "old";
    std::ofstream(dir / "locked.png") << "locked";
    fs::permissions(dir / "locked.png", fs::perms::owner_read);
    fs::create_directory(dir / "shut");
    fs::permissions(dir / "shut", fs::perms::owner_read | fs::perms::owner_exec);
    const bool root = ::geteuid() == 0;  // root writes in any folder
    const struct {
        fs::path path;
        bool ok;
        const char* reason;
    } cases[] = {
        {dir / "new.png", true, ""},
        {dir / "old.png", true, ""},
        {dir, false, "is a folder"},
        {dir / "sub/", false, "names a folder"},
        {dir / "no" / "x.png", false, "no folder"},
        {dir / "old.png" / "x.png", false, "is not a folder"},
        {"/dev/null", false, "not a regular file"},
        {dir / "locked.png", false, "read-only"},
        {dir / "shut" / "x.png", root, "cannot write in"},
    };
    std::string error;
    for (const auto& c : cases) {
        error.clear();
        EXPECT_EQ(checkOutputPath(c.path.string(), error), c.ok) << c.path << ": " << error;
        if (!c.ok) {
            EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        }
    }
    // The writer refuses it too (the keys file has no check before the controls page saves).
    EXPECT_FALSE(writeFileAtomically((dir / "locked.png").string(), "new", 3, error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
    EXPECT_TRUE(makeOutputFolder((dir / "a" / "b").string(), error)) << error;
    EXPECT_TRUE(fs::is_directory(dir / "a" / "b"));
    EXPECT_FALSE(makeOutputFolder((dir / "old.png").string(), error));
}

TEST(Files, ASaveTakesOverTheTemporaryFileAKilledOneLeft) {
    const fs::path dir = freshTestDir("files-stale");
    const std::string path = (dir / "boltfever.cfg").string();
    std::ofstream(path + ".tmp") << "half a save";
    std::string error;
    const Bytes settings(16, 7);
    ASSERT_TRUE(writeFileAtomically(path, settings.data(), settings.size(), error)) << error;
    Bytes back;
    ASSERT_TRUE(readFile(path, back, error));
    EXPECT_EQ(back, settings);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    // A link in its place is not followed.
    fs::create_symlink(dir / "elsewhere", path + ".tmp");
    EXPECT_FALSE(writeFileAtomically(path, settings.data(), settings.size(), error));
    EXPECT_FALSE(fs::exists(dir / "elsewhere"));
}

}  // namespace
