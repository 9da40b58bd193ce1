#pragma once
// Which keys press which of the handheld's buttons, as a player may set them in a small text
// file beside the settings: one line per action, "action = key, key", keys by SDL's names for
// them ("Left Ctrl", "Keypad 7", "Space"). An action the file does not mention keeps its default
// keys; one named on a line that cannot be read keeps the keys it had: its defaults, or those
// an earlier line gave it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Buttons.h"

class CControls {
public:
    static constexpr int kMaxKeysPerAction = 4;
    static constexpr int kActionCount = kButtonCount;
    static constexpr const char* kFileName = "boltfever-keys.txt";

    static CControls& instance();
    static void resetInstance();

    // Every action back to its default keys.
    void setDefaults();
    // Takes the bindings of a controls file's text. Returns one line per problem, "name:line:
    // reason", which says what the action of a bad line keeps.
    std::vector<std::string> parse(const std::string& text, const std::string& name);
    // The file as it would be written for the keys in use.
    std::string text() const;
    // The keys that press a button, by name: "Space, Z, Left Ctrl".
    std::string keysOf(EButton button) const;

    // The buttons held, given which keys are down (indexed by USB usage, 256 entries). With Alt
    // held, Enter is the window's and presses nothing.
    ButtonMask buttons(const uint8_t* keysDown, bool altHeld) const;

    // What binding a key to an action did to the keys (bind below).
    struct SBound {
        bool refused = false;              // a key no action may have: nothing changed
        bool removed = false;              // the action had it: now it has not
        EButton takenFrom = kButtonCount;  // the action that had it before
        uint8_t dropped = 0;               // the action's first key, dropped for a fifth
    };
    // Binds a key to an action as the controls page does: a key the action has already is taken
    // off it; any other is added last, taken from whichever action had it, and an action with
    // four keys lets go of its first.
    SBound bind(EButton action, int usage);
    // A key may be bound: it has a name and is not F1, which opens the controls page.
    static bool bindable(int usage);
    // Some action has the key.
    bool isBound(int usage) const;

    // The actions in the file's order: their names there and their buttons.
    static const char* actionName(int index);
    static EButton actionButton(int index);

    // Writes the keys to `path` (where loadControls found them). False, with a one-line
    // reason, when it cannot; a file the player made read-only stays as it is.
    bool save(std::string& error) const;

    // keys[button] lists the USB usages that press it; 0 ends the list.
    uint8_t keys[kButtonCount][kMaxKeysPerAction] = {};
    // The keys file: where they were read and are saved; empty when they are kept nowhere.
    std::string path;

private:
    CControls() { setDefaults(); }
};

// SDL's name of a key the game can bind, by USB usage; empty for one it cannot.
std::string_view keyName(int usage);
// The same, shorter where it is long ("Escape": "ESC", "Keypad Enter": "KPENTER"), for where
// the whole name would not fit.
std::string_view shortKeyName(int usage);
// The USB usage of a key by SDL's name (any letter case); 0 for a name it does not know.
int keyByName(std::string_view name);

// The F1 key, which opens the controls page.
constexpr int kKeyF1 = 58;

// Reads the controls file at `path` into CControls, or writes the defaults there when it is
// missing; CControls then saves to `path` too. Problems come back one per line; a file that cannot
// be read or written costs nothing but its own line: the defaults stay, and one that is there but
// was not read is not saved over.
std::vector<std::string> loadControls(const std::string& path);
