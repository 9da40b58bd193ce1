// levelc run as a process, as the build runs it: the shipped levels pass and compile, a text
// level survives a trip through maps.dat, and every rule refuses a copy that breaks it, naming
// the file, line and column.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::string joinLines(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : rows) text += row + "\n";
    return text;
}

// A small level that keeps every rule: a rim, a cross through the middle, tunnels through both
// seams at the cross. Header on lines 1-4, maze row r on line 6 + r.
std::vector<std::string> goodLevel() {
    std::vector<std::string> text{"; a test maze", "ceiling: 6", "first-wave: 4",
                                  "monsters: chicken zombie", ""};
    const std::string edge = "###################.####################";
    const std::string rim = "#.....................................##";
    const std::string side = "#.#################.#################.##";
    const std::string cross = "........................................";
    text.push_back(edge);
    text.push_back(rim);
    for (int row = 2; row <= 26; ++row) text.push_back(row == 14 ? cross : side);
    text.push_back(rim);
    text.push_back(edge);
    return text;
}

constexpr int kGridLine = 6;  // line of maze row 0 in goodLevel()

class LevelToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/boltfever-levelc-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    struct SRun {
        int status = -1;
        std::string out, err;
    };

    SRun levelc(const std::string& args) {
        const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
        const std::string command = std::string("'") + BOLTFEVER_BINARY_DIR + "/levelc' " + args +
                                    " >'" + out.string() + "' 2>'" + err.string() + "'";
        const int raw = std::system(command.c_str());
        SRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = readText(out);
        run.err = readText(err);
        fs::remove(out);
        fs::remove(err);
        return run;
    }

    // Checks one level written from rows; the problems levelc prints, one per line.
    SRun checkLevel(const std::vector<std::string>& text) {
        writeText(dir / "bad.txt", joinLines(text));
        return levelc("check '" + (dir / "bad.txt").string() + "'");
    }

    // A copy of the shipped levels to spoil.
    fs::path copyLevels() {
        const fs::path copy = dir / "levels";
        fs::create_directory(copy);
        for (const auto& entry : fs::directory_iterator(BOLTFEVER_SOURCE_DIR "/levels"))
            if (entry.path().extension() == ".txt")
                fs::copy_file(entry.path(), copy / entry.path().filename());
        return copy;
    }

    std::vector<fs::path> levelFiles(const fs::path& folder) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".txt") files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    fs::path dir;
};

// "bad.txt:line:column: message" with the message containing `words`.
::testing::AssertionResult names(const std::string& err, int line, int column,
                                 const std::string& words) {
    const std::string place =
        "bad.txt:" + std::to_string(line) + (column ? ":" + std::to_string(column) : "") + ": ";
    for (const std::string& problem : lines(err))
        if (problem.find(place) != std::string::npos && problem.find(words) != std::string::npos)
            return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "no line with '" << place << "' and '" << words << "' in:\n"
           << err;
}

void setTile(std::vector<std::string>& text, int column, int row, char c) {
    text[kGridLine - 1 + row][column] = c;
}

TEST_F(LevelToolTest, TheShippedLevelsPassAndCompileToTheBuiltFile) {
    const SRun check = levelc("check '" BOLTFEVER_SOURCE_DIR "/levels'");
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.err, "");

    const SRun build =
        levelc("build '" BOLTFEVER_SOURCE_DIR "/levels' '" + (dir / "maps.dat").string() + "'");
    ASSERT_EQ(build.status, 0) << build.err;
    const std::string built = readText(dir / "maps.dat");
    EXPECT_EQ(built, readText(BOLTFEVER_BINARY_DIR "/maps.dat"));
    ASSERT_FALSE(built.empty());
    const size_t count = static_cast<uint8_t>(built[0]);
    EXPECT_GE(count, 16u);
    EXPECT_EQ(built.size(), 1 + count * 1171);
    EXPECT_EQ(count, levelFiles(BOLTFEVER_SOURCE_DIR "/levels").size());
}

