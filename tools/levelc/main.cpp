// levelc: the level compiler. It turns the text levels of a folder into maps.dat, checks a
// level set against the rules that make it play well, and turns a maps.dat back into text.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "LevelRules.h"
#include "LevelText.h"
#include "MonsterNames.h"
#include "platform/Files.h"
#include "world/LevelFile.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: levelc build <level folder> <maps.dat>   check the levels and compile them\n"
    "       levelc check <level folder>              check the levels only\n"
    "       levelc check <level.txt>...              check single levels, not the set\n"
    "       levelc decompile <maps.dat> <folder>     write each map of a file as a level\n"
    "       levelc info <level folder | maps.dat>    list the levels with their monsters\n";

void printProblems(const ProblemList& problems) {
    for (const SProblem& problem : problems)
        std::fprintf(stderr, "%s\n", formatProblem(problem).c_str());
}

bool readText(const fs::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

// One level on its own: parsed and checked, false when anything is wrong.
bool loadLevel(const fs::path& file, std::vector<SLevelSource>& levels, ProblemList& problems) {
    std::string text;
    if (!readText(file, text)) {
        problems.push_back({file.string(), 0, 0, "cannot read the file"});
        return false;
    }
    const size_t before = problems.size();
    SLevelSource level = parseLevel(file.string(), text, problems);
    // A whole maze is worth checking even under a broken header, to hear of everything at once.
    if (level.mazeWhole) checkLevel(level, problems);
    const bool ok = level.complete && problems.size() == before;
    if (level.complete) levels.push_back(std::move(level));
    return ok;
}

// The levels of a folder in play order (by file name), each parsed and checked, then the set.
bool loadLevelSet(const std::string& folder, std::vector<SLevelSource>& levels,
                  ProblemList& problems) {
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().extension() == ".txt" && entry.is_regular_file(ec))
            files.push_back(entry.path());
    if (ec) {
        problems.push_back({folder, 0, 0, "cannot read the folder: " + ec.message()});
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) loadLevel(file, levels, problems);
    // With a level unreadable the set rules would only add confusion.
    if (levels.size() == files.size()) checkLevelSet(folder, levels, problems);
    return problems.empty();
}

int check(const std::vector<std::string>& sources) {
    std::vector<SLevelSource> levels;
    ProblemList problems;
    bool ok = true;
    std::error_code ec;
    if (sources.size() == 1 && fs::is_directory(sources[0], ec))
        ok = loadLevelSet(sources[0], levels, problems);
    else
        for (const std::string& file : sources) ok = loadLevel(file, levels, problems) && ok;
    printProblems(problems);
    return ok ? 0 : 1;
}

int build(const std::string& folder, const std::string& output) {
    std::vector<SLevelSource> levels;
    ProblemList problems;
    if (!loadLevelSet(folder, levels, problems)) {
        printProblems(problems);
        std::fprintf(stderr, "levelc: %s not written\n", output.c_str());
        return 1;
    }
    std::vector<const SMapRecord*> maps;
    for (const SLevelSource& level : levels) maps.push_back(&level.map);
    std::vector<uint8_t> bytes;
    std::string error;
    if (!encodeMapFile(maps, bytes) ||
        !writeFileAtomically(output, bytes.data(), bytes.size(), error)) {
        std::fprintf(stderr, "levelc: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

bool readMaps(const std::string& path, MapList& maps) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!readFile(path, bytes, error, kMaxMapFileBytes)) {
        std::fprintf(stderr, "levelc: %s\n", error.c_str());
        return false;
    }
    // Read as the game reads it, so the text shows what the game would play.
    const SMapFileReport report = readMapFile(bytes, maps);
    for (const std::string& line : mapFileProblems(path, report))
        std::fprintf(stderr, "%s\n", line.c_str());
    return true;
}

int decompile(const std::string& input, const std::string& folder) {
    MapList maps;
    if (!readMaps(input, maps)) return 1;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "levelc: %s: %s\n", folder.c_str(), ec.message().c_str());
        return 1;
    }
    const int32_t digits = maps.size() > 99 ? 3 : 2;
    for (size_t i = 0; i < maps.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%0*zu-map.txt", digits, i + 1);
        int32_t merged = 0;
        const std::string text = formatLevel(
            *maps[i], "Map " + std::to_string(i + 1) + " of " + fs::path(input).filename().string(),
            merged);
        if (merged)
            std::fprintf(stderr,
                         "levelc: map %zu: %d rarely used blank-wall values written as one\n",
                         i + 1, merged);
        const std::string path = (fs::path(folder) / name).string();
        std::string error;
        if (!writeFileAtomically(path, text.data(), text.size(), error)) {
            std::fprintf(stderr, "levelc: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}

void printInfo(const std::string& name, const SMapRecord& map) {
    std::string monsters;
    for (int32_t i = 0; i < map.monsterTypeCount; ++i) {
        const uint8_t type = map.monsterTypes[i];
        const std::string_view known = monsterName(type);
        monsters += " " + (known.empty() ? std::to_string(type) : std::string(known));
        if (type < kFightingKinds) monsters += std::string("(") + monsterFaction(type) + ")";
    }
    int32_t floor = 0;
    for (const uint8_t t : map.tiles) floor += t == 0;
    std::printf("%-28s ceiling %3d  first wave %3d  floor %4d  monsters%s\n", name.c_str(),
                map.maxMonsters, map.firstWave, floor, monsters.c_str());
}

int info(const std::string& source) {
    std::error_code ec;
    if (fs::is_directory(source, ec)) {
        std::vector<SLevelSource> levels;
        ProblemList problems;
        const bool ok = loadLevelSet(source, levels, problems);
        printProblems(problems);
        for (const SLevelSource& level : levels)
            printInfo(fs::path(level.path).filename().string(), level.map);
        return ok ? 0 : 1;
    }
    MapList maps;
    if (!readMaps(source, maps)) return 1;
    for (size_t i = 0; i < maps.size(); ++i) printInfo("map " + std::to_string(i + 1), *maps[i]);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "build") return build(args[1], args[2]);
    if (args.size() >= 2 && args[0] == "check") return check({args.begin() + 1, args.end()});
    if (args.size() == 3 && args[0] == "decompile") return decompile(args[1], args[2]);
    if (args.size() == 2 && args[0] == "info") return info(args[1]);
    std::fputs(kUsage, stderr);
    return 2;
}
