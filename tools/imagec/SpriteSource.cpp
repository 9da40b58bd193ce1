#include "SpriteSource.h"

#include <array>
#include <cctype>
#include <fstream>
#include <sstream>

#include "BankLayout.h"
#include "Ppm.h"

namespace {

struct SPalette {
    std::array<uint16_t, 256> colour{};
    std::array<bool, 256> known{};
};

// What the lines that look like pixel rows belong to.
enum class ERows {
    kNone,     // no image: a row here is a mistake
    kReading,  // the image whose header came last
    kSkipping  // an image whose header was refused (already reported)
};

// An image whose pixel rows are still being read.
struct SPending {
    ERows rows = ERows::kNone;
    int index = 0;
    int line = 0;
    std::string name;
    std::vector<std::string> pixelRows;
    std::vector<int> rowLines;
};

class CSourceReader {
public:
    CSourceReader(const std::string& path, std::vector<SSprite>& bank,
                  std::vector<std::string>& errors)
        : path_(path), bank_(bank), errors_(errors) {}

    void read() {
        std::ifstream in(path_);
        if (!in) {
            errors_.push_back(path_ + ":1: cannot open the sprite source");
            return;
        }
        std::string text;
        int number = 0;
        while (std::getline(in, text)) {
            ++number;
            while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
                text.pop_back();
            readLine(text, number);
        }
        finish();
    }

private:
    void error(int line, const std::string& what) {
        errors_.push_back(path_ + ":" + std::to_string(line) + ": " + what);
    }

    void readLine(const std::string& text, int number) {
        const size_t start = text.find_first_not_of(" \t");
        if (start == std::string::npos) {  // a blank line ends an image
            finish();
            return;
        }
        if (text[start] == '#') return;
        std::istringstream words(text);
        std::string word;
        words >> word;
        if (word == "colour") {
            finish();
            readColour(words, number);
        } else if (word == "image") {
            finish();
            readImageHeader(words, number);
        } else if (pending_.rows == ERows::kReading && start == 0 &&
                   text.find_first_of(" \t") == std::string::npos) {
            pending_.pixelRows.push_back(text);
            pending_.rowLines.push_back(number);
        } else if (pending_.rows != ERows::kSkipping) {
            error(number, "expected \"colour\", \"image\" or a pixel row, found \"" + word + "\"");
        }
    }

    void readColour(std::istringstream& words, int number) {
        std::string key, value;
        words >> key >> value;
        if (key.size() != 1 || key[0] == '#') {
            error(number, "a palette key is one character other than '#'");
            return;
        }
        uint16_t colour = 0;
        if (!parseColour(value, colour)) {
            error(number, "bad colour \"" + value + "\" (write #RRGGBB or 0xNNNN)");
            return;
        }
        const auto k = static_cast<unsigned char>(key[0]);
        if (palette_.known[k]) {
            error(number, "palette key '" + key + "' is already defined in this file");
            return;
        }
        palette_.known[k] = true;
        palette_.colour[k] = colour;
    }

