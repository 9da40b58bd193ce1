#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The sound generator is a program of its own: these tests run it on small sound files.

namespace {

namespace fs = std::filesystem;

class CSoundgenTest : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::current_path() / "soundgen";  // in the test's own folder
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs soundgen on `source`; returns its exit status and fills `message` with its stderr.
    int render(const std::string& source, std::vector<int16_t>& samples, std::string& message) {
        const fs::path in = dir / "test.song", out = dir / "test.wav", err = dir / "stderr.txt";
        std::ofstream(in) << source;
        const std::string command = std::string(BOLTFEVER_BINARY_DIR) + "/soundgen --render " +
                                    in.string() + " " + out.string() + " 2>" + err.string();
        const int status = std::system(command.c_str());
        std::ifstream errors(err);
        std::getline(errors, message);
        std::string more;
        if (std::getline(errors, more)) message += " | " + more;  // one line is expected
        samples.clear();
        std::ifstream wav(out, std::ios::binary);
        if (status == 0 && wav) {
            wav.seekg(44);  // our WAV header
            int16_t s = 0;
            while (wav.read(reinterpret_cast<char*>(&s), 2)) samples.push_back(s);
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

// Counts upward zero crossings in [from, to): a second of 440 Hz crosses 440 times.
int upCrossings(const std::vector<int16_t>& x, size_t from, size_t to) {
    int n = 0;
    for (size_t i = from + 1; i < to; ++i) n += x[i - 1] < 0 && x[i] >= 0;
    return n;
}

const char* kSineHeader = R"(
loop
tempo 120
meter 4 4
bars 2
peak -6
instrument tone
  wave sine
  env 0.001 1 1 0.01
end
)";

}  // namespace

// At 120 beats a minute a sixteenth is 22050 * 60 / 480 = 2756.25 samples, rounded to 2756:
// two bars are 32 steps, 88192 samples, and each bar lasts 2 s. A4 is 440 Hz, +12 an octave
// above. Leaving out 441 samples at each end of a bar, 43214 samples (1.96 s) remain.
TEST_F(CSoundgenTest, KeepsTimeAndTune) {
    std::vector<int16_t> x;
    std::string message;
    const std::string source = std::string(kSineHeader) + R"(
pattern held
  A4 - - - - - - - - - - - - - - -
end
track tone held held+12
)";
    ASSERT_EQ(render(source, x, message), 0) << message;
    ASSERT_EQ(x.size(), 88192u);
    EXPECT_NEAR(upCrossings(x, 441, 44096 - 441), 440.0 * 43214 / 22050, 2);
    EXPECT_NEAR(upCrossings(x, 44096 + 441, 88192 - 441), 880.0 * 43214 / 22050, 2);
}

// A note at the end of a loop rings on at its start, so the loop comes round without a gap
// and without a jump.
TEST_F(CSoundgenTest, LoopsCarryTheirTailsRound) {
    std::vector<int16_t> x;
    std::string message;
    const std::string source = R"(
loop
tempo 120
meter 4 4
bars 1
peak -6
instrument ring
  wave sine
  env 0.001 5 1 0.5
end
pattern last
  . . . . . . . . . . . . . . . A4
end
track ring last
)";
    ASSERT_EQ(render(source, x, message), 0) << message;
    ASSERT_EQ(x.size(), 44096u);
    int early = 0;  // the first 10 ms: the release of the note from the loop's last step
    for (size_t i = 0; i < 220; ++i) early = std::max(early, std::abs(int{x[i]}));
    EXPECT_GT(early, 5000);
    // A 440 Hz sine at -6 dBFS moves at most 2 pi 440 / 22050 * 16423 = 2059 per sample.
    EXPECT_LE(std::abs(x.front() - x.back()), 2100);
}

// A mistake in a sound file stops the build with one line naming the file, the line and
// what is wrong, and no sound is written.
TEST_F(CSoundgenTest, RejectsMistakesWithTheirLine) {
    struct SCase {
        const char* body;
        int line;  // in the whole file: the body starts on line 11, after the header
        const char* says;
    };
    const SCase cases[] = {
        {"pattern p\n  A4 - - - - - - - - - - - - - -\nend\n", 12, "has 15 steps, not 16"},
        {"pattern p\n  H4 - - - - - - - - - - - - - - -\nend\n", 12, "'H4' is not a note"},
        {"pattern p\n  A4 - - - - - - - - - - - - - - -\nend\ntrack tone p\n", 14,
         "track is 16 steps long"},
        {"pattern p\n  A4 - - - - - - - - - - - - - - -\nend\ntrack flute p*2\n", 14,
         "no instrument called 'flute'"},
        {"instrument lead\n  wave pulse\n", 11, "block has no 'end'"},
        {"layer\n  wave sine\n  pitch 440\n  amp 0 1, 0.5 0.5, 0.2 0\nend\n", 14,
         "times must increase"},
        {"tempo fast\n", 11, "'fast' is not a number"},
    };
    for (const SCase& c : cases) {
        std::vector<int16_t> x;
        std::string message;
        EXPECT_EQ(render(std::string(kSineHeader) + c.body, x, message), 1) << c.body;
        EXPECT_NE(message.find("test.song:" + std::to_string(c.line) + ": "), std::string::npos)
            << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_EQ(message.find(" | "), std::string::npos) << "more than one line: " << message;
        EXPECT_FALSE(fs::exists(dir / "test.wav")) << c.body;
    }
}
