// levelc run as a process, as the build runs it: the shipped levels pass and compile, a text
// level survives a trip through maps.dat, and every rule refuses a copy that breaks it, naming
// the file, line and column.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

Lines split(const std::string& text) {
    Lines out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::string join(const Lines& rows) {
    std::string text;
    for (const std::string& row : rows) text += row + "\n";
    return text;
}

// A small maze that keeps every rule: a rim, a cross through the middle and tunnels through
// both seams at the cross. The header takes lines 1-4; maze row r is on line 6 + r.
constexpr int kRow0 = 6;
Lines goodLevel() {
    Lines text{"; a test maze", "ceiling: 6", "first-wave: 4", "monsters: chicken zombie", ""};
    const std::string edge = "###################.####################";
    const std::string rim = "#.....................................##";
    text.push_back(edge);
    text.push_back(rim);
    for (int row = 2; row <= 26; ++row)
        text.push_back(row == 14 ? std::string(40, '.')
                                 : "#.#################.#################.##");
    text.push_back(rim);
    text.push_back(edge);
    return text;
}

void tile(Lines& text, int column, int row, char c) {
    text[kRow0 - 1 + row][column] = c;
}

// The line of the first header key `key` in a level file, 1-based.
int keyLine(const Lines& text, const std::string& key) {
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i].rfind(key, 0) == 0) return static_cast<int>(i) + 1;
    return 0;
}

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
        std::string err;
    };

    SRun levelc(const std::string& args) {
        const fs::path err = dir / "stderr.txt";
        const std::string command =
            "'" BOLTFEVER_BINARY_DIR "/levelc' " + args + " >/dev/null 2>'" + err.string() + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(err)};
    }
    std::string quoted(const fs::path& path) const { return "'" + path.string() + "'"; }

    // A copy of the shipped levels, to spoil, and its files in play order.
    fs::path copyLevels() {
        const fs::path copy = dir / "levels";
        fs::create_directory(copy);
        for (const auto& entry : fs::directory_iterator(BOLTFEVER_SOURCE_DIR "/levels"))
            if (entry.path().extension() == ".txt")
                fs::copy_file(entry.path(), copy / entry.path().filename());
        return copy;
    }
    static std::vector<fs::path> levelFiles(const fs::path& folder) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".txt") files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    fs::path dir;
};

TEST_F(LevelToolTest, TheShippedLevelsPassAndCompileToTheBuiltFile) {
    EXPECT_EQ(levelc("check '" BOLTFEVER_SOURCE_DIR "/levels'").err, "");
    const SRun build =
        levelc("build '" BOLTFEVER_SOURCE_DIR "/levels' " + quoted(dir / "maps.dat"));
    ASSERT_EQ(build.status, 0) << build.err;
    const std::string built = readText(dir / "maps.dat");
    EXPECT_EQ(built, readText(BOLTFEVER_BINARY_DIR "/maps.dat"));
    ASSERT_FALSE(built.empty());
    const size_t count = static_cast<uint8_t>(built[0]);
    EXPECT_GE(count, 16u);
    EXPECT_EQ(count, levelFiles(BOLTFEVER_SOURCE_DIR "/levels").size());
    EXPECT_EQ(built.size(), 1 + count * 1171);
}

// Text -> maps.dat -> text keeps every header value and maze row; compiling the decompiled
// text gives the same file again.
TEST_F(LevelToolTest, LevelsSurviveATripThroughMapsDat) {
    const fs::path levels = copyLevels(), back = dir / "back";
    ASSERT_EQ(levelc("build " + quoted(levels) + " " + quoted(dir / "maps.dat")).status, 0);
    ASSERT_EQ(levelc("decompile " + quoted(dir / "maps.dat") + " " + quoted(back)).status, 0);
    const std::vector<fs::path> originals = levelFiles(levels), copies = levelFiles(back);
    ASSERT_EQ(originals.size(), copies.size());
    // The header values and the maze rows, without comments.
    auto content = [&](const fs::path& file) {
        Lines kept;
        for (std::string line : split(readText(file))) {
            line = line.substr(0, line.find(';'));
            while (!line.empty() && line.back() == ' ') line.pop_back();
            const bool header = line.rfind("ceiling:", 0) == 0 ||
                                line.rfind("first-wave:", 0) == 0 ||
                                line.rfind("monsters:", 0) == 0;
            const bool row =
                line.size() == 40 && line.find_first_not_of(".#%@&") == std::string::npos;
            if (header || row) kept.push_back(line);
        }
        return kept;
    };
    for (size_t i = 0; i < originals.size(); ++i) {
        EXPECT_EQ(content(originals[i]).size(), 3u + 29u) << originals[i];
        EXPECT_EQ(content(originals[i]), content(copies[i])) << originals[i];
    }
    ASSERT_EQ(levelc("build " + quoted(back) + " " + quoted(dir / "again.dat")).status, 0);
    EXPECT_EQ(readText(dir / "again.dat"), readText(dir / "maps.dat"));

    // Walls drawn as nothing (values above 4) come back through tile declarations.
    std::string bytes = readText(dir / "maps.dat");
    ASSERT_NE(bytes[1 + 11 + 2 * 29 + 2], 0);  // map 1, column 2, row 2: a wall
    bytes[1 + 11 + 2 * 29 + 2] = 7;
    writeText(dir / "odd.dat", bytes);
    ASSERT_EQ(levelc("decompile " + quoted(dir / "odd.dat") + " " + quoted(dir / "odd")).status, 0);
    EXPECT_NE(readText(dir / "odd" / "01-map.txt").find("tile: A 7\n"), std::string::npos);
    ASSERT_EQ(levelc("build " + quoted(dir / "odd") + " " + quoted(dir / "odd2.dat")).status, 0);
    EXPECT_EQ(readText(dir / "odd2.dat"), bytes);
}

