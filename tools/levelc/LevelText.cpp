#include "LevelText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "MonsterNames.h"

namespace {

struct SWord {
    std::string_view text;
    int32_t column;  // 1-based
};

// Splits at spaces and tabs; `column` is the 1-based column of s[0] on its line.
std::vector<SWord> splitWords(std::string_view s, int32_t column) {
    std::vector<SWord> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        const size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start)
            words.push_back({s.substr(start, i - start), column + static_cast<int32_t>(start)});
    }
    return words;
}

bool parseByte(std::string_view text, uint8_t& out) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value > 255) return false;
    out = static_cast<uint8_t>(value);
    return true;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A character a tile declaration may give a meaning: printable, and not one the format uses.
bool declarable(unsigned char c) {
    return c > ' ' && c < 127 && c != ';' && c != ':';
}

class CLevelParser {
public:
    CLevelParser(const std::string& path, ProblemList& problems)
        : problems_(problems), before_(problems.size()) {
        level_.path = path;
        valueOf_.fill(-1);
        valueOf_[static_cast<unsigned char>(kFloorChar)] = 0;
        for (int32_t style = 0; style < 4; ++style)
            valueOf_[static_cast<unsigned char>(kWallChars[style])] = style + 1;
    }

    SLevelSource parse(std::string_view text) {
        int32_t lineNumber = 0;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(pos, end - pos);
            pos = end + 1;
            ++lineNumber;
            if (const size_t comment = line.find(';'); comment != std::string_view::npos)
                line = line.substr(0, comment);
            line = trimRight(line);
            if (line.empty()) continue;
            if (line.find(':') != std::string_view::npos)
                headerLine(lineNumber, line);
            else
                mazeRow(lineNumber, line);
        }
        finish(lineNumber);
        return level_;
    }

private:
    void report(int32_t line, int32_t column, std::string message) {
        problems_.push_back({level_.path, line, column, std::move(message)});
    }

    void headerLine(int32_t line, std::string_view text) {
        const size_t colon = text.find(':');
        std::string_view key = text.substr(0, colon);
        const size_t keyStart = key.find_first_not_of(" \t");
        key = trimRight(keyStart == std::string_view::npos ? std::string_view()
                                                           : key.substr(keyStart));
        const std::vector<SWord> words =
            splitWords(text.substr(colon + 1), static_cast<int32_t>(colon) + 2);
        const int32_t keyColumn =
            static_cast<int32_t>(keyStart == std::string_view::npos ? 0 : keyStart) + 1;
        if (rows_ > 0) {
            report(line, keyColumn, "header lines go before the maze");
            return;
        }
        if (key == "ceiling")
            number(line, keyColumn, key, words, level_.ceilingLine, level_.map.maxMonsters);
        else if (key == "first-wave")
            number(line, keyColumn, key, words, level_.firstWaveLine, level_.map.firstWave);
        else if (key == "monsters")
            monsters(line, keyColumn, words);
        else if (key == "tile")
            tile(line, keyColumn, words);
        else
            report(line, keyColumn,
                   "unknown header key '" + std::string(key) +
                       "' (known: ceiling, first-wave, monsters, tile)");
    }

    bool firstTime(int32_t line, int32_t column, std::string_view key, int32_t& keyLine) {
        if (keyLine != 0) {
            report(line, column,
                   "second '" + std::string(key) + ":' line (the first is line " +
                       std::to_string(keyLine) + ")");
            return false;
        }
        keyLine = line;
        return true;
    }

    void number(int32_t line, int32_t column, std::string_view key, const std::vector<SWord>& words,
                int32_t& keyLine, uint8_t& out) {
        if (!firstTime(line, column, key, keyLine)) return;
        if (words.size() != 1 || !parseByte(words[0].text, out))
            report(line, words.empty() ? column : words[0].column,
                   "'" + std::string(key) + ":' takes one number from 0 to 255");
    }

    void monsters(int32_t line, int32_t column, const std::vector<SWord>& words) {
        if (!firstTime(line, column, "monsters", level_.monstersLine)) return;
        for (const SWord& word : words) {
            const uint8_t count = level_.map.monsterTypeCount;
            if (count == kMonsterTypeSlots) {
                report(line, word.column, "more than 8 monster types");
                return;
            }
            uint8_t type = 0;
            if (const auto named = monsterTypeByName(word.text)) {
                type = *named;
            } else if (!parseByte(word.text, type)) {
                report(line, word.column,
                       "unknown monster '" + std::string(word.text) +
                           "' (a class name such as soldier, or a type number)");
                continue;
            }
            level_.map.monsterTypes[count] = type;
            level_.monsterColumns[count] = word.column;
            level_.map.monsterTypeCount = count + 1;
        }
    }

    void tile(int32_t line, int32_t column, const std::vector<SWord>& words) {
        uint8_t value = 0;
        if (words.size() != 2 || words[0].text.size() != 1 || !parseByte(words[1].text, value)) {
            report(line, column, "'tile:' takes a character and a tile value, as in 'tile: X 7'");
            return;
        }
        const auto c = static_cast<unsigned char>(words[0].text[0]);
        if (!declarable(c) || valueOf_[c] >= 0) {
            report(line, words[0].column,
                   "'" + std::string(words[0].text) + "' already means something else");
            return;
        }
        if (value <= 4) {
            report(line, words[1].column,
                   "tile values 0 to 4 have their characters ('.', '#', '%', '@', '&')");
            return;
        }
        valueOf_[c] = value;
    }

    void mazeRow(int32_t line, std::string_view text) {
        const size_t before = problems_.size();
        if (rows_ == kMazeRows) {
            if (!tooManyRows_) report(line, 1, "more than 29 maze rows");
            tooManyRows_ = true;
            return;
        }
        const int32_t row = rows_++;
        level_.gridLines[row] = line;
        const int32_t width = static_cast<int32_t>(text.size());
        for (int32_t column = 0; column < std::min(width, kMazeColumns); ++column) {
            const auto c = static_cast<unsigned char>(text[static_cast<size_t>(column)]);
            if (valueOf_[c] < 0) {
                report(line, column + 1,
                       "unknown tile character '" + std::string(1, static_cast<char>(c)) +
                           "' (declare it with 'tile: " + std::string(1, static_cast<char>(c)) +
                           " <value>')");
                continue;
            }
            level_.map.tiles[column * kMazeRows + row] = static_cast<uint8_t>(valueOf_[c]);
        }
        if (width != kMazeColumns)
            report(line, std::min(width, kMazeColumns) + 1,
                   "maze rows are 40 tiles wide; this one has " + std::to_string(width));
        if (problems_.size() != before) mazeBroken_ = true;
    }

    void finish(int32_t lastLine) {
        if (rows_ < kMazeRows)
            report(rows_ ? level_.gridLines[rows_ - 1] : std::max(lastLine, 1), 0,
                   "the maze has " + std::to_string(rows_) + " rows; it needs 29");
        if (!level_.ceilingLine) report(1, 0, "no 'ceiling:' line");
        if (!level_.firstWaveLine) report(1, 0, "no 'first-wave:' line");
        if (!level_.monstersLine) report(1, 0, "no 'monsters:' line");
        level_.complete = problems_.size() == before_;
        level_.mazeWhole = rows_ == kMazeRows && !tooManyRows_ && !mazeBroken_;
    }

    ProblemList& problems_;
    const size_t before_;
    SLevelSource level_;
    std::array<int32_t, 256> valueOf_{};
    int32_t rows_ = 0;
    bool tooManyRows_ = false;
    bool mazeBroken_ = false;
};

