#include "state/HighScoreFile.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Replay.h"

namespace {

constexpr const char* kReplayPrefix = "boltfever-score-";

// A replay the table may name: there, whole, and the replay of one game from its start.
bool isGameReplay(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string ignored;
    CReplayReader replay;
    return readFile(path, bytes, ignored, kMaxReplayBytes) &&
           replay.parse(bytes.data(), bytes.size(), ignored) && !replay.header().gameStart.empty();
}

void append(std::string& line, const std::string& part) {
    line += line.empty() ? part : "; " + part;
}

std::string count(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool endsWith(const std::string& name, const std::string& end) {
    return name.size() >= end.size() &&
           name.compare(name.size() - end.size(), end.size(), end) == 0;
}

bool names(const std::vector<SHighScore>& entries, const std::string& name) {
    return std::any_of(entries.begin(), entries.end(),
                       [&name](const SHighScore& e) { return e.replay == name; });
}

// Removes a replay the table does not name, or a save's temporary replay, if it is one the game
// makes there: of our pattern, a file of ours, and not a link.
void removeReplay(const CHighScores& table, const std::string& name) {
    if (name.compare(0, std::char_traits<char>::length(kReplayPrefix), kReplayPrefix) != 0) return;
    if (!endsWith(name, ".bfr") && !endsWith(name, ".bfr.tmp")) return;
    if (names(table.entries, name)) return;
    removeOwnFile(table.folder + name);
}

// A save killed on the way leaves a temporary replay, a whole replay no entry names yet, or the
// replay of an entry it was pushing off; replays have a name of their own every second, so no
// later save would write over them. The replays of the entries being pushed off stay: the table
// on the disk names them until the new one is in place.
void removeLeftovers(const CHighScores& table, const std::vector<SHighScore>& dropped) {
    for (const std::string& name : namesIn(table.folder))
        if (!names(dropped, name)) removeReplay(table, name);
}

}  // namespace

std::string highScoresFolder(const std::string& settingsPath) {
    if (settingsPath.empty()) return {};
    const size_t slash = settingsPath.rfind('/');
    return slash == std::string::npos ? "./" : settingsPath.substr(0, slash + 1);
}

void dateAndTimeNow(char date[11], char time[7]) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(date, 11, "%Y-%m-%d", &local);
    std::strftime(time, 7, "%H%M%S", &local);
}

std::string highScoresListing(const CHighScores& table) {
    if (table.folder.empty()) return "No high scores: there is no home folder to keep them in\n";
    const std::string file = table.folder + kHighScoresFileName;
    if (table.entries.empty()) return "No high scores yet; they are kept in " + file + "\n";
    std::string out = "Bolt Fever high scores (" + file + "):\n";
    char score[16], line[96];
    for (size_t i = 0; i < table.entries.size(); ++i) {
        const SHighScore& e = table.entries[i];
        CHighScores::scoreText(e.score, score);
        std::snprintf(line, sizeof line, "%2zu. %s %13s  level %02d  %s  ", i + 1, e.initials,
                      score, static_cast<int>(e.level), e.date);
        out += line + table.folder + e.replay + "\n";
    }
    return out;
}

void loadHighScores(const std::string& folder, CHighScores& table, std::string& problem) {
    table.entries.clear();
    table.folder = folder;
    table.saveEnabled = false;
    problem.clear();
    if (folder.empty()) return;  // no home: nowhere to keep them, as with the settings
    const std::string path = folder + kHighScoresFileName;
    std::string said;
    std::vector<uint8_t> bytes;
    const EFileRead read = readFileUpTo(path, bytes, kMostHighScoresBytes, said);
    if (read == EFileRead::kMissing) {
        table.saveEnabled = true;
        return;
    }
    if (read == EFileRead::kFailed) {
        problem = said + "; no high score is kept this run, and the file is left as it is";
        return;
    }
    std::string line;
    if (read == EFileRead::kCut) append(line, "larger than 64 KiB, read that far");
    int bad = 0, surplus = 0;
    table.parse(std::string(bytes.begin(), bytes.end()), bad, surplus);
    if (bad > 0) append(line, count(bad, "line is not an entry", "lines are not entries"));
    if (surplus > 0) append(line, count(surplus, "entry is", "entries are") + " past the best ten");
    const size_t before = table.entries.size();
    std::erase_if(table.entries,
                  [&folder](const SHighScore& e) { return !isGameReplay(folder + e.replay); });
    if (table.entries.size() != before)
        append(line, count(before - table.entries.size(), "entry names a replay",
                           "entries name replays") +
                         " missing or not of a game");
    if (!line.empty()) line += "; " + count(table.entries.size(), "entry kept", "entries kept");
    table.saveEnabled = !isReadOnly(path);
    if (!table.saveEnabled) append(line, "read-only, so new high scores are not kept");
    if (!line.empty()) problem = path + ": " + line;
}

bool saveHighScore(CHighScores& table, int rank, const std::vector<uint8_t>& replay,
                   const std::vector<SHighScore>& dropped, std::string& error) {
    // An entry that cannot be kept leaves the table as the file has it.
    const auto fail = [&](const std::string& why) {
        table.entries.erase(table.entries.begin() + rank);
        table.entries.insert(table.entries.end(), dropped.begin(), dropped.end());
        error = "cannot keep the high score: " + why;
        return false;
    };
    if (table.folder == userDataDir() && !makeUserDataDir(error)) return fail(error);
    // The table's new file is made first and held until it is in place: another game saving a
    // high score at once waits, so that neither takes the other's new replay for a leftover.
    const std::string path = table.folder + kHighScoresFileName;
    CAtomicFile file;
    if (!file.open(path, error)) return fail(error);
    // A name of its own: the date and time, and a number when two games end in one second.
    char date[11], time[7];
    dateAndTimeNow(date, time);
    std::string name;
    for (int n = 1; name.empty() || pathExists(table.folder + name); ++n) {
        if (n > 99) return fail("no free name for its replay");
        name = kReplayPrefix + std::string(date, 4) + std::string(date + 5, 2) +
               std::string(date + 8, 2) + "-" + time + (n > 1 ? "-" + std::to_string(n) : "") +
               ".bfr";
    }
    if (!writeFileAtomically(table.folder + name, replay.data(), replay.size(), error))
        return fail(error);
    table.entries[static_cast<size_t>(rank)].replay = name;
    removeLeftovers(table, dropped);
    const std::string text = table.text();
    if (!file.commitWhole(text.data(), text.size(), error)) {
        removeOwnFile(table.folder + name);
        return fail(error);
    }
    for (const SHighScore& gone : dropped) removeReplay(table, gone.replay);
    table.saved = true;
    return true;
}
