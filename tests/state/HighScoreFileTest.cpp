#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Replay.h"
#include "state/HighScoreFile.h"
#include "support/FullDisk.h"

namespace {

namespace fs = std::filesystem;

// The replay of one game, as the game keeps it for an entry: a game start, one poll.
std::vector<uint8_t> gameReplay(bool withStart) {
    CReplayWriter writer;
    SReplayHeader header;
    if (withStart) header.gameStart = {1};
    writer.start(header);
    writer.addPoll(0);
    return writer.file();
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::string initialsOf(const CHighScores& table) {
    std::string all;
    for (const SHighScore& e : table.entries) all += std::string(e.initials) + " ";
    return all;
}

// Whatever a scores file holds, the good entries are kept and the rest is said in one line.
TEST(HighScoreFile, HostileFilesKeepTheGoodEntriesAndSayTheRestInOneLine) {
    const std::string folder = fs::current_path().string() + "/";
    writeBytes(folder + "a.bfr", gameReplay(true));
    writeBytes(folder + "junk.bfr", {'B', 'F', 'R', 'P', 9, 9, 9});
    writeBytes(folder + "session.bfr", gameReplay(false));  // a whole run's, not a game's
    std::string garbage(3000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
    std::string twelve;
    for (int i = 1; i <= 12; ++i)
        twelve += std::string(1, static_cast<char>('A' + i)) + "AA " + std::to_string(i * 100) +
                  " 2 2025-06-01 a.bfr\n";
    const std::string good = "KAT 500 3 2025-06-01 a.bfr\n";
    // The folder shared as /tmp is, and a stranger's link in it to a replay of ours (planted when
    // we are root, who can give it away; otherwise it names nothing and is dropped all the same).
    ::chmod(folder.c_str(), 01777);
    fs::create_symlink("a.bfr", folder + "theirs.bfr");
    if (::lchown((folder + "theirs.bfr").c_str(), 12345, 12345) != 0)
        fs::remove(folder + "theirs.bfr");
    const struct {
        const char* what;
        std::string text;
        const char* kept;  // initials, best first
        const char* said;  // part of the line, or "" for none
    } cases[] = {
        {"a good file", "# heading\n\n" + good, "KAT ", ""},
        {"twelve, unsorted: the best ten", twelve, "MAA LAA KAA JAA IAA HAA GAA FAA EAA DAA ",
         "2 entries are past the best ten; 10 entries kept"},
        {"garbage", garbage, "", "lines are not entries; 0 entries kept"},
        {"cut short", good + "BOB 40", "KAT ", "1 line is not an entry; 1 entry kept"},
        {"huge", good + std::string(70 << 10, '#') + "\nZED 900 1 2025-06-01 a.bfr\n", "KAT ",
         "larger than 64 KiB, read that far"},
        {"missing, corrupt and whole-run replays",
         good + "BOB 400 1 2025-06-01 gone.bfr\nCAL 300 1 2025-06-01 junk.bfr\n"
                "DEE 200 1 2025-06-01 session.bfr\n",
         "KAT ", "3 entries name replays missing or not of a game; 1 entry kept"},
        {"a replay through another user's link", good + "EVE 600 1 2025-06-01 theirs.bfr\n", "KAT ",
         "1 entry names a replay missing or not of a game; 1 entry kept"},
        {"names and numbers out of bounds",
         good + "BOB 1 1 2025-06-01 ../a.bfr\nBOB 1 1 2025-06-01 /tmp/a.bfr\n"
                "BOB 1 1 2025-06-01 a.txt\nbob 1 1 2025-06-01 a.bfr\nBO 1 1 2025-06-01 a.bfr\n"
                "BOB 0 1 2025-06-01 a.bfr\nBOB -5 1 2025-06-01 a.bfr\n"
                "BOB 99999999999 1 2025-06-01 a.bfr\nBOB 1 0 2025-06-01 a.bfr\n"
                "BOB 1 1 2025-13-01 a.bfr\nBOB 1 1 2025-06-01 a.bfr more\n",
         "KAT ", "11 lines are not entries; 1 entry kept"},
    };
    for (const auto& c : cases) {
        writeBytes(folder + kHighScoresFileName,
                   std::vector<uint8_t>(c.text.begin(), c.text.end()));
        CHighScores table;
        std::string problem;
        loadHighScores(folder, table, problem);
        EXPECT_EQ(initialsOf(table), c.kept) << c.what;
        EXPECT_TRUE(table.saveEnabled) << c.what;
        EXPECT_EQ(problem.find('\n'), std::string::npos) << c.what;
        if (*c.said == '\0')
            EXPECT_EQ(problem, "") << c.what;
        else
            EXPECT_NE(problem.find(c.said), std::string::npos) << c.what << ": " << problem;
    }

    // One the player made read-only is read and never written; one that cannot be read (here a
    // folder by its name) leaves the table empty and is not written either.
    writeBytes(folder + kHighScoresFileName, std::vector<uint8_t>(good.begin(), good.end()));
    ::chmod((folder + kHighScoresFileName).c_str(), 0444);
    CHighScores table;
    std::string problem;
    loadHighScores(folder, table, problem);
    EXPECT_EQ(initialsOf(table), "KAT ");
    EXPECT_FALSE(table.saveEnabled);
    EXPECT_NE(problem.find("read-only"), std::string::npos) << problem;
    fs::remove(folder + kHighScoresFileName);
    fs::create_directory(folder + kHighScoresFileName);
    loadHighScores(folder, table, problem);
    EXPECT_TRUE(table.entries.empty());
    EXPECT_FALSE(table.saveEnabled);
    EXPECT_NE(problem.find("left as it is"), std::string::npos) << problem;
}

// A new entry comes with its replay under a name of its own; the replay of the entry it pushes
// off the end goes, and the table read back is the table kept.
TEST(HighScoreFile, ANewEntryKeepsItsReplayAndTheOnePushedOffLosesItsOwn) {
    const std::string folder = fs::current_path().string() + "/";
    std::string text;
    for (int i = 1; i <= 10; ++i) {
        const std::string replay = "boltfever-score-old" + std::to_string(i) + ".bfr";
        writeBytes(folder + replay, gameReplay(true));
        text += "OLD " + std::to_string(i * 1000) + " 4 2025-06-01 " + replay + "\n";
    }
    writeBytes(folder + kHighScoresFileName, std::vector<uint8_t>(text.begin(), text.end()));
    CHighScores table;
    std::string problem;
    loadHighScores(folder, table, problem);
    ASSERT_EQ(table.entries.size(), 10u) << problem;
    SHighScore entry;
    std::memcpy(entry.initials, "NEW", 4);
    entry.score = 5500;
    entry.level = 12;
    std::memcpy(entry.date, "2025-07-04", 11);
    std::vector<SHighScore> dropped;
    const std::vector<uint8_t> replay = gameReplay(true);
    std::string error;

    // The disk fills up under the new table, its replay written: the old ten (the tenth, pushed
    // off, included) and their replays stay as they were, and the program is told of no save.
    const std::string before = table.text();
    int rank = table.insert(entry, dropped);
    EXPECT_FALSE(
        withFullDisk(300, [&] { return saveHighScore(table, rank, replay, dropped, error); }));
    EXPECT_NE(error.find(kHighScoresFileName), std::string::npos) << error;
    EXPECT_EQ(table.text(), before);
    EXPECT_FALSE(table.takeSaved());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 11);
    EXPECT_TRUE(fs::exists(folder + "boltfever-score-old1.bfr"));

    // What saves killed on the way left: ours goes, the rest is not ours to remove (another
    // user's file when we are root, who can give one away).
    const std::string theirs = folder + "boltfever-score-theirs.bfr";
    writeBytes(theirs, gameReplay(true));
    const bool planted = ::chown(theirs.c_str(), 12345, 12345) == 0;
    const struct {
        const char* name;
        bool gone;
    } leftovers[] = {{"boltfever-score-killed.bfr.tmp", true}, {"boltfever-score-whole.bfr", true},
                     {"boltfever-score-theirs.bfr", !planted}, {"boltfever-score-link.bfr", false},
                     {"boltfever-score-notes.txt", false},     {"mine.bfr", false}};
    for (const auto& l : leftovers)
        if (!fs::exists(folder + l.name)) writeBytes(folder + l.name, gameReplay(true));
    fs::remove(folder + "boltfever-score-link.bfr");
    fs::create_symlink("mine.bfr", folder + "boltfever-score-link.bfr");

    dropped.clear();
    rank = table.insert(entry, dropped);
    ASSERT_EQ(rank, 5);
    ASSERT_TRUE(saveHighScore(table, rank, replay, dropped, error)) << error;
    EXPECT_TRUE(table.takeSaved());
    EXPECT_FALSE(fs::exists(folder + "boltfever-score-old1.bfr"));
    EXPECT_TRUE(fs::exists(folder + "boltfever-score-old2.bfr"));
    for (const auto& l : leftovers) EXPECT_NE(fs::exists(folder + l.name), l.gone) << l.name;

    CHighScores back;
    loadHighScores(folder, back, problem);
    EXPECT_EQ(problem, "");
    ASSERT_EQ(back.entries.size(), 10u);
    EXPECT_EQ(back.text(), table.text());
    const SHighScore& kept = back.entries[5];
    EXPECT_STREQ(kept.initials, "NEW");
    EXPECT_EQ(kept.level, 12);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readFile(folder + kept.replay, bytes, error)) << error;
    EXPECT_EQ(bytes, replay);
    EXPECT_EQ(kept.replay.rfind("boltfever-score-", 0), 0u) << kept.replay;
}

// Where a score would stand: after the scores equal to it, at the end of a table with room, and
// nowhere for 0 however much room there is, nor past the tenth.
TEST(HighScoreFile, AScoreStandsAfterItsEqualsAndZeroNeverMakesTheTable) {
    const std::vector<int32_t> ten = {900, 800, 700, 600, 500, 400, 300, 200, 100, 100};
    const struct {
        std::vector<int32_t> table;
        int32_t score;
        int rank;
    } cases[] = {{{}, 0, -1},          {{}, 1, 0},     {{500, 300}, 0, -1}, {{500, 300}, 1, 2},
                 {{500, 300}, 500, 1}, {ten, 100, -1}, {ten, 101, 8},       {ten, 900, 1}};
    for (const auto& c : cases) {
        CHighScores table;
        for (const int32_t score : c.table) table.entries.push_back({"AAA", score, 1, "", ""});
        EXPECT_EQ(table.rankFor(c.score), c.rank) << c.table.size() << " entries, " << c.score;
    }
}

}  // namespace
