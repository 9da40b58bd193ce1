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
// '#' starts a comment. Picture numbers must not decrease.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Buttons.h"

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

private:
    struct SStep {
        uint32_t picture;
        ButtonMask buttons;
    };
    std::vector<SStep> steps_;
    size_t next_ = 0;  // the first step after the last call's picture
};
