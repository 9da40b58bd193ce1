// Whatever bytes an input script holds, reading it ends with the script or one line saying what is
// wrong, and the buttons it gives are buttons of the handheld, the same whichever order the
// pictures are asked in; its mouse is on the picture.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/InputScript.h"
#include "platform/Messages.h"
#include "platform/Platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CInputScript forwards, backwards;
    std::string error;
    if (!forwards.parse(text, "fuzz", error)) {
        if (error.empty() || printable(error).find('\n') != std::string::npos) __builtin_trap();
        return 0;
    }
    if (!backwards.parse(text, "fuzz", error)) __builtin_trap();
    constexpr ButtonMask kHandheld = (1u << kButtonCount) - 1;
    constexpr uint32_t kLast = 1100;
    ButtonMask seen[kLast + 1];
    for (uint32_t p = 0; p <= kLast; ++p) {
        seen[p] = forwards.buttonsAt(p);
        if (seen[p] & ~kHandheld) __builtin_trap();
        // The mouse it holds is on the picture; its keys are keys.
        const CPlayerInput::SHands& hands = forwards.handsAt(p);
        if (hands.pad != seen[p] || !hands.keysDown) __builtin_trap();
        if (hands.pointerIn && (hands.pointerX < 0 || hands.pointerX >= kScreenWidth ||
                                hands.pointerY < 0 || hands.pointerY >= kScreenHeight))
            __builtin_trap();
        if (hands.pointerDown && !hands.pointerIn) __builtin_trap();
    }
    for (uint32_t p = kLast + 1; p-- > 0;)
        if (backwards.buttonsAt(p) != seen[p]) __builtin_trap();
    if (forwards.buttonsAt(UINT32_MAX) != backwards.buttonsAt(UINT32_MAX)) __builtin_trap();
    return 0;
}
