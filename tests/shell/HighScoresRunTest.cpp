#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "support/RunGame.h"

namespace {

namespace fs = std::filesystem;

// A player's evening: a while of the tutorial, NEW GAME at level 1, fire held until GAME OVER,
// initials ended with FIRE on the last letter; NEW GAME at level 9 from the menu under GAME OVER
// (every start level is open), fire until GAME OVER again, initials (up, down, right, fire and left
// all used), QUIT.
constexpr const char* kEvening =
    "100 start\n105\n110 start\n115\n"
    "200 a\n11560\n"
    "11600 up\n11610\n11620 right\n11630\n11640 up\n11650\n11660 up\n11670\n"
    "11700 right\n11710\n11720 a\n11730\n"
    "11750 right\n11900 start\n11910\n"
    "11950 a\n13320\n"
    "13350 down\n13360\n13370 a\n13380\n13390 down\n13400\n13410 down\n13420\n13430 left\n"
    "13440\n13450 up\n13460\n13470 start\n13480\n"
    "13520 down\n13530\n13540 down\n13550\n13560 start\n13570\n";

// A number of a --report.
std::string reported(const std::string& report, const std::string& key) {
    std::ifstream in(report);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str(), name = "\"" + key + "\": ";
    const size_t at = all.find(name);
    if (at == std::string::npos) return "none";
    const size_t from = at + name.size();
    return all.substr(from, all.find(',', from) - from);
}

// Two games, one after the tutorial and one after the first: each makes the table with the
// initials entered, --scores lists them, and each entry's replay plays back on its own to the
// score the table holds.
TEST(HighScoresRun, GamesAfterTheTutorialAndAfterAnotherGameEnterAndReplayToTheirScores) {
    const fs::path dir = freshTestDir("high-scores");
    const fs::path data = dir / ".local" / "share" / "boltfever";
    fs::create_directories(data);
    writeText((data / "boltfever.cfg").string(),
              std::string("\x80\0\0\0\0\x01\0\0\0\0\0\0\x08\0\0\0", 16));
    writeText((dir / "evening.txt").string(), kEvening);
    const SGameRun evening =
        runGame("--headless --seed 3 --input evening.txt --report evening.json", dir.string());
    ASSERT_EQ(evening.status, 0) << evening.output;
    EXPECT_EQ(reported((dir / "evening.json").string(), "high_scores_entered"), "2");

    const SGameRun listed = runGame("--scores", dir.string());
    ASSERT_EQ(listed.status, 0) << listed.output;
    std::istringstream lines(listed.output);
    std::string line;
    std::getline(lines, line);  // the heading
    const struct {
        const char* initials;
        const char* score;
        const char* level;
    } expected[] = {{"BCA", "700", "level 01"}, {"BAA", "600", "level 09"}};
    for (const auto& e : expected) {
        ASSERT_TRUE(std::getline(lines, line)) << listed.output;
        EXPECT_NE(line.find(e.initials), std::string::npos) << line;
        EXPECT_NE(line.find(e.level), std::string::npos) << line;
        const std::string replay = line.substr(line.rfind(' ') + 1);
        ASSERT_TRUE(fs::exists(replay)) << line;
        const SGameRun played =
            runGame("--headless --replay '" + replay + "' --report played.json", dir.string());
        EXPECT_EQ(played.status, 0) << played.output;
        EXPECT_EQ(reported((dir / "played.json").string(), "score"), e.score) << line;
    }
    EXPECT_FALSE(std::getline(lines, line)) << listed.output;

    // Watching an entry leaves the player's own best level as it was: none, not the evening's.
    writeText((data / "boltfever.cfg").string(),
              std::string("\x80\0\0\0\0\x01\0\0\0\0\0\0\0\0\0\0", 16));
    writeText((dir / "watch.txt").string(), "100 select\n105\n150 a\n155\n");
    ASSERT_EQ(runGame("--headless --seed 3 --input watch.txt --frames 400", dir.string()).status,
              0);
    std::ifstream cfg(data / "boltfever.cfg", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(cfg), {}).substr(12, 4),
              std::string(4, '\0'));
}

}  // namespace