struct SRefusal {
    const char* what;
    std::function<void(Lines&)> spoil;
    int line, column;
    const char* words;
};

const SRefusal kRefusals[] = {
    {"a filled-in corner", [](Lines& t) { tile(t, 2, 2, '.'); }, kRow0 + 1, 2,
     "tile (1, 1): 2 x 2 floor"},
    {"a stub", [](Lines& t) { tile(t, 5, 2, '.'); }, kRow0 + 2, 6, "tile (5, 2): dead end"},
    {"a ring inside a wall",
     [](Lines& t) {
         for (const int c : {5, 6, 7}) tile(t, c, 4, '.'), tile(t, c, 6, '.');
         tile(t, 5, 5, '.');
         tile(t, 7, 5, '.');
     },
     kRow0 + 4, 6, "tile (5, 4): cut off from the start at (1, 1), with 7 more"},
    {"a walled start", [](Lines& t) { tile(t, 1, 1, '#'); }, kRow0 + 1, 2,
     "the player starts here"},
    {"column 39 unlike column 0", [](Lines& t) { tile(t, 39, 5, '%'); }, kRow0 + 5, 40,
     "column 39 must repeat column 0"},
    {"row 28 unlike row 0", [](Lines& t) { tile(t, 5, 28, '@'); }, kRow0 + 28, 6,
     "row 28 must repeat row 0"},
    {"a side opening into a wall",
     [](Lines& t) {
         tile(t, 0, 5, '.');
         tile(t, 39, 5, '.');
     },
     kRow0 + 5, 39, "tile (38, 5): the opening in the side edge at row 5 must run straight"},
    {"no way round the sides",
     [](Lines& t) {
         for (const int c : {0, 38, 39}) tile(t, c, 14, '#');
     },
     kRow0 + 1, 1, "no opening in the side edge"},
    {"no way round the top",
     [](Lines& t) {
         tile(t, 19, 0, '#');
         tile(t, 19, 28, '#');
     },
     kRow0, 2, "no opening in the top edge"},
    {"an unknown tile", [](Lines& t) { tile(t, 10, 1, 'x'); }, kRow0 + 1, 11,
     "unknown tile character 'x'"},
    {"a short row", [](Lines& t) { t[kRow0 + 2].pop_back(); }, kRow0 + 3, 40, "this one has 39"},
    {"a missing row", [](Lines& t) { t.pop_back(); }, kRow0 + 27, 0, "the maze has 28 rows"},
    {"an extra row", [](Lines& t) { t.push_back(t.back()); }, kRow0 + 29, 1,
     "more than 29 maze rows"},
    {"a header after the maze", [](Lines& t) { t.push_back("ceiling: 9"); }, kRow0 + 29, 1,
     "header lines go before the maze"},
    {"an unknown monster", [](Lines& t) { t[3] = "monsters: chicken dragon"; }, 4, 19,
     "unknown monster 'dragon'"},
    {"nine monsters", [](Lines& t) { t[3] += " soldier joust eye grim ghost beav biter"; }, 4, 60,
     "more than 8 monster types"},
    {"a type without a monster", [](Lines& t) { t[3] = "monsters: chicken 17"; }, 4, 19,
     "type 17 is no monster"},
    {"no monsters", [](Lines& t) { t[3] = "monsters:"; }, 4, 0, "at least one monster type"},
    {"a ceiling of 300", [](Lines& t) { t[1] = "ceiling: 300"; }, 2, 10,
     "one number from 0 to 255"},
    {"no ceiling", [](Lines& t) { t[1] = ""; }, 1, 0, "no 'ceiling:' line"},
    {"two first waves", [](Lines& t) { t[1] = "first-wave: 4"; }, 3, 1,
     "second 'first-wave:' line (the first is line 2)"},
    {"an unknown key", [](Lines& t) { t[4] = "speed: 3"; }, 5, 1, "unknown header key 'speed'"},
    {"a floor character redeclared", [](Lines& t) { t[4] = "tile: . 7"; }, 5, 7,
     "'.' already means something else"},
    {"a wall style redeclared", [](Lines& t) { t[4] = "tile: X 3"; }, 5, 9,
     "tile values 0 to 4 have their characters"},
};

