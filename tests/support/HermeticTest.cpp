#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "support/RunGame.h"

namespace {

namespace fs = std::filesystem;

// Every file under a folder with what it holds.
std::map<std::string, std::string> filesUnder(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::ostringstream bytes;
        if (entry.is_regular_file()) bytes << std::ifstream(entry.path()).rdbuf();
        files[entry.path().string()] = bytes.str();
    }
    return files;
}

// A player's home as it looks after some play, with settings no test expects (quiet volumes,
// stereo swapped, every start level open) in the data folder and in the working folder, keys
// of their own, and high scores. The suites that start the game, its title and its menus, and read
// and write the settings and the keys, run from there: they pass, and the player's files stay as
// they were.
TEST(Hermetic, APlayersOwnFilesChangeNoResultAndAreLeftAlone) {
    const fs::path home = freshTestDir("planted-home");
    const fs::path data = home / ".local" / "share" / "boltfever";
    fs::create_directories(data);
    const std::string settings("\x05\0\0\0\x07\0\0\0\x01\0\0\0\x08\0\0\0", 16);
    writeText(data / "boltfever.cfg", settings);
    writeText(home / "boltfever.cfg", settings);
    writeText(data / "boltfever-keys.txt", "fire = F\nmenu = Q\nup = I\n");
    // And high scores with their replays.
    for (const auto& file : fs::directory_iterator(BOLTFEVER_SOURCE_DIR "/tests/golden/scores"))
        if (file.path().filename() != "boltfever.cfg")
            for (const fs::path& to : {home, data}) fs::copy(file.path(), to);
    const auto before = filesUnder(home);

    const std::string suite = fs::read_symlink("/proc/self/exe").string();
    const std::string log = (home.parent_path() / "planted-home.log").string();
    const std::string command =
        "cd '" + home.string() + "' && env -u XDG_DATA_HOME HOME='" + home.string() +
        "' timeout -k 5 300 " BOLTFEVER_EMULATOR " '" + suite +
        "' --gtest_brief=1 --gtest_filter='MainLoopTest.*:TitleScreenTest.*:AutoPlayerTest.*:"
        "MenuTest.*:CSettings*:ControlsTest.*' >'" +
        log + "' 2>&1";
    const int status = std::system(command.c_str());
    std::ostringstream said;
    said << std::ifstream(log).rdbuf();
    EXPECT_EQ(status, 0) << said.str();
    EXPECT_EQ(filesUnder(home), before);
}

}  // namespace
