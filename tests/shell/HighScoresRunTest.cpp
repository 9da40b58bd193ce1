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
// initials (after the entry's quiet moment) ended with FIRE on the last letter, the table left
// with a press; NEW GAME at level 9 from the menu under GAME OVER (every start level is open),
// fire until GAME OVER again, initials (up, down, right, fire and left all used), the table,
// QUIT.
constexpr const char* kEvening =
    "100 start\n105\n110 start\n115\n"
    "200 a\n11560\n"
    "11660 up\n11670\n11680 right\n11690\n11700 up\n11710\n11720 up\n11730\n"
    "11760 right\n11770\n11780 a\n11790\n"
    "11820 a\n11830\n"
    "11850 right\n12001 start\n12011\n"
    "12051 a\n14637\n"
    "14727 down\n14737\n14747 a\n14757\n14767 down\n14777\n14787 down\n14797\n14807 left\n"
    "14817\n14827 up\n14837\n14847 start\n14857\n"
    "14897 a\n14907\n"
    "14927 down\n14937\n14947 down\n14957\n14967 start\n14977\n";

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
    } expected[] = {{"BCA", "700", "level 01"}, {"BAA", "400", "level 09"}};
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
        // The replay runs on through the initials: it holds the whole entry.
        EXPECT_EQ(reported((dir / "played.json").string(), "initials"),
                  std::string("\"") + e.initials + "\"")
            << line;
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

// Fire and the stick mashed, everything let go of every few pictures, through the last death
// and a moment past GAME OVER, at level 9 with seed 6: the mashing types no initials (START ends
// the entry at the letters offered), and the last shots, which still score after GAME OVER,
// count in the entry. The panel's end, the table, the entry's replay and its report agree; also
// when the table is full of the score the game had at GAME OVER, so that only the last shots
// make it enter, later than GAME OVER: the replay judges its end by the table it found.
TEST(HighScoresRun, MashedThroughTheLastDeathTypesNothingAndEntersTheScoreThePanelEndsOn) {
    constexpr int kGameOver = 4309;  // of this game, at this picture
    const char* const ways[] = {"up", "right", "down", "left"};
    std::string script;
    int at = 0;
    for (int i = 0; at + 6 < kGameOver + 40; ++i, at += 6)
        script +=
            std::to_string(at) + " " + ways[i / 6 % 4] + " a\n" + std::to_string(at + 3) + "\n";
    script += std::to_string(kGameOver + 100) + " start\n" + std::to_string(kGameOver + 110) + "\n";
    const std::string game = "--headless --level 9 --seed 6 --input mash.txt --report ";
    std::string overScore, firstReplay;
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "a full table" : "an empty table");
        const fs::path dir = freshTestDir(full ? "mashed-full" : "mashed");
        writeText((dir / "mash.txt").string(), script);
        if (full) {
            const fs::path data = dir / ".local" / "share" / "boltfever";
            fs::create_directories(data);
            std::string table;
            for (int i = 0; i < 10; ++i) {
                const std::string name = "old-" + std::to_string(i) + ".bfr";
                fs::copy_file(firstReplay, data / name);
                table += "ZZZ " + overScore + " 9 2025-06-01 " + name + "\n";
            }
            writeText((data / "boltfever-scores.txt").string(), table);
        } else {
            ASSERT_EQ(
                runGame(game + "over.json --frames " + std::to_string(kGameOver), dir.string())
                    .status,
                0);
            ASSERT_EQ(reported((dir / "over.json").string(), "game_overs"), "1");
            overScore = reported((dir / "over.json").string(), "score");
        }
        const SGameRun run =
            runGame(game + "run.json --frames " + std::to_string(kGameOver + 400), dir.string());
        ASSERT_EQ(run.status, 0) << run.output;
        const std::string runReport = (dir / "run.json").string();
        EXPECT_EQ(reported(runReport, "initials"), "\"AAA\"");
        const std::string score = reported(runReport, "score");
        EXPECT_LT(std::stoi(overScore), std::stoi(score))
            << "no shot scored after GAME OVER: this game no longer tries what it is here for";

        const SGameRun listed = runGame("--scores", dir.string());
        std::istringstream lines(listed.output);
        std::string line;
        std::getline(lines, line);  // the heading
        ASSERT_TRUE(std::getline(lines, line)) << listed.output;
        // " 1. AAA         1,750  level 09 ...": the score between the initials and the level.
        const size_t from = line.find("AAA") + 3;
        std::string listedScore;
        for (const char c : line.substr(from, line.find("level") - from))
            if (c != ' ' && c != ',') listedScore += c;
        EXPECT_EQ(listedScore, score) << line;
        const std::string replay = line.substr(line.rfind(' ') + 1);
        const SGameRun played =
            runGame("--headless --replay '" + replay + "' --report played.json", dir.string());
        EXPECT_EQ(played.status, 0) << played.output;
        EXPECT_EQ(reported((dir / "played.json").string(), "score"), score);
        EXPECT_EQ(reported((dir / "played.json").string(), "initials"), "\"AAA\"");
        firstReplay = replay;
    }
}

}  // namespace