// Text -> maps.dat -> text keeps every header value and every maze row, and compiling the
// decompiled text gives the same file again.
TEST_F(LevelToolTest, LevelsSurviveATripThroughMapsDat) {
    const fs::path levels = copyLevels();
    const fs::path mapsDat = dir / "maps.dat", back = dir / "back";
    ASSERT_EQ(levelc("build '" + levels.string() + "' '" + mapsDat.string() + "'").status, 0);
    const SRun decompile = levelc("decompile '" + mapsDat.string() + "' '" + back.string() + "'");
    ASSERT_EQ(decompile.status, 0) << decompile.err;

    const std::vector<fs::path> originals = levelFiles(levels), copies = levelFiles(back);
    ASSERT_EQ(originals.size(), copies.size());
    const std::regex meaningful("^(ceiling|first-wave|monsters):.*|^[.#%@&]{40}$");
    for (size_t i = 0; i < originals.size(); ++i) {
        std::vector<std::string> a, b;
        for (std::string line : lines(readText(originals[i]))) {
            line = line.substr(0, line.find(';'));
            while (!line.empty() && line.back() == ' ') line.pop_back();
            if (std::regex_match(line, meaningful)) a.push_back(line);
        }
        for (const std::string& line : lines(readText(copies[i])))
            if (std::regex_match(line, meaningful)) b.push_back(line);
        EXPECT_EQ(a.size(), 3u + 29u) << originals[i];
        EXPECT_EQ(a, b) << originals[i] << " came back different";
    }

    const fs::path again = dir / "again.dat";
    ASSERT_EQ(levelc("build '" + back.string() + "' '" + again.string() + "'").status, 0);
    EXPECT_EQ(readText(again), readText(mapsDat));
}

// Walls the game draws as nothing (values above 4) come back as declared characters.
TEST_F(LevelToolTest, BlankWallValuesComeBackThroughTileDeclarations) {
    std::string bytes = readText(BOLTFEVER_BINARY_DIR "/maps.dat");
    ASSERT_GT(bytes.size(), 1u + 1171u);
    // Map 1, column 2 row 2 and column 4 row 2 are walls inside the rim.
    ASSERT_NE(bytes[1 + 11 + 2 * 29 + 2], 0);
    ASSERT_NE(bytes[1 + 11 + 4 * 29 + 2], 0);
    bytes[1 + 11 + 2 * 29 + 2] = 7;
    bytes[1 + 11 + 4 * 29 + 2] = static_cast<char>(200);
    writeText(dir / "odd.dat", bytes);
    ASSERT_EQ(
        levelc("decompile '" + (dir / "odd.dat").string() + "' '" + (dir / "odd").string() + "'")
            .status,
        0);
    const std::string text = readText(dir / "odd" / "01-map.txt");
    EXPECT_NE(text.find("tile: A 7\n"), std::string::npos) << text;
    EXPECT_NE(text.find("tile: B 200\n"), std::string::npos) << text;
    ASSERT_EQ(
        levelc("build '" + (dir / "odd").string() + "' '" + (dir / "again.dat").string() + "'")
            .status,
        0);
    EXPECT_EQ(readText(dir / "again.dat"), bytes);
}

