#include "platform/Controls.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <iterator>

#include "platform/Files.h"
#include "platform/KeyMap.h"
#include "platform/Messages.h"

namespace {

CControls* gInstance = nullptr;

// A controls file is a few hundred bytes; anything far larger is not one.
constexpr size_t kMaxControlsBytes = 64 * 1024;

// The actions by their names in the file, in the order it lists them.
struct SAction {
    const char* name;
    EButton button;
};
constexpr SAction kActions[kButtonCount] = {
    {"up", kButtonUp},
    {"down", kButtonDown},
    {"left", kButtonLeft},
    {"right", kButtonRight},
    {"upleft", kButtonUpLeft},
    {"upright", kButtonUpRight},
    {"downleft", kButtonDownLeft},
    {"downright", kButtonDownRight},
    {"fire", kButtonA},
    {"locator", kButtonX},
    {"menu", kButtonStart},
    {"select", kButtonSelect},
    {"volumeup", kButtonVolumeUp},
    {"volumedown", kButtonVolumeDown},
};

// SDL's names of the keys a player may bind, by USB usage.
struct SKeyName {
    uint8_t usage;
    const char* name;
};
constexpr SKeyName kNames[] = {
    {4, "A"},
    {5, "B"},
    {6, "C"},
    {7, "D"},
    {8, "E"},
    {9, "F"},
    {10, "G"},
    {11, "H"},
    {12, "I"},
    {13, "J"},
    {14, "K"},
    {15, "L"},
    {16, "M"},
    {17, "N"},
    {18, "O"},
    {19, "P"},
    {20, "Q"},
    {21, "R"},
    {22, "S"},
    {23, "T"},
    {24, "U"},
    {25, "V"},
    {26, "W"},
    {27, "X"},
    {28, "Y"},
    {29, "Z"},
    {30, "1"},
    {31, "2"},
    {32, "3"},
    {33, "4"},
    {34, "5"},
    {35, "6"},
    {36, "7"},
    {37, "8"},
    {38, "9"},
    {39, "0"},
    {40, "Return"},
    {41, "Escape"},
    {42, "Backspace"},
    {43, "Tab"},
    {44, "Space"},
    {45, "-"},
    {46, "="},
    {47, "["},
    {48, "]"},
    {49, "\\"},
    {51, ";"},
    {52, "'"},
    {53, "`"},
    {55, "."},
    {56, "/"},
    {58, "F1"},
    {59, "F2"},
    {60, "F3"},
    {61, "F4"},
    {62, "F5"},
    {63, "F6"},
    {64, "F7"},
    {65, "F8"},
    {66, "F9"},
    {67, "F10"},
    {73, "Insert"},
    {74, "Home"},
    {75, "PageUp"},
    {76, "Delete"},
    {77, "End"},
    {78, "PageDown"},
    {79, "Right"},
    {80, "Left"},
    {81, "Down"},
    {82, "Up"},
    {84, "Keypad /"},
    {85, "Keypad *"},
    {86, "Keypad -"},
    {87, "Keypad +"},
    {88, "Keypad Enter"},
    {89, "Keypad 1"},
    {90, "Keypad 2"},
    {91, "Keypad 3"},
    {92, "Keypad 4"},
    {93, "Keypad 5"},
    {94, "Keypad 6"},
    {95, "Keypad 7"},
    {96, "Keypad 8"},
    {97, "Keypad 9"},
    {98, "Keypad 0"},
    {99, "Keypad ."},
    {224, "Left Ctrl"},
    {225, "Left Shift"},
    {226, "Left Alt"},
    {228, "Right Ctrl"},
    {229, "Right Shift"},
    {230, "Right Alt"},
};

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

using KeyLists = uint8_t[kButtonCount][CControls::kMaxKeysPerAction];

void defaultKeys(KeyLists& keys) {
    for (auto& list : keys)
        for (uint8_t& k : list) k = 0;
    int used[kButtonCount] = {};
    for (const SKeyBinding& binding : defaultKeyBindings())
        if (used[binding.button] < CControls::kMaxKeysPerAction)
            keys[binding.button][used[binding.button]++] = binding.key;
}

}  // namespace

std::string_view keyName(int usage) {
    for (const SKeyName& k : kNames)
        if (k.usage == usage) return k.name;
    return {};
}

int keyByName(std::string_view name) {
    for (const SKeyName& k : kNames)
        if (sameIgnoringCase(k.name, name)) return k.usage;
    return 0;
}

CControls& CControls::instance() {
    if (!gInstance) gInstance = new CControls;
    return *gInstance;
}

