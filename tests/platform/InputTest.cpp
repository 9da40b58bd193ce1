#include <gtest/gtest.h>

#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/GameTest.h"

namespace {

class InputTest : public CGameTest {};

// Each button of the mask, read through the handheld's bit numbers, lands in its own flag and in
// no other; the focus-loss request is not a button at all.
TEST_F(InputTest, EachButtonBitReachesItsOwnFlagAndNoOther) {
    CHeadlessBackend backend;
    platformStartup(backend);
    uint8_t CInput::*const flags[kButtonCount] = {
        &CInput::up,          &CInput::down,         &CInput::left,     &CInput::right,
        &CInput::select,      &CInput::start,        &CInput::buttonA,  &CInput::buttonX,
        &CInput::upLeft,      &CInput::upRight,      &CInput::downLeft, &CInput::downRight,
        &CInput::volumeUpKey, &CInput::volumeDownKey};
    CInput& input = CInput::instance();
    for (int pressed = 0; pressed <= kButtonCount; ++pressed) {
        backend.setButtons(pressed < kButtonCount ? buttonBit(static_cast<EButton>(pressed))
                                                  : kPauseRequest);
        input.poll();
        for (int flag = 0; flag < kButtonCount; ++flag)
            EXPECT_EQ(input.*flags[flag], flag == pressed ? 1 : 0)
                << (pressed < kButtonCount ? kButtonName[pressed] : "pause") << " pressed, "
                << kButtonName[flag] << " read";
    }
}

}  // namespace