TEST_F(LevelToolTest, TheTestMazeItselfPasses) {
    const SRun run = checkLevel(goodLevel());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

TEST_F(LevelToolTest, RefusesCorridorsThatAreWideBlindOrCutOff) {
    std::vector<std::string> text = goodLevel();
    setTile(text, 2, 2, '.');  // a corner filled in: 2 x 2 floor at (1, 1)
    SRun run = checkLevel(text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(names(run.err, kGridLine + 1, 2, "tile (1, 1): 2 x 2 floor"));

    text = goodLevel();
    setTile(text, 5, 2, '.');  // a stub off the top corridor
    run = checkLevel(text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(names(run.err, kGridLine + 2, 6, "tile (5, 2): dead end"));

    text = goodLevel();
    for (const int c : {5, 6, 7}) setTile(text, c, 4, '.');  // a ring inside a wall block
    for (const int c : {5, 7}) setTile(text, c, 5, '.');
    for (const int c : {5, 6, 7}) setTile(text, c, 6, '.');
    run = checkLevel(text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(names(run.err, kGridLine + 4, 6, "tile (5, 4): cut off from the start"));
    EXPECT_TRUE(names(run.err, kGridLine + 4, 6, "7 more floor tiles"));
    EXPECT_EQ(lines(run.err).size(), 1u) << run.err;

    text = goodLevel();
    setTile(text, 1, 1, '#');
    run = checkLevel(text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(names(run.err, kGridLine + 1, 2, "the player starts here"));
}

TEST_F(LevelToolTest, RefusesSeamsThatDoNotMatchOrLeadNowhere) {
    std::vector<std::string> text = goodLevel();
    setTile(text, 39, 5, '%');  // a wall still, but not the one of column 0
    SRun run = checkLevel(text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(names(run.err, kGridLine + 5, 40, "column 39 must repeat column 0"));
    EXPECT_EQ(lines(run.err).size(), 1u) << run.err;

    text = goodLevel();
    setTile(text, 5, 28, '@');
    run = checkLevel(text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(names(run.err, kGridLine + 28, 6, "row 28 must repeat row 0"));

    // An opening in the side at row 5 meets the wall of column 38 past the seam.
    text = goodLevel();
    setTile(text, 0, 5, '.');
    setTile(text, 39, 5, '.');
    run = checkLevel(text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(names(run.err, kGridLine + 5, 39, "tile (38, 5): the opening in the side edge"));

    // Without its tunnels the maze is no longer one place round the edges.
    text = goodLevel();
    for (const int c : {0, 38, 39}) setTile(text, c, 14, '#');
    setTile(text, 19, 0, '#');
    setTile(text, 19, 28, '#');
    run = checkLevel(text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(names(run.err, kGridLine + 1, 1, "no opening in the side edge"));
    EXPECT_TRUE(names(run.err, kGridLine, 2, "no opening in the top edge"));
    EXPECT_EQ(lines(run.err).size(), 2u) << run.err;

    // One at the top at column 5 runs across rows 1 and 27, which are floor: that is fine.
    text = goodLevel();
    setTile(text, 5, 0, '.');
    setTile(text, 5, 28, '.');
    run = checkLevel(text);
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(LevelToolTest, RefusesMalformedText) {
    std::vector<std::string> text = goodLevel();
    setTile(text, 10, 1, 'x');
    SRun run = checkLevel(text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(names(run.err, kGridLine + 1, 11, "unknown tile character 'x'"));

    text = goodLevel();
    text[kGridLine + 2].pop_back();
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, kGridLine + 3, 40, "this one has 39"));

    text = goodLevel();
    text.pop_back();
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, kGridLine + 27, 0, "the maze has 28 rows"));

    text = goodLevel();
    text.push_back(text.back());
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, kGridLine + 29, 1, "more than 29 maze rows"));

    text = goodLevel();
    text.push_back("ceiling: 9");
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, kGridLine + 29, 1, "header lines go before the maze"));
    EXPECT_EQ(run.status, 1);
}

TEST_F(LevelToolTest, RefusesBadHeaders) {
    std::vector<std::string> text = goodLevel();
    text[3] = "monsters: chicken dragon";
    SRun run = checkLevel(text);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(names(run.err, 4, 19, "unknown monster 'dragon'"));

    text[3] = "monsters: chicken zombie soldier joust eye grim ghost beav biter";
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, 4, 60, "more than 8 monster types"));

    text[3] = "monsters: chicken 17";
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, 4, 19, "type 17 is no monster"));

    text[3] = "monsters:";
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, 4, 0, "at least one monster type"));

    text = goodLevel();
    text[1] = "ceiling: 300";
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, 2, 10, "one number from 0 to 255"));

    text[1] = "; no ceiling";
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, 1, 0, "no 'ceiling:' line"));

    text = goodLevel();
    text[1] = "first-wave: 4";
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, 3, 1, "second 'first-wave:' line (the first is line 2)"));

    text = goodLevel();
    text[4] = "speed: 3";
    run = checkLevel(text);
    EXPECT_TRUE(names(run.err, 5, 1, "unknown header key 'speed'"));
    EXPECT_EQ(run.status, 1);
}

