#include "platform/InputScript.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

bool CInputScript::parse(const std::string& text, const std::string& name, std::string& error) {
    steps_.clear();
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string where = name + ":" + std::to_string(number) + ": ";
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;
        errno = 0;
        char* end = nullptr;
        const unsigned long long picture = std::strtoull(word.c_str(), &end, 10);
        if (word[0] == '-' || *end != '\0' || errno != 0 || picture > UINT32_MAX) {
            error = where + "expected a picture number, found '" + word + "'";
            return false;
        }
        if (!steps_.empty() && picture < steps_.back().picture) {
            error = where + "picture " + word + " comes before the previous line's";
            return false;
        }
        ButtonMask buttons = 0;
        while (words >> word) {
            int b = 0;
            while (b < kButtonCount && word != kButtonName[b]) ++b;
            if (b == kButtonCount) {
                error = where + "unknown button '" + word + "'";
                return false;
            }
            buttons |= buttonBit(static_cast<EButton>(b));
        }
        steps_.push_back({static_cast<uint32_t>(picture), buttons});
    }
    return true;
}

bool CInputScript::load(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parse(text.str(), path, error);
}

ButtonMask CInputScript::buttonsAt(uint32_t picture) const {
    ButtonMask buttons = 0;
    for (const SStep& step : steps_) {
        if (step.picture > picture) break;
        buttons = step.buttons;
    }
    return buttons;
}
