#pragma once
// Input scripts: the buttons of a headless run, written by hand. Each line names the shown
// picture from which on a set of buttons is held, until the next line:
//
//     # walk right, then fire while going down
//     0    right
//     120  down a
//     300              (nothing held from picture 300 on)
//
// Buttons: up down left right upleft upright downleft downright a x start select volup voldown.
// A line may also hold keys of the keyboard by their names in brackets, which press what the
// player's bindings say ([F1] opens the controls page, [Left Ctrl]), and the mouse: @X,Y puts it
// over that pixel of the picture, click holds its button there.
// '#' starts a comment. Picture numbers must not decrease.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Buttons.h"
#include "platform/PlayerInput.h"

// A script with a change of buttons at every picture of an hour's play is about 4 MB.
constexpr size_t kMaxInputScriptBytes = 32u << 20;

class CInputScript {
public:
    // Parses a script. False, with a one-line reason naming the line, when it is malformed.
    bool parse(std::string_view text, const std::string& name, std::string& error);
    // Reads and parses a file of at most kMaxInputScriptBytes.
    bool load(const std::string& path, std::string& error);

    // The buttons held once `picture` pictures have been shown. The game asks in order, so each
    // call goes on from where the last one stopped.
    ButtonMask buttonsAt(uint32_t picture);
    // Everything the script's hands do then: its buttons as a controller's, its keys, the mouse.
    const CPlayerInput::SHands& handsAt(uint32_t picture);
    // Some line holds a key: the run then reads the player's keys and keeps what the controls
    // page changes.
    bool holdsKeys() const { return holdsKeys_; }

    static constexpr int kMaxKeysPerLine = 6;

private:
    struct SStep {
        uint32_t picture;
        ButtonMask buttons;
        uint32_t extra;  // 1 + the index of its keys and mouse in extras_; 0 for none
    };
    struct SExtra {
        uint8_t keys[kMaxKeysPerLine];
        int16_t x, y;  // the mouse's pixel; -1 when it is off the picture
        bool click;
    };
    // The step in force at `picture` (steps_.size() for none), found going on from the last.
    size_t stepAt(uint32_t picture);

    std::vector<SStep> steps_;
    std::vector<SExtra> extras_;
    size_t next_ = 0;  // the first step after the last call's picture
    bool holdsKeys_ = false;
    size_t handsStep_ = SIZE_MAX;  // the step hands_ holds
    uint8_t keysDown_[kKeyUsages] = {};
    CPlayerInput::SHands hands_;
};
