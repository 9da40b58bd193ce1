#include "platform/InputScript.h"

#include <cstdint>

#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Platform.h"

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
    return !word.empty();
}

// "X,Y" of a pixel of the picture.
bool parsePixel(std::string_view word, int16_t& x, int16_t& y) {
    const size_t comma = word.find(',');
    uint32_t px = 0, py = 0;
    if (comma == std::string_view::npos || comma == 0 || comma + 1 == word.size() ||
        !parsePicture(word.substr(0, comma), px) || !parsePicture(word.substr(comma + 1), py) ||
        px >= static_cast<uint32_t>(kScreenWidth) || py >= static_cast<uint32_t>(kScreenHeight))
        return false;
    x = static_cast<int16_t>(px);
    y = static_cast<int16_t>(py);
    return true;
}

}  // namespace

bool CInputScript::parse(std::string_view all, const std::string& name, std::string& error) {
    steps_.clear();
    extras_.clear();
    next_ = 0;
    holdsKeys_ = false;
    handsStep_ = SIZE_MAX;
    size_t lineStart = 0;
    for (int number = 1; lineStart < all.size(); ++number) {
        size_t lineEnd = all.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = all.size();
        std::string_view line = all.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        line = line.substr(0, line.find('#'));
        // Where a problem is, for its message; only made when there is one.
        const auto where = [&] { return name + ":" + std::to_string(number) + ": "; };
        // The words of the line: a picture number, then buttons. A key's name in brackets is one
        // word, spaces and all.
        size_t at = 0;
        auto nextWord = [&]() {
            while (at < line.size() && isSpace(line[at])) ++at;
            const size_t start = at;
            if (at < line.size() && line[at] == '[') {
                const size_t close = line.find(']', at);
                at = close == std::string_view::npos ? line.size() : close + 1;
                return line.substr(start, at - start);
            }
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
        SExtra extra{{}, -1, -1, false};
        int keys = 0;
        while (!(word = nextWord()).empty()) {
            if (word.front() == '[') {
                const int key = word.back() == ']' ? keyByName(word.substr(1, word.size() - 2)) : 0;
                if (key == 0) {
                    error = where() + "unknown key " + quoted(word);
                    return false;
                }
                if (keys == kMaxKeysPerLine) {
                    error = where() + "more than " + std::to_string(kMaxKeysPerLine) + " keys";
                    return false;
                }
                extra.keys[keys++] = static_cast<uint8_t>(key);
                continue;
            }
            if (word.front() == '@') {
                if (!parsePixel(word.substr(1), extra.x, extra.y)) {
                    error = where() + "expected the mouse at @X,Y inside the picture's " +
                            std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) +
                            ", found " + quoted(word);
                    return false;
                }
                continue;
            }
            if (word == "click") {
                extra.click = true;
                continue;
            }
            int b = 0;
            while (b < kButtonCount && word != kButtonName[b]) ++b;
            if (b == kButtonCount) {
                error = where() + "unknown button " + quoted(word);
                return false;
            }
            buttons |= buttonBit(static_cast<EButton>(b));
        }
        if (extra.click && extra.x < 0) {
            error = where() + "click without the mouse's place (@X,Y)";
            return false;
        }
        uint32_t extraIndex = 0;
        if (keys > 0 || extra.x >= 0) {
            extras_.push_back(extra);
            extraIndex = static_cast<uint32_t>(extras_.size());
            holdsKeys_ |= keys > 0;
        }
        steps_.push_back({picture, buttons, extraIndex});
    }
    return true;
}

bool CInputScript::load(const std::string& path, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!readFile(path, bytes, error, kMaxInputScriptBytes)) return false;
    return parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path,
                 error);
}

size_t CInputScript::stepAt(uint32_t picture) {
    // Asked for an earlier picture than last time: start again from the top.
    if (next_ > 0 && steps_[next_ - 1].picture > picture) next_ = 0;
    while (next_ < steps_.size() && steps_[next_].picture <= picture) ++next_;
    return next_ == 0 ? steps_.size() : next_ - 1;
}

ButtonMask CInputScript::buttonsAt(uint32_t picture) {
    const size_t step = stepAt(picture);
    return step == steps_.size() ? 0 : steps_[step].buttons;
}

const CPlayerInput::SHands& CInputScript::handsAt(uint32_t picture) {
    const size_t step = stepAt(picture);
    if (step == handsStep_) return hands_;
    handsStep_ = step;
    for (uint8_t& key : keysDown_) key = 0;
    hands_ = CPlayerInput::SHands{};
    hands_.keysDown = keysDown_;
    if (step == steps_.size()) return hands_;
    hands_.pad = steps_[step].buttons;
    if (const uint32_t extra = steps_[step].extra) {
        const SExtra& e = extras_[extra - 1];
        for (const uint8_t key : e.keys)
            if (key != 0) keysDown_[key] = 1;
        hands_.pointerIn = e.x >= 0;
        hands_.pointerX = e.x;
        hands_.pointerY = e.y;
        hands_.pointerDown = e.click;
    }
    return hands_;
}
