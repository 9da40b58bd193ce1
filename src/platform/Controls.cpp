#include "platform/Controls.h"

#include <algorithm>
#include <cctype>
#include <cstring>
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

// SDL's names of the keys a player may bind, by USB usage, and the browser's. The comma is
// not among them: it parts the keys of a line.
struct SKeyName {
    uint8_t usage;
    const char* name;
    const char* code;  // the browser's name for it (KeyboardEvent.code)
};
constexpr SKeyName kNames[] = {
    {4, "A", "KeyA"},
    {5, "B", "KeyB"},
    {6, "C", "KeyC"},
    {7, "D", "KeyD"},
    {8, "E", "KeyE"},
    {9, "F", "KeyF"},
    {10, "G", "KeyG"},
    {11, "H", "KeyH"},
    {12, "I", "KeyI"},
    {13, "J", "KeyJ"},
    {14, "K", "KeyK"},
    {15, "L", "KeyL"},
    {16, "M", "KeyM"},
    {17, "N", "KeyN"},
    {18, "O", "KeyO"},
    {19, "P", "KeyP"},
    {20, "Q", "KeyQ"},
    {21, "R", "KeyR"},
    {22, "S", "KeyS"},
    {23, "T", "KeyT"},
    {24, "U", "KeyU"},
    {25, "V", "KeyV"},
    {26, "W", "KeyW"},
    {27, "X", "KeyX"},
    {28, "Y", "KeyY"},
    {29, "Z", "KeyZ"},
    {30, "1", "Digit1"},
    {31, "2", "Digit2"},
    {32, "3", "Digit3"},
    {33, "4", "Digit4"},
    {34, "5", "Digit5"},
    {35, "6", "Digit6"},
    {36, "7", "Digit7"},
    {37, "8", "Digit8"},
    {38, "9", "Digit9"},
    {39, "0", "Digit0"},
    {40, "Return", "Enter"},
    {41, "Escape", "Escape"},
    {42, "Backspace", "Backspace"},
    {43, "Tab", "Tab"},
    {44, "Space", "Space"},
    {45, "-", "Minus"},
    {46, "=", "Equal"},
    {47, "[", "BracketLeft"},
    {48, "]", "BracketRight"},
    {49, "\\", "Backslash"},
    {51, ";", "Semicolon"},
    {52, "'", "Quote"},
    {53, "`", "Backquote"},
    {55, ".", "Period"},
    {56, "/", "Slash"},
    {58, "F1", "F1"},
    {59, "F2", "F2"},
    {60, "F3", "F3"},
    {61, "F4", "F4"},
    {62, "F5", "F5"},
    {63, "F6", "F6"},
    {64, "F7", "F7"},
    {65, "F8", "F8"},
    {66, "F9", "F9"},
    {67, "F10", "F10"},
    {73, "Insert", "Insert"},
    {74, "Home", "Home"},
    {75, "PageUp", "PageUp"},
    {76, "Delete", "Delete"},
    {77, "End", "End"},
    {78, "PageDown", "PageDown"},
    {79, "Right", "ArrowRight"},
    {80, "Left", "ArrowLeft"},
    {81, "Down", "ArrowDown"},
    {82, "Up", "ArrowUp"},
    {84, "Keypad /", "NumpadDivide"},
    {85, "Keypad *", "NumpadMultiply"},
    {86, "Keypad -", "NumpadSubtract"},
    {87, "Keypad +", "NumpadAdd"},
    {88, "Keypad Enter", "NumpadEnter"},
    {89, "Keypad 1", "Numpad1"},
    {90, "Keypad 2", "Numpad2"},
    {91, "Keypad 3", "Numpad3"},
    {92, "Keypad 4", "Numpad4"},
    {93, "Keypad 5", "Numpad5"},
    {94, "Keypad 6", "Numpad6"},
    {95, "Keypad 7", "Numpad7"},
    {96, "Keypad 8", "Numpad8"},
    {97, "Keypad 9", "Numpad9"},
    {98, "Keypad 0", "Numpad0"},
    {99, "Keypad .", "NumpadDecimal"},
    {224, "Left Ctrl", "ControlLeft"},
    {225, "Left Shift", "ShiftLeft"},
    {226, "Left Alt", "AltLeft"},
    {228, "Right Ctrl", "ControlRight"},
    {229, "Right Shift", "ShiftRight"},
    {230, "Right Alt", "AltRight"},
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

std::string_view shortKeyName(int usage) {
    static const struct {
        const char* full;
        const char* brief;
    } kShort[] = {
        {"Keypad /", "KP/"},      {"Keypad *", "KP*"},         {"Keypad -", "KP-"},
        {"Keypad +", "KP+"},      {"Keypad Enter", "KPENTER"}, {"Keypad .", "KP."},
        {"Keypad 0", "KP0"},      {"Keypad 1", "KP1"},         {"Keypad 2", "KP2"},
        {"Keypad 3", "KP3"},      {"Keypad 4", "KP4"},         {"Keypad 5", "KP5"},
        {"Keypad 6", "KP6"},      {"Keypad 7", "KP7"},         {"Keypad 8", "KP8"},
        {"Keypad 9", "KP9"},      {"Left Ctrl", "LCTRL"},      {"Right Ctrl", "RCTRL"},
        {"Left Shift", "LSHIFT"}, {"Right Shift", "RSHIFT"},   {"Left Alt", "LALT"},
        {"Right Alt", "RALT"},    {"Backspace", "BKSP"},       {"PageUp", "PGUP"},
        {"PageDown", "PGDN"},     {"Escape", "ESC"},           {"Return", "RET"},
        {"Delete", "DEL"},        {"Insert", "INS"},
    };
    const std::string_view name = keyName(usage);
    for (const auto& s : kShort)
        if (name == s.full) return s.brief;
    return name;
}

int keyByName(std::string_view name) {
    for (const SKeyName& k : kNames)
        if (sameIgnoringCase(k.name, name)) return k.usage;
    return 0;
}

int keyForCode(const char* code) {
    for (const SKeyName& k : kNames)
        if (std::strcmp(k.code, code) == 0) return k.usage;
    return 0;
}

bool CControls::bindable(int usage) {
    return usage != kKeyF1 && !keyName(usage).empty();
}

bool CControls::isBound(int usage) const {
    for (const auto& list : keys)
        for (const uint8_t key : list)
            if (key != 0 && key == usage) return true;
    return false;
}

const char* CControls::actionName(int index) {
    return kActions[index].name;
}

EButton CControls::actionButton(int index) {
    return kActions[index].button;
}

CControls::SBound CControls::bind(EButton action, int usage) {
    SBound bound;
    if (!bindable(usage)) {
        bound.refused = true;
        return bound;
    }
    const auto key = static_cast<uint8_t>(usage);
    // Takes the key out of one action's list, closing the gap. True when it was there.
    const auto takeOut = [this, key](EButton from) {
        uint8_t* list = keys[from];
        uint8_t* end = std::remove(list, list + kMaxKeysPerAction, key);
        std::fill(end, list + kMaxKeysPerAction, uint8_t{0});
        return end != list + kMaxKeysPerAction;
    };
    if (takeOut(action)) {
        bound.removed = true;
        return bound;
    }
    for (int b = 0; b < kButtonCount; ++b)
        if (b != action && takeOut(static_cast<EButton>(b)))
            bound.takenFrom = static_cast<EButton>(b);
    uint8_t* list = keys[action];
    int count = 0;
    while (count < kMaxKeysPerAction && list[count] != 0) ++count;
    if (count == kMaxKeysPerAction) {
        bound.dropped = list[0];
        std::copy(list + 1, list + kMaxKeysPerAction, list);
        --count;
    }
    list[count] = key;
    return bound;
}

bool CControls::save(std::string& error) const {
    if (path.empty()) return true;
    const std::string bytes = text();
    return writeFileAtomically(path, bytes.data(), bytes.size(), error);
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
        // "locator =": the action has no key (the controls page can take its last one away).
        const bool none = trim(list).empty();
        while (!bad && !none) {
            const size_t comma = list.find(',');
            const std::string_view keyText =
                trim(comma == std::string_view::npos ? list : list.substr(0, comma));
            const int usage = keyByName(keyText);
            if (keyText.empty() || usage == 0) {
                problem("unknown key " + quoted(keyText) + " for " + action->name + kept(*action));
                bad = true;
            } else if (usage == kKeyF1) {
                problem(std::string("F1 opens the controls page, it is no key for ") +
                        action->name + kept(*action));
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
    // A file that is there but was not read is never saved over: the keys are kept nowhere.
    controls.path.clear();
    std::string error;
    std::vector<uint8_t> bytes;
    switch (readFileUpTo(path, bytes, kMaxControlsBytes, error)) {
        case EFileRead::kWhole:
            controls.path = path;
            return controls.parse(std::string(bytes.begin(), bytes.end()), path);
        case EFileRead::kMissing: {
            controls.path = path;
            const std::string text = controls.text();
            if (!writeFileAtomically(path, text.data(), text.size(), error))
                return {error + " (the default keys stay)"};
            return {};
        }
        case EFileRead::kCut:
            return {error + ", which no keys file is (the default keys stay)"};
        default:
            return {error + " (the default keys stay)"};
    }
}
