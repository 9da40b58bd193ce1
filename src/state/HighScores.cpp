#include "state/HighScores.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

CHighScores* gInstance = nullptr;

constexpr const char* kHeading = "# Bolt Fever high scores: initials, score, level, date, replay\n";
constexpr size_t kMostReplayName = 100;
constexpr int32_t kMostLevel = 99999;

bool allOf(const std::string& text, bool (*test)(char)) {
    return !text.empty() && std::all_of(text.begin(), text.end(), test);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

// A whole number from 1 to `most`, digits only.
bool parseCount(const std::string& text, int32_t most, int32_t& value) {
    if (!allOf(text, isDigit) || text.size() > 10) return false;
    const long long n = std::strtoll(text.c_str(), nullptr, 10);
    if (n < 1 || n > most) return false;
    value = static_cast<int32_t>(n);
    return true;
}

bool isDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (!isDigit(text[i])) return false;
    const int month = std::atoi(text.c_str() + 5), day = std::atoi(text.c_str() + 8);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// Up to `most` words of a line, parted by white space as a text stream parts them; returns how
// many there are, counting one past `most` when there are more. (No stream: the page would carry
// the whole of iostreams for one file.)
size_t words(std::string_view line, std::string* out, size_t most) {
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    size_t count = 0;
    for (size_t at = line.find_first_not_of(kSpace); at != std::string_view::npos;) {
        const size_t end = std::min(line.find_first_of(kSpace, at), line.size());
        if (count == most) return most + 1;
        out[count++] = line.substr(at, end - at);
        at = line.find_first_not_of(kSpace, end);
    }
    return count;
}

bool parseEntry(std::string_view line, SHighScore& entry) {
    std::string word[5];
    if (words(line, word, 5) != 5) return false;
    const std::string &initials = word[0], &score = word[1], &level = word[2], &date = word[3],
                      &replay = word[4];
    if (initials.size() != 3 || !allOf(initials, isUpper)) return false;
    if (!parseCount(score, INT32_MAX, entry.score) || !parseCount(level, kMostLevel, entry.level))
        return false;
    if (!isDate(date) || !CHighScores::isReplayName(replay)) return false;
    std::memcpy(entry.initials, initials.c_str(), 4);
    std::memcpy(entry.date, date.c_str(), 11);
    entry.replay = replay;
    return true;
}

}  // namespace

CHighScores& CHighScores::instance() {
    if (!gInstance) gInstance = new CHighScores;
    return *gInstance;
}

void CHighScores::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

bool CHighScores::isReplayName(const std::string& name) {
    const auto allowed = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-' || c == '_';
    };
    return name.size() > 4 && name.size() <= kMostReplayName && name[0] != '.' &&
           name.compare(name.size() - 4, 4, ".bfr") == 0 &&
           std::all_of(name.begin(), name.end(), allowed);
}

void CHighScores::scoreText(int32_t score, char (&text)[16]) {
    char digits[12];
    const int n = std::snprintf(digits, sizeof digits, "%d", score);
    int at = 0;
    for (int i = 0; i < n; ++i) {
        text[at++] = digits[i];
        const int left = n - 1 - i;
        if (left > 0 && left % 3 == 0 && digits[i] != '-') text[at++] = ',';
    }
    text[at] = '\0';
}

void CHighScores::parse(const std::string& text, int& bad, int& surplus) {
    entries.clear();
    bad = surplus = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        SHighScore entry;
        if (parseEntry(line, entry))
            entries.push_back(entry);
        else
            ++bad;
    }
    // Best first; equal scores keep the order they came in, the older first.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const SHighScore& a, const SHighScore& b) { return a.score > b.score; });
    if (entries.size() > kEntries) {
        surplus = static_cast<int>(entries.size() - kEntries);
        entries.resize(kEntries);
    }
}

std::string CHighScores::text() const {
    std::string out = kHeading;
    char line[64];
    for (const SHighScore& e : entries) {
        std::snprintf(line, sizeof line, "%s %d %d %s ", e.initials, e.score, e.level, e.date);
        out += line + e.replay + "\n";
    }
    return out;
}

int CHighScores::rankFor(int32_t score) const {
    if (score <= 0) return -1;
    const auto place = std::find_if(entries.begin(), entries.end(),
                                    [score](const SHighScore& e) { return e.score < score; });
    const int rank = static_cast<int>(place - entries.begin());
    return rank < static_cast<int>(kEntries) ? rank : -1;
}

int CHighScores::insert(const SHighScore& entry, std::vector<SHighScore>& dropped) {
    const int rank = rankFor(entry.score);
    if (rank < 0) return rank;
    entries.insert(entries.begin() + rank, entry);
    while (entries.size() > kEntries) {
        dropped.push_back(entries.back());
        entries.pop_back();
    }
    return rank;
}