TEST_F(LevelToolTest, DeclaredCharactersStandForBlankWalls) {
    std::vector<std::string> text = goodLevel();
    text[4] = "tile: X 7";
    setTile(text, 10, 2, 'X');
    EXPECT_EQ(checkLevel(text).status, 0);

    text[4] = "tile: # 7";
    EXPECT_TRUE(names(checkLevel(text).err, 5, 7, "'#' already means something else"));
    text[4] = "tile: X 3";
    EXPECT_TRUE(names(checkLevel(text).err, 5, 9, "tile values 0 to 4 have their characters"));
}

TEST_F(LevelToolTest, RefusesASetThatLosesAKindAStyleOrDifficulty) {
    const fs::path levels = copyLevels();
    const std::vector<fs::path> files = levelFiles(levels);

    // A ceiling lower than the one before.
    std::vector<std::string> text = lines(readText(files[1]));
    int ceilingLine = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i].rfind("ceiling:", 0) == 0) {
            text[i] = "ceiling: 0";
            ceilingLine = static_cast<int>(i) + 1;
        }
    writeText(files[1], joinLines(text));
    SRun run = levelc("check '" + levels.string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(files[1].string() + ":" + std::to_string(ceilingLine) +
                           ": ceiling 0 is below the"),
              std::string::npos)
        << run.err;
    fs::copy_file(BOLTFEVER_SOURCE_DIR "/levels/" / files[1].filename(), files[1],
                  fs::copy_options::overwrite_existing);

    // No ghost anywhere, and no wall of style 4.
    for (const fs::path& file : files) {
        std::string all = readText(file);
        all = std::regex_replace(all, std::regex("\\bghost\\b"), "zombie");
        std::replace(all.begin(), all.end(), '&', '#');
        writeText(file, all);
    }
    run = levelc("check '" + levels.string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(levels.string() + ": no level brings the ghost (type 15)"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(levels.string() + ": no level uses wall style 4 ('&')"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(lines(run.err).size(), 2u) << run.err;

    // Three kinds never seen before on the first level.
    text = lines(readText(files[0]));
    int monstersLine = 0;
    size_t newcomer = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i].rfind("monsters:", 0) == 0) {
            text[i] += " eye";
            monstersLine = static_cast<int>(i) + 1;
            newcomer = text[i].size() - 2;
        }
    writeText(files[0], joinLines(text));
    run = levelc("check '" + levels.string() + "'");
    EXPECT_NE(run.err.find(files[0].string() + ":" + std::to_string(monstersLine) + ":" +
                           std::to_string(newcomer) + ": 'eye' would be the third kind new"),
              std::string::npos)
        << run.err;

    // The build refuses too, and leaves the old maps.dat as it was.
    writeText(dir / "maps.dat", "old");
    run = levelc("build '" + levels.string() + "' '" + (dir / "maps.dat").string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(readText(dir / "maps.dat"), "old");
}

TEST_F(LevelToolTest, RefusesAnEmptyFolderAndBadArguments) {
    fs::create_directory(dir / "empty");
    const SRun run = levelc("check '" + (dir / "empty").string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no level files"), std::string::npos) << run.err;
    EXPECT_EQ(levelc("compile").status, 2);
    EXPECT_EQ(
        levelc("decompile '" + (dir / "none.dat").string() + "' '" + dir.string() + "'").status, 1);
}

}  // namespace
