#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "support/RunGame.h"

namespace {

// The data folder of a run's own HOME, where its settings go.
#define DATA ".local/share/boltfever"

// Whatever a user puts on the command line or in the files, the game says one line and either
// refuses before it starts (status 2), gives up for want of a display (status 1), or plays on
// the documented fallback; the files it leaves are as they should be.
TEST(BadInputRun, EachCaseGetsItsLineItsStatusAndLeavesTheRightFiles) {
    const struct {
        const char* setup;      // shell commands run in the run's folder first
        const char* prefix;     // before the game on its command line
        const char* arguments;  //
        int status;
        const char* message;  // part of the one line said; "" for silence
        const char* after;    // a shell test of the folder afterwards
    } cases[] = {
        // Settings that cannot be read are never saved over (a pipe: reading it would block).
        {"mkdir -p " DATA " && mkfifo " DATA "/boltfever.cfg", "", "--headless --frames 3", 0,
         "boltfever.cfg: not a regular file; playing on the defaults and leaving the file as it is",
         "test -p " DATA "/boltfever.cfg && test $(ls -A " DATA " | wc -l) = 1"},
        // A save killed halfway left its temporary file: the next save takes it over.
        {"mkdir -p " DATA " && echo half > " DATA "/boltfever.cfg.tmp", "", "--headless --frames 3",
         0, "",
         "test \"$(ls -A " DATA ")\" = boltfever.cfg && test $(wc -c <" DATA
         "/boltfever.cfg) = 16"},
        // Inputs that are not readable regular files, or too large for their format.
        {"", "", "--headless --input .", 2, ".: is a folder, not a file", "! test -e .local"},
        {"", "", "--headless --replay .", 2, ".: is a folder, not a file", ""},
        {"", "", "--headless --input /dev/zero", 2, "/dev/zero: not a regular file", ""},
        {"", "", "--headless --replay /dev/zero", 2, "/dev/zero: not a regular file", ""},
        {"truncate -s 40M big.txt", "", "--headless --input big.txt", 2,
         "big.txt: larger than 33554432 bytes", ""},
        {"truncate -s 20M big.bfr", "", "--headless --replay big.bfr", 2,
         "big.bfr: larger than 16777216 bytes", ""},
        {"cp '" BOLTFEVER_BINARY_DIR "/maps.dat' . && truncate -s 1M maps.dat", "",
         "--headless --frames 3", 0,
         "maps.dat: larger than 298606 bytes, which no level file is; the levels in its first "
         "298606 bytes are used",
         "test -e " DATA "/boltfever.cfg"},
        {"printf '10 right\\n20 jump\\n' >bad.txt", "", "--headless --input bad.txt", 2,
         "bad.txt:2: unknown button 'jump'", ""},
        {"", "", "--headless --input missing.txt", 2, "missing.txt: No such file or directory", ""},
        {"echo not a replay >garbage.bfr", "", "--headless --replay garbage.bfr", 2,
         "garbage.bfr: not a Bolt Fever replay", ""},
        // Outputs are checked before the game starts, and nothing is written then.
        {"", "", "--headless --frames 3 --record .", 2, ".: is a folder, not a file",
         "! test -e .local"},
        {"", "", "--headless --frames 3 --screenshot /no/such/dir/x.png", 2,
         "/no/such/dir/x.png: no folder /no/such/dir", "! test -e .local"},
        {"", "", "--headless --frames 3 --audio-wav sub/", 2, "sub/: names a folder", ""},
        {"", "", "--headless --frames 3 --report no/r.json", 2, "no/r.json: no folder no", ""},
        {"touch file", "", "--headless --frames 3 --dump-frames file", 2, "file: not a folder", ""},
        {"", "", "--headless --frames 3 --record out.bfr --screenshot /dev/null", 2,
         "/dev/null: not a regular file", "! test -e out.bfr && ! test -e out.bfr.tmp"},
        // Bytes that are not printable are shown escaped.
        {"", "", "--seed \"$(printf '1\\033[2J')\"", 2, "not '1\\x1b[2J'", ""},
        {"printf '10 r\\233ight\\n' >esc.txt", "", "--headless --input esc.txt", 2,
         "esc.txt:1: unknown button 'r\\x9bight'", ""},
        // The automatic player's run is a demo: nothing of it is saved.
        {"", "", "--headless --autoplay --frames 3", 0, "", "! test -e .local"},
        // Command lines.
        {"", "", "--seed 5 --seed 6", 2, "option --seed given twice", ""},
        {"", "", "--headless --mute --headless", 2, "option --headless given twice", ""},
        {"", "", "--level 2 --headless --level 3", 2, "option --level given twice", ""},
        {"", "", "--seed ' 5'", 2, "--seed needs a whole number from 0 to 4294967295, not ' 5'",
         ""},
        {"", "", "--frames 0", 2, "--frames needs a whole number from 1", ""},
        {"", "", "--scale", 2, "--scale needs a value", ""},
        {"", "", "--jump", 2, "unknown option '--jump'", ""},
        {"", "", "--input bad.txt", 2, "--input drives a --headless run", ""},
        // No display: said before the sound card is looked for, and nothing is saved.
        {"", "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER", "--frames 3", 1,
         "no display: DISPLAY is not set", "! test -e .local"},
        // A display asked for by name is used; a window larger than it is made to fit.
        {"", "SDL_VIDEODRIVER=dummy", "--mute --scale 5 --frames 2", 0,
         "a window at scale 5 (1600x1200) does not fit the screen's 1024x768; using scale 3",
         "test -e " DATA "/boltfever.cfg"},
    };
    const auto inFolder = [](const std::string& dir, const char* command) {
        return std::system(("cd '" + dir + "' && " + (*command ? command : "true")).c_str());
    };
    int number = 0;
    for (const auto& c : cases) {
        const std::string dir = freshTestDir("bad-input-" + std::to_string(++number));
        ASSERT_EQ(inFolder(dir, c.setup), 0) << c.setup;
        // A run that hangs is a failure too, not a stuck suite.
        const SGameRun run = runGame(c.arguments, dir, std::string("timeout 60 env ") + c.prefix);
        const std::string what = std::string(c.prefix) + " " + c.arguments + "\n" + run.output;
        EXPECT_EQ(run.status, c.status) << what;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << what;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), *c.message ? 1 : 0)
            << what;
        EXPECT_EQ(inFolder(dir, c.after), 0) << c.after << "\n" << what;
    }
}