void CControls::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

void CControls::setDefaults() {
    defaultKeys(keys);
}

std::string CControls::keysOf(EButton button) const {
    std::string names;
    for (const uint8_t usage : keys[button]) {
        if (usage == 0) break;
        if (!names.empty()) names += ", ";
        names += keyName(usage);
    }
    return names;
}

std::vector<std::string> CControls::parse(const std::string& text, const std::string& name) {
    std::vector<std::string> problems;
    KeyLists defaults;
    defaultKeys(defaults);
    // What a bad line leaves its action with: the defaults, or the keys an earlier line set.
    const auto kept = [&](const SAction& action) {
        const bool isDefault = std::equal(std::begin(keys[action.button]),
                                          std::end(keys[action.button]), defaults[action.button]);
        return "; it keeps " + (isDefault ? "its default keys" : keysOf(action.button));
    };
    size_t start = 0;
    for (int lineNumber = 1; start < text.size(); ++lineNumber) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        const size_t hash = line.find('#');
        if (hash != std::string_view::npos) line = line.substr(0, hash);
        line = trim(line);
        if (line.empty()) continue;
        auto problem = [&](const std::string& reason) {
            problems.push_back(name + ":" + std::to_string(lineNumber) + ": " + reason);
        };
        const size_t equals = line.find('=');  // "volumeup = =" binds the key named "="
        if (equals == std::string_view::npos) {
            problem("expected 'action = key, key', not " + quoted(line));
            continue;
        }
        const std::string_view actionName = trim(line.substr(0, equals));
        const SAction* action = nullptr;
        for (const SAction& a : kActions)
            if (sameIgnoringCase(a.name, actionName)) action = &a;
        if (!action) {
            problem("no action " + quoted(actionName) +
                    " (up down left right upleft upright downleft downright fire locator menu "
                    "select volumeup volumedown)");
            continue;
        }
        uint8_t found[kMaxKeysPerAction] = {};
        int count = 0;
        bool bad = false;
        std::string_view list = line.substr(equals + 1);
        while (!bad) {
            const size_t comma = list.find(',');
            const std::string_view keyText =
                trim(comma == std::string_view::npos ? list : list.substr(0, comma));
            const int usage = keyByName(keyText);
            if (keyText.empty() || usage == 0) {
                problem("unknown key " + quoted(keyText) + " for " + action->name + kept(*action));
                bad = true;
            } else if (count == kMaxKeysPerAction) {
                problem(std::string("more than ") + std::to_string(kMaxKeysPerAction) +
                        " keys for " + action->name + kept(*action));
                bad = true;
            } else {
                found[count++] = static_cast<uint8_t>(usage);
            }
            if (comma == std::string_view::npos) break;
            list = list.substr(comma + 1);
        }
        if (bad) continue;
        for (int i = 0; i < kMaxKeysPerAction; ++i) keys[action->button][i] = found[i];
    }
    return problems;
}

std::string CControls::text() const {
    std::string out =
        "# Bolt Fever controls: one line per action, \"action = key, key\" (up to four keys),\n"
        "# with SDL's names for the keys. Delete this file to get the defaults back.\n";
    for (const SAction& action : kActions) {
        out += action.name;
        out += " =";
        const std::string names = keysOf(action.button);
        if (!names.empty()) out += " " + names;
        out += "\n";
    }
    return out;
}

ButtonMask CControls::buttons(const uint8_t* keysDown, bool altHeld) const {
    ButtonMask mask = 0;
    for (int b = 0; b < kButtonCount; ++b)
        for (const uint8_t usage : keys[b]) {
            if (usage == 0) break;
            if (!keysDown[usage]) continue;
            if (altHeld && (usage == kKeyReturn || usage == kKeyKpEnter)) continue;
            mask |= buttonBit(static_cast<EButton>(b));
        }
    return mask;
}

std::vector<std::string> loadControls(const std::string& path) {
    CControls& controls = CControls::instance();
    std::string error;
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        const std::string text = controls.text();
        if (!writeFileAtomically(path, text.data(), text.size(), error))
            return {error + " (the default keys stay)"};
        return {};
    }
    std::vector<uint8_t> bytes;
    switch (readFileUpTo(path, bytes, kMaxControlsBytes, error)) {
        case EFileRead::kWhole:
            return controls.parse(std::string(bytes.begin(), bytes.end()), path);
        case EFileRead::kCut:
            return {error + ", which no keys file is (the default keys stay)"};
        default:
            return {error + " (the default keys stay)"};
    }
}
