#pragma once
// Sets the button levels straight into the input, as a poll would leave them.

#include <cstdint>
#include <initializer_list>

#include "platform/Input.h"

using InputFlag = uint8_t CInput::*;

// Exactly these flags of the input down, every other one up.
inline void hold(std::initializer_list<InputFlag> flags) {
    CInput& input = CInput::instance();
    input = CInput();
    for (InputFlag flag : flags) input.*flag = 1;
}

namespace held {
constexpr InputFlag kUp = &CInput::up;
constexpr InputFlag kDown = &CInput::down;
constexpr InputFlag kLeft = &CInput::left;
constexpr InputFlag kRight = &CInput::right;
constexpr InputFlag kUpLeft = &CInput::upLeft;
constexpr InputFlag kUpRight = &CInput::upRight;
constexpr InputFlag kDownLeft = &CInput::downLeft;
constexpr InputFlag kDownRight = &CInput::downRight;
constexpr InputFlag kStart = &CInput::start;
constexpr InputFlag kSelect = &CInput::select;
}  // namespace held
