#include "platform/InputScript.h"

#include <cstdint>

#include "platform/Files.h"
#include "platform/Messages.h"

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool parsePicture(std::string_view word, uint32_t& picture) {
    uint64_t value = 0;
    for (const char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > UINT32_MAX) return false;
    }
    picture = static_cast<uint32_t>(value);
    return true;
}

}  // namespace

bool CInputScript::parse(std::string_view all, const std::string& name, std::string& error) {
    steps_.clear();
    next_ = 0;
    size_t lineStart = 0;
    for (int number = 1; lineStart < all.size(); ++number) {
        size_t lineEnd = all.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = all.size();
        std::string_view line = all.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        line = line.substr(0, line.find('#'));
        // Where a problem is, for its message; only made when there is one.
        const auto where = [&] { return name + ":" + std::to_string(number) + ": "; };
        // The words of the line: a picture number, then buttons.
        size_t at = 0;
        auto nextWord = [&]() {
            while (at < line.size() && isSpace(line[at])) ++at;
            const size_t start = at;
            while (at < line.size() && !isSpace(line[at])) ++at;
            return line.substr(start, at - start);
        };
        std::string_view word = nextWord();
        if (word.empty()) continue;
        uint32_t picture = 0;
        if (!parsePicture(word, picture)) {
            error = where() + "expected a picture number, found " + quoted(word);
            return false;
        }
        if (!steps_.empty() && picture < steps_.back().picture) {
            error = where() + "picture " + std::string(word) + " comes before the previous line's";
            return false;
        }
        ButtonMask buttons = 0;
        while (!(word = nextWord()).empty()) {
            int b = 0;
            while (b < kButtonCount && word != kButtonName[b]) ++b;
            if (b == kButtonCount) {
                error = where() + "unknown button " + quoted(word);
                return false;
            }
            buttons |= buttonBit(static_cast<EButton>(b));
        }
        steps_.push_back({picture, buttons});
    }
    return true;
}

bool CInputScript::load(const std::string& path, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!readFile(path, bytes, error, kMaxInputScriptBytes)) return false;
    return parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path,
                 error);
}

ButtonMask CInputScript::buttonsAt(uint32_t picture) {
    // Asked for an earlier picture than last time: start again from the top.
    if (next_ > 0 && steps_[next_ - 1].picture > picture) next_ = 0;
    while (next_ < steps_.size() && steps_[next_].picture <= picture) ++next_;
    return next_ == 0 ? 0 : steps_[next_ - 1].buttons;
}
