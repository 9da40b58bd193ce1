#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "sound/SoundManager.h"
#include "state/GameState.h"
#include "support/FullDisk.h"
#include "support/GameTest.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

class CSettingsTest : public CGameTest {
protected:
    fs::path dir;
    std::string path;
    CSoundManager* sound = nullptr;

    void SetUp() override {
        CGameTest::SetUp();
        char name[] = "/tmp/boltfever-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        dir = name;
        path = (dir / "boltfever.cfg").string();
        sound = &CSoundManager::instance();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
        CGameTest::TearDown();
    }

    static void writeFile(const std::string& file, const Bytes& bytes) {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes readFile(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Loads from `path`, returning what was said on stderr.
    std::string loadCapturingErrors() {
        testing::internal::CaptureStderr();
        sound->loadSettingsFrom(path);
        return testing::internal::GetCapturedStderr();
    }
    static int lines(const std::string& text) {
        int n = 0;
        for (const char c : text) n += c == '\n';
        return n;
    }
};

TEST_F(CSettingsTest, NoFileMeansDefaultsAndTheyAreSavedWithTheLevelReached) {
    EXPECT_EQ(loadCapturingErrors(), "");
    EXPECT_EQ(sound->masterVolume, 128);
    EXPECT_EQ(sound->mixer.masterVolume, 128);
    EXPECT_EQ(sound->musicVolume, 256);
    EXPECT_EQ(sound->mixer.musicVolume, 256);
    EXPECT_FALSE(sound->swapStereo);
    EXPECT_EQ(CGameState::instance().bestLevel, 0);

    CGameState::instance().bestLevel = 2;
    ASSERT_TRUE(sound->saveSettingsTo(path));
    EXPECT_EQ(readFile(path), (Bytes{0x80, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0}));
}

TEST_F(CSettingsTest, RoundTripKeepsTheReservedBytesAndTheBestLevel) {
    // Master 200, music 100, swapped, reserved bytes of someone else's, best level 5.
    writeFile(path, {0xC8, 0, 0, 0, 0x64, 0, 0, 0, 1, 0xAB, 0xCD, 0xEF, 5, 0, 0, 0});
    EXPECT_EQ(loadCapturingErrors(), "");
    EXPECT_EQ(sound->masterVolume, 200);
    EXPECT_EQ(sound->mixer.masterVolume, 200);
    EXPECT_EQ(sound->musicVolume, 100);
    EXPECT_EQ(sound->mixer.musicVolume, 100);
    EXPECT_TRUE(sound->swapStereo);
    EXPECT_TRUE(sound->mixer.swapStereo);
    EXPECT_EQ(CGameState::instance().bestLevel, 5);

    // A lower level than the file's best does not replace it.
    sound->volumeDown();
    sound->toggleSwapStereo();
    CGameState::instance().bestLevel = 4;
    ASSERT_TRUE(sound->saveSettingsTo(path));
    EXPECT_EQ(readFile(path),
              (Bytes{0xC7, 0, 0, 0, 0x64, 0, 0, 0, 0, 0xAB, 0xCD, 0xEF, 5, 0, 0, 0}));

    // A higher one does.
    CGameState::instance().bestLevel = 7;
    ASSERT_TRUE(sound->saveSettingsTo(path));
    EXPECT_EQ(readFile(path)[12], 7);
}

TEST_F(CSettingsTest, OutOfRangeValuesArePlayedSafelyAndSavedBackAsTheyWere) {
    // Master 1000, music -20, swap flag 2, best level 99.
    writeFile(path, {0xE8, 0x03, 0, 0, 0xEC, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 99, 0, 0, 0});
    const std::string said = loadCapturingErrors();
    EXPECT_EQ(lines(said), 1) << said;
    EXPECT_NE(said.find(path), std::string::npos) << said;
    EXPECT_EQ(sound->masterVolume, 1000);
    EXPECT_EQ(sound->mixer.masterVolume, 256);
    EXPECT_EQ(sound->musicVolume, 0);
    EXPECT_EQ(sound->mixer.musicVolume, 0);
    EXPECT_TRUE(sound->mixer.swapStereo);
    EXPECT_EQ(CGameState::instance().bestLevel, 8);

    ASSERT_TRUE(sound->saveSettingsTo(path));
    EXPECT_EQ(readFile(path), (Bytes{0xE8, 0x03, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 99, 0, 0, 0}));
}

// A run that loads the file, turns the volume up once and saves: the file's bytes before and
// after. Whatever a short file does not hold keeps its default; a file that is there but cannot
// be read is played on the defaults and never saved over.
TEST_F(CSettingsTest, EachKindOfFileBeforeAndAfterARun) {
    enum EKind { kMissing, kBytes, kPipe, kFolder, kLocked };
    const Bytes full{0xC8, 0, 0, 0, 0x40, 0, 0, 0, 1, 9, 9, 9, 3, 0, 0, 0};
    Bytes longer = full;
    longer.insert(longer.end(), {1, 2, 3, 4});
    const struct {
        EKind kind;
        Bytes before;
        int lines;  // said at load
        int32_t master, music;
        Bytes after;
    } cases[] = {
        {kMissing, {}, 0, 128, 256, {0x81, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {kBytes, full, 0, 200, 64, {0xC9, 0, 0, 0, 0x40, 0, 0, 0, 1, 9, 9, 9, 3, 0, 0, 0}},
        // Six bytes: master 200, then the two low bytes of the music volume (0x40, 0x00) over
        // the default's 0x00, 0x01; its two high bytes stay 0: music 64.
        {kBytes,
         {0xC8, 0, 0, 0, 0x40, 0},
         1,
         200,
         64,
         {0xC9, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {kBytes, {}, 1, 128, 256, {0x81, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {kBytes, longer, 1, 200, 64, {0xC9, 0, 0, 0, 0x40, 0, 0, 0, 1, 9, 9, 9, 3, 0, 0, 0}},
        {kPipe, {}, 1, 128, 256, {}},
        {kFolder, {}, 1, 128, 256, {}},
        {kLocked, full, 1, 128, 256, full},
    };
    for (const auto& c : cases) {
        if (c.kind == kLocked && ::geteuid() == 0) continue;  // root reads it all the same
        fs::remove_all(path);
        if (c.kind == kBytes || c.kind == kLocked) writeFile(path, c.before);
        if (c.kind == kLocked) fs::permissions(path, fs::perms::owner_write);
        if (c.kind == kPipe) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        }
        if (c.kind == kFolder) fs::create_directory(path);
        CSoundManager::resetInstance();
        sound = &CSoundManager::instance();
        sound->settingsFile = path;
        const std::string said = loadCapturingErrors();
        EXPECT_EQ(lines(said), c.lines) << said;
        EXPECT_EQ(sound->masterVolume, c.master) << said;
        EXPECT_EQ(sound->musicVolume, c.music) << said;
        sound->volumeUp();
        sound->saveSettings();
        if (c.kind == kLocked) fs::permissions(path, fs::perms::owner_read);
        EXPECT_EQ(fs::is_fifo(path), c.kind == kPipe) << said;
        EXPECT_EQ(fs::is_directory(path), c.kind == kFolder) << said;
        if (c.kind != kPipe && c.kind != kFolder) {
            EXPECT_EQ(readFile(path), c.after) << said;
        }
        EXPECT_FALSE(fs::exists(path + ".tmp"));
    }
}

TEST_F(CSettingsTest, AFailedSaveLeavesTheOldFileWhole) {
    const Bytes old{0xC8, 0, 0, 0, 0x64, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0};
    writeFile(path, old);
    SSettings changed;
    changed.masterVolume = 10;

    // The disk fills up halfway through the new file: the write of 16 bytes stops at 8.
    std::string error;
    const bool written = withFullDisk(8, [&] { return writeSettingsFile(path, changed, error); });

    EXPECT_FALSE(written);
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(readFile(path), old);
    // No half-written temporary file is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 1);

    // A folder that is not there: one line, nothing written.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(sound->saveSettingsTo((dir / "gone" / "boltfever.cfg").string()));
    EXPECT_EQ(lines(testing::internal::GetCapturedStderr()), 1);
}

TEST_F(CSettingsTest, ALinkedFileIsRewrittenWhereItIsWithItsPermissions) {
    // The player keeps the settings elsewhere and links them in, readable by nobody else: by a
    // relative link, or by an absolute one into a dotfiles folder.
    const Bytes old{0xC8, 0, 0, 0, 0x64, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0};
    fs::create_directory(dir / "kept");
    const std::string target = (dir / "kept" / "mine.cfg").string();
    for (const std::string& link : {std::string("kept/mine.cfg"), target}) {
        writeFile(target, old);
        ::chmod(target.c_str(), 0600);
        fs::remove(path);
        fs::create_symlink(link, path);
        sound->loadSettingsFrom(path);
        EXPECT_EQ(sound->masterVolume, 0xC8) << link;
        sound->setMasterVolume(77);
        ASSERT_TRUE(sound->saveSettingsTo(path)) << link;
        EXPECT_TRUE(fs::is_symlink(path)) << link;
        EXPECT_EQ(readFile(target)[0], 77) << link;
        struct stat info {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u) << link;
    }
    // Something in the way of the new file: one line, and the old file stays whole.
    fs::create_directory(target + ".tmp");
    sound->setMasterVolume(12);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(sound->saveSettingsTo(path));
    EXPECT_EQ(lines(testing::internal::GetCapturedStderr()), 1);
    EXPECT_EQ(readFile(target)[0], 77);
}

TEST_F(CSettingsTest, ReplaysLoadFromBytesAndCanLeaveTheFileAlone) {
    const uint8_t bytes[kSettingsBytes] = {64, 0, 0, 0, 32, 0, 0, 0, 1, 0, 0, 0, 6, 0, 0, 0};
    sound->loadSettingsFrom(bytes);
    EXPECT_EQ(sound->masterVolume, 64);
    EXPECT_EQ(sound->musicVolume, 32);
    EXPECT_TRUE(sound->swapStereo);
    EXPECT_EQ(CGameState::instance().bestLevel, 6);

    sound->saveEnabled = false;
    sound->settingsFile = path;
    sound->saveSettings();
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(CSettingsTest, SavesWhilePlayingWriteOnlyWhatChanged) {
    writeFile(path, {0xC8, 0, 0, 0, 0x64, 0, 0, 0, 0, 0xAB, 0, 0, 3, 0, 0, 0});
    EXPECT_EQ(loadCapturingErrors(), "");
    sound->settingsFile = path;
    fs::remove(path);
    // Nothing changed, or only a level below the best: nothing is written.
    EXPECT_FALSE(sound->saveSettingsIfChanged());
    CGameState::instance().bestLevel = 2;
    EXPECT_FALSE(sound->saveSettingsIfChanged());
    EXPECT_FALSE(fs::exists(path));

    sound->volumeUp();
    EXPECT_TRUE(sound->saveSettingsIfChanged());
    EXPECT_EQ(readFile(path), (Bytes{0xC9, 0, 0, 0, 0x64, 0, 0, 0, 0, 0xAB, 0, 0, 3, 0, 0, 0}));
    fs::remove(path);
    EXPECT_FALSE(sound->saveSettingsIfChanged());  // already saved
    EXPECT_FALSE(fs::exists(path));

    for (const auto& change : std::vector<std::function<void()>>{
             [&] { sound->toggleSwapStereo(); }, [&] { sound->setMusicVolume(99); },
             [&] { CGameState::instance().bestLevel = 4; }}) {
        change();
        EXPECT_TRUE(sound->saveSettingsIfChanged());
        EXPECT_TRUE(fs::exists(path));
        fs::remove(path);
    }
    sound->saveEnabled = false;  // a replay's run
    sound->volumeDown();
    EXPECT_FALSE(sound->saveSettingsIfChanged());
    EXPECT_FALSE(fs::exists(path));
}

// Start-up and shutdown find the file the way the game does: in the working directory when it
// is there, else in the user's data folder, which the first save creates.
class CSettingsPlaceTest : public CSettingsTest {
protected:
    CHeadlessBackend backend;
    fs::path oldDir;
    std::string oldXdg;
    bool hadXdg = false;

    void SetUp() override {
        CSettingsTest::SetUp();
        platformStartup(backend);
        oldDir = fs::current_path();
        fs::create_directory(dir / "work");
        fs::current_path(dir / "work");
        const char* xdg = std::getenv("XDG_DATA_HOME");
        hadXdg = xdg != nullptr;
        if (hadXdg) oldXdg = xdg;
        ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    }
    void TearDown() override {
        fs::current_path(oldDir);
        if (hadXdg)
            ::setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        CSettingsTest::TearDown();
    }
};

TEST_F(CSettingsPlaceTest, TheFirstRunCreatesTheDataFolder) {
    ASSERT_TRUE(sound->startUp());
    EXPECT_GE(sound->mixer.deviceFd, 0);
    sound->volumeUp();
    sound->shutdown();
    EXPECT_LT(sound->mixer.deviceFd, 0);
    EXPECT_EQ(readFile((dir / "data" / "boltfever" / "boltfever.cfg").string()),
              (Bytes{0x81, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(CSettingsPlaceTest, AFileInTheWorkingDirectoryWins) {
    writeFile("boltfever.cfg", {0x20, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    backend.setAudioMissing(true);
    EXPECT_FALSE(sound->startUp());
    EXPECT_EQ(sound->masterVolume, 0x20);
    sound->volumeDown();
    sound->shutdown();
    EXPECT_EQ(readFile("boltfever.cfg")[0], 0x1F);
    EXPECT_FALSE(fs::exists(dir / "data"));
}

}  // namespace