    static bool parseColour(const std::string& value, uint16_t& out) {
        auto hexDigits = [](const std::string& s) {
            for (char c : s)
                if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
            return true;
        };
        if (value.size() == 7 && value[0] == '#' && hexDigits(value.substr(1))) {
            const unsigned long rgb = std::stoul(value.substr(1), nullptr, 16);
            out = rgb565((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255);
            return true;
        }
        if (value.size() == 6 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X') &&
            hexDigits(value.substr(2))) {
            out = static_cast<uint16_t>(std::stoul(value.substr(2), nullptr, 16));
            return true;
        }
        return false;
    }

    static bool parseIndex(const std::string& word, int& out) {
        if (word.empty() || word.size() > 4) return false;
        for (char c : word)
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        out = std::stoi(word);
        return true;
    }

    void readImageHeader(std::istringstream& words, int number) {
        pending_ = SPending{};
        pending_.rows = ERows::kSkipping;  // until the header is accepted
        std::string indexWord, name, equals, op, sourceWord, extra;
        words >> indexWord >> name >> equals >> op >> sourceWord >> extra;
        int index = 0;
        if (!parseIndex(indexWord, index) || index >= kBankSize) {
            error(number, "bad image index \"" + indexWord + "\" (0.." +
                              std::to_string(kBankSize - 1) + ")");
            return;
        }
        if (name.empty() || name == "=") {
            error(number, "image " + indexWord + " needs a name");
            return;
        }
        if (bank_[static_cast<size_t>(index)].defined) {
            error(number, "image " + indexWord + " is already defined at " +
                              bank_[static_cast<size_t>(index)].origin());
            return;
        }
        if (equals.empty()) {
            pending_.rows = ERows::kReading;
            pending_.index = index;
            pending_.line = number;
            pending_.name = name;
            return;
        }
        int source = 0;
        if (equals != "=" || op.empty() || !parseIndex(sourceWord, source) || !extra.empty()) {
            error(number, "expected \"image INDEX NAME\" or \"image INDEX NAME = OP SOURCE\"");
            return;
        }
        if (source >= kBankSize || !bank_[static_cast<size_t>(source)].defined) {
            error(number, "image " + indexWord + " is derived from image " + sourceWord +
                              ", which is not defined above it");
            return;
        }
        const SSprite& from = bank_[static_cast<size_t>(source)];
        SSprite made;
        if (op == "mirror") {
            made = mirrored(from);
        } else if (op == "flip") {
            made = flipped(from);
        } else if (op == "cw") {
            made = turnedClockwise(from);
        } else if (op == "ccw") {
            made = turnedAnticlockwise(from);
        } else if (op == "half") {
            made = turnedHalf(from);
        } else {
            error(number, "unknown operation \"" + op + "\" (mirror, flip, cw, ccw or half)");
            return;
        }
        pending_.rows = ERows::kNone;  // a derived image has no rows of its own
        place(index, name, number, std::move(made));
    }

    // Turns the rows read so far into an image.
    void finish() {
        if (pending_.rows != ERows::kReading) {
            pending_ = SPending{};
            return;
        }
        SPending p = std::move(pending_);
        pending_ = SPending{};
        if (p.pixelRows.empty()) {
            error(p.line, "image " + std::to_string(p.index) + " has no pixel rows");
            return;
        }
        SSprite s;
        s.width = static_cast<int32_t>(p.pixelRows[0].size());
        s.height = static_cast<int32_t>(p.pixelRows.size());
        bool ok = true;
        for (size_t r = 0; r < p.pixelRows.size(); ++r) {
            const std::string& row = p.pixelRows[r];
            if (static_cast<int32_t>(row.size()) != s.width) {
                error(p.rowLines[r], "row is " + std::to_string(row.size()) +
                                         " pixels wide, the image's first row " +
                                         std::to_string(s.width));
                ok = false;
                continue;
            }
            for (size_t c = 0; c < row.size(); ++c) {
                const auto k = static_cast<unsigned char>(row[c]);
                if (!palette_.known[k]) {
                    error(p.rowLines[r], std::string("unknown character '") + row[c] +
                                             "' in column " + std::to_string(c + 1) +
                                             " (not in this file's palette)");
                    ok = false;
                    break;
                }
                s.pixels.push_back(palette_.colour[k]);
            }
        }
        if (ok) place(p.index, p.name, p.line, std::move(s));
    }

    void place(int index, const std::string& name, int line, SSprite s) {
        const SImageSize need = requiredSize(index);
        if (s.width != need.width || s.height != need.height) {
            error(line, "image " + std::to_string(index) + " is " + std::to_string(s.width) +
                            " x " + std::to_string(s.height) + ", the bank needs " +
                            std::to_string(need.width) + " x " + std::to_string(need.height));
            return;
        }
        s.name = name;
        s.file = path_;
        s.line = line;
        s.defined = true;
        bank_[static_cast<size_t>(index)] = std::move(s);
    }

    const std::string& path_;
    std::vector<SSprite>& bank_;
    std::vector<std::string>& errors_;
    SPalette palette_;
    SPending pending_;
};

}  // namespace

void readSpriteSource(const std::string& path, std::vector<SSprite>& bank,
                      std::vector<std::string>& errors) {
    CSourceReader(path, bank, errors).read();
}

void checkComplete(const std::vector<SSprite>& bank, std::vector<std::string>& errors) {
    const int size = static_cast<int>(bank.size());
    for (int i = 0; i < size;) {
        if (bank[static_cast<size_t>(i)].defined) {
            ++i;
            continue;
        }
        int end = i;
        while (end + 1 < size && !bank[static_cast<size_t>(end + 1)].defined) ++end;
        const std::string what =
            i == end ? "image " + std::to_string(i) + " is missing"
                     : "images " + std::to_string(i) + ".." + std::to_string(end) + " are missing";
        std::string where;
        if (end + 1 < size) {
            where = bank[static_cast<size_t>(end + 1)].origin() + ": before this image, ";
        } else if (i > 0) {
            where = bank[static_cast<size_t>(i - 1)].origin() + ": after this image, ";
        }
        errors.push_back(where + what + " (the bank needs every index 0.." +
                         std::to_string(size - 1) + ")");
        i = end + 1;
    }
}