// Characters given to tile values 5..255, in order of first use.
constexpr std::string_view kSpareChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace

SLevelSource parseLevel(const std::string& path, std::string_view text, ProblemList& problems) {
    return CLevelParser(path, problems).parse(text);
}

std::string formatLevel(const SMapRecord& map, const std::string& comment, int32_t& merged) {
    std::array<char, 256> charOf{};
    charOf[0] = kFloorChar;
    for (int32_t style = 0; style < 4; ++style)
        charOf[static_cast<size_t>(style + 1)] = kWallChars[style];

    // Values without a character, most used first, so that the rare ones are merged.
    std::array<int32_t, 256> uses{};
    for (const uint8_t t : map.tiles) ++uses[t];
    std::vector<int32_t> spare;
    for (int32_t value = 5; value < 256; ++value)
        if (uses[static_cast<size_t>(value)]) spare.push_back(value);
    std::stable_sort(spare.begin(), spare.end(), [&](int32_t a, int32_t b) {
        return uses[static_cast<size_t>(a)] > uses[static_cast<size_t>(b)];
    });
    merged = 0;
    std::string declarations;
    for (size_t i = 0; i < spare.size(); ++i) {
        const auto value = static_cast<size_t>(spare[i]);
        if (i < kSpareChars.size()) {
            charOf[value] = kSpareChars[i];
            declarations +=
                "tile: " + std::string(1, kSpareChars[i]) + " " + std::to_string(value) + "\n";
        } else {
            // Out of letters: the game draws and blocks all these values alike.
            charOf[value] = kSpareChars.back();
            ++merged;
        }
    }

    std::string text = "; " + comment + "\n";
    text += "ceiling: " + std::to_string(map.maxMonsters) + "\n";
    text += "first-wave: " + std::to_string(map.firstWave) + "\n";
    text += "monsters:";
    for (int32_t i = 0; i < std::min<int32_t>(map.monsterTypeCount, kMonsterTypeSlots); ++i) {
        const std::string_view name = monsterName(map.monsterTypes[i]);
        text += " " + (name.empty() ? std::to_string(map.monsterTypes[i]) : std::string(name));
    }
    text += "\n" + declarations + "\n";
    for (int32_t row = 0; row < kMazeRows; ++row) {
        for (int32_t column = 0; column < kMazeColumns; ++column)
            text += charOf[map.tileAt(column, row)];
        text += "\n";
    }
    return text;
}