TEST_F(LevelToolTest, EachRuleRefusesALevelThatBreaksIt) {
    const fs::path file = dir / "bad.txt";
    writeText(file, join(goodLevel()));
    SRun run = levelc("check " + quoted(file));
    ASSERT_EQ(run.status, 0) << "the test maze itself is refused:\n" << run.err;
    Lines declared = goodLevel();  // a declared character is fine
    declared[4] = "tile: X 7";
    tile(declared, 10, 2, 'X');
    writeText(file, join(declared));
    EXPECT_EQ(levelc("check " + quoted(file)).status, 0);

    for (const SRefusal& refusal : kRefusals) {
        Lines text = goodLevel();
        refusal.spoil(text);
        writeText(file, join(text));
        run = levelc("check " + quoted(file));
        EXPECT_EQ(run.status, 1) << refusal.what;
        const std::string place = file.string() + ":" + std::to_string(refusal.line) +
                                  (refusal.column ? ":" + std::to_string(refusal.column) : "") +
                                  ": ";
        const Lines problems = split(run.err);
        EXPECT_TRUE(std::any_of(problems.begin(), problems.end(),
                                [&](const std::string& p) {
                                    return p.rfind(place, 0) == 0 &&
                                           p.find(refusal.words) != std::string::npos;
                                }))
            << refusal.what << ": no '" << place << "... " << refusal.words << "' in\n"
            << run.err;
    }
}

TEST_F(LevelToolTest, TheSetMustRiseAndBringEveryKindAndStyle) {
    const fs::path levels = copyLevels();
    const std::vector<fs::path> files = levelFiles(levels);
    // A ceiling lower than the one before, and a third new kind on the first level.
    Lines second = split(readText(files[1])), first = split(readText(files[0]));
    const int ceiling = keyLine(second, "ceiling:"), monsters = keyLine(first, "monsters:");
    second[ceiling - 1] = "ceiling: 0";
    first[monsters - 1] += " eye";
    writeText(files[1], join(second));
    writeText(files[0], join(first));
    // No ghost anywhere, and no wall of style 4.
    for (const fs::path& file : files) {
        std::string text = readText(file);
        for (size_t at = text.find("ghost"); at != std::string::npos; at = text.find("ghost"))
            text.replace(at, 5, "zombie");
        std::replace(text.begin(), text.end(), '&', '#');
        writeText(file, text);
    }
    const SRun run = levelc("check " + quoted(levels));
    EXPECT_EQ(run.status, 1);
    for (const std::string& expected :
         {files[1].string() + ":" + std::to_string(ceiling) + ": ceiling 0 is below the",
          files[0].string() + ":" + std::to_string(monsters) + ":" +
              std::to_string(first[monsters - 1].size() - 2) + ": 'eye' would be the third kind",
          levels.string() + ": no level brings the ghost (type 15)",
          levels.string() + ": no level uses wall style 4 ('&')"})
        EXPECT_NE(run.err.find(expected), std::string::npos) << expected << " not in\n" << run.err;
    EXPECT_EQ(split(run.err).size(), 4u) << run.err;

    // The build refuses too and leaves the old maps.dat alone; an empty folder is no set.
    writeText(dir / "maps.dat", "old");
    EXPECT_EQ(levelc("build " + quoted(levels) + " " + quoted(dir / "maps.dat")).status, 1);
    EXPECT_EQ(readText(dir / "maps.dat"), "old");
    fs::create_directory(dir / "empty");
    EXPECT_NE(levelc("check " + quoted(dir / "empty")).err.find("no level files"),
              std::string::npos);
}

}  // namespace