// Little-endian 32 bits at an offset.
uint32_t at32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

// The disk fills up mid-game (a file size limit stands in for it): the replay keeps what it had
// written, as a valid shorter replay, and so does the WAV.
TEST(BadInputRun, OutputsCutShortByAFullDiskAreKeptValid) {
    const std::string dir = freshTestDir("full-disk");
    writeText(dir + "/walk.txt", "140 down\n200 right\n260 down right a\n400 a\n800 up a\n");
    // 512 bytes: the whole replay takes about 640.
    SGameRun run = runGame("--headless --seed 7 --input walk.txt --frames 1500 --record r.bfr", dir,
                           "ulimit -f 1; trap '' XFSZ;");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("r.bfr: File too large; the replay ends at picture "),
              std::string::npos)
        << run.output;
    run = runGame("--headless --replay r.bfr", dir);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(std::ifstream(dir + "/r.bfr.tmp"));

    // 100 kB of the sound's 1.8 MB.
    run = runGame("--headless --seed 7 --frames 1500 --audio-wav a.wav", dir,
                  "ulimit -f 200; trap '' XFSZ;");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("a.wav: File too large; the WAV keeps the first "), std::string::npos)
        << run.output;
    std::vector<uint8_t> wav;
    std::string error;
    ASSERT_TRUE(readFile(dir + "/a.wav", wav, error)) << error;
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(at32(wav, 4), wav.size() - 8);
    EXPECT_EQ(at32(wav, 40), wav.size() - 44);
    EXPECT_EQ(wav.size() % 4, 0u);
}

}  // namespace
