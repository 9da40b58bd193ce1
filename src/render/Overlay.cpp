#include "render/Overlay.h"

#include <cstring>

#include "platform/ControlsPage.h"
#include "platform/PlayerInput.h"
#include "render/ControlsPageView.h"
#include "render/Draw.h"
#include "render/Font.h"
#include "render/KeyHints.h"

namespace {

constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kBarBack = 0x8410;
constexpr uint16_t kBarLit = 0x87F0;
constexpr int32_t kBarLeft = 96;
constexpr int32_t kBarWidth = 128;  // 256 volume steps, two to a pixel

// Whether a moment lies before a deadline, across the clock's wrap.
bool before(uint32_t nowMs, uint32_t untilMs) {
    return static_cast<int32_t>(untilMs - nowMs) > 0;
}

}  // namespace

void COverlay::volumeIs(int32_t volume, uint32_t nowMs) {
    if (volume_ != -1 && volume != volume_) volumeUntil_ = nowMs + kShowMs;
    volume_ = volume;
}

void COverlay::note(const char* text, uint32_t nowMs) {
    note_ = text;
    noteUntil_ = nowMs + kShowMs;
}

const uint16_t* COverlay::compose(const uint16_t* picture, uint32_t nowMs) {
    if (volumeSource) volumeIs(volumeSource(), nowMs);
    CControlsPage& page = CControlsPage::instance();
    if (page.note) {  // the page has closed, its keys saved or not
        note(page.note, nowMs);
        page.note = nullptr;
    }
    const CPlayerInput& player = CPlayerInput::instance();
    const bool pad = player.lastFromController;
    const SHintScene scene = takeHintScene();
    // The page has its own bar; under it the game stands still and names no button.
    const bool showPage = page.isOpen;
    const bool showHints = !showPage && !player.lastFromTouch && scene.what != EHintScene::kNone;
    const bool showVolume = !showPage && before(nowMs, volumeUntil_);
    const bool showNote = note_ && before(nowMs, noteUntil_);
    if (!showPage && !showHints && !showVolume && !showNote) return picture;
    std::memcpy(picture_, picture, sizeof picture_);
    if (showPage) drawControlsPage(page, volume_, pad, nowMs, picture_);
    if (showHints) drawHints(scene, pad, picture_);
    if (showVolume) {
        drawPanel(160, 20, 160, 28, kDialogBorder, kDialogFill, picture_);
        drawTextCentred("VOLUME", 160, 13, kWhite, picture_, 256);
        const int32_t lit = volume_ / 2;
        for (int32_t y = 22; y <= 26; ++y) {
            drawLine(kBarLeft, y, kBarLeft + kBarWidth, y, kBarBack, picture_);
            if (lit > 0) drawLine(kBarLeft, y, kBarLeft + lit, y, kBarLit, picture_);
        }
    }
    if (showNote) {
        drawPanel(160, 212, 200, 16, kDialogBorder, kDialogFill, picture_);
        drawTextCentred(note_, 160, 212, kWhite, picture_, 256);
    }
    return picture_;
}
