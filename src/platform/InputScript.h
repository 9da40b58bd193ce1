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

#include <string>
#include <vector>

#include "platform/Buttons.h"

class CInputScript {
public:
    // Parses a script. False, with a one-line reason naming the line, when it is malformed.
    bool parse(const std::string& text, const std::string& name, std::string& error);
    bool load(const std::string& path, std::string& error);

    // The buttons held once `picture` pictures have been shown.
    ButtonMask buttonsAt(uint32_t picture) const;

private:
    struct SStep {
        uint32_t picture;
        ButtonMask buttons;
    };
    std::vector<SStep> steps_;
};
