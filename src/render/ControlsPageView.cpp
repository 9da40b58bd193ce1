#include "render/ControlsPageView.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/ControlsPage.h"
#include "platform/Platform.h"
#include "render/Draw.h"
#include "render/Font.h"

namespace {

constexpr uint16_t kScale = 256;
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kLabel = 0xCE79;
constexpr uint16_t kPadColour = 0x9FFF;
constexpr uint16_t kHighlight = 0xFFE0;
constexpr uint16_t kSaid = 0xFFF4;
constexpr uint16_t kPageFill = 0x10A6;  // darker than the game's dialogs: a page to read
constexpr uint16_t kRowBack = 0x2945;
constexpr uint16_t kBarBack = 0x8410;
constexpr uint16_t kBarLit = 0x87F0;

constexpr int32_t kLabelX = 8;
constexpr int32_t kKeysX = 80;
constexpr int32_t kPadRight = 314;  // the controller column ends here
constexpr int kKeysChars = 33;      // what the keys column holds at this scale
constexpr int32_t kTitleY = 9;
constexpr int32_t kSaidY = CControlsPage::rowY(CControlsPage::kDoneItem) + 13;
constexpr int32_t kHelpY = 225;

// The controller's button for each action, in the page's order.
constexpr const char* kPadNames[CControls::kActionCount] = {
    "D-PAD", "D-PAD", "D-PAD", "D-PAD", "STICK", "STICK", "STICK",
    "STICK", "A",     "X",     "START", "BACK",  "RB",    "LB"};

// The keys of an action for its column: "SPACE, Z, LEFT CTRL", or shorter when that is too long.
void keysText(EButton button, char (&out)[64]) {
    const uint8_t* keys = CControls::instance().keys[button];
    for (const bool brief : {false, true}) {
        size_t length = 0;
        out[0] = '\0';
        for (int i = 0; i < CControls::kMaxKeysPerAction && keys[i] != 0; ++i) {
            const std::string_view name = brief ? shortKeyName(keys[i]) : keyName(keys[i]);
            const std::string_view join = i == 0 ? "" : brief ? " " : ", ";
            if (length + join.size() + name.size() >= sizeof out) break;
            std::memcpy(out + length, join.data(), join.size());
            length += join.size();
            std::memcpy(out + length, name.data(), name.size());
            length += name.size();
            out[length] = '\0';
        }
        if (length <= static_cast<size_t>(kKeysChars)) break;
    }
    if (keys[0] == 0) std::snprintf(out, sizeof out, "NO KEY");
}

void drawRight(const char* text, int32_t right, int32_t y, uint16_t colour, uint16_t* picture) {
    const auto length = static_cast<int32_t>(std::strlen(text));
    drawWindowText(text, right - length * textAdvance(kScale), y, colour, picture, kScale);
}

}  // namespace

void drawControlsPage(const CControlsPage& page, int32_t volume, bool pad, uint32_t nowMs,
                      uint16_t* picture) {
    // Opaque: no word of the game beneath shows between the page's rows.
    std::memset(picture, 0, kScreenPixels * sizeof(uint16_t));
    drawPanel(160, 120, 320, 240, kDialogBorder, kPageFill, picture);
    drawWindowTextCentred("CONTROLS", 160, kTitleY, kWhite, picture, kScale);
    drawWindowTextCentred("CONTROLS", 161, kTitleY, kWhite, picture, kScale);

    // The highlighted row on a strip; while a key is awaited the strip blinks.
    const bool blinkOff = page.binding && (nowMs / 250) % 2 == 1;
    if (!blinkOff) {
        const int32_t y = CControlsPage::rowY(page.cursor);
        fillRectBlend(4, y - CControlsPage::kRowHeight / 2, 312, CControlsPage::kRowHeight,
                      kRowBack, 1, picture);
    }
    const int32_t textTop = -3;  // a row's letters from its centre
    for (int item = 0; item < CControlsPage::kItems; ++item) {
        const int32_t y = CControlsPage::rowY(item) + textTop;
        const bool lit = item == page.cursor;
        if (item == CControlsPage::kVolumeItem) {
            drawWindowText("MASTER VOLUME", kLabelX, y, lit ? kHighlight : kLabel, picture, kScale);
            const int32_t centre = CControlsPage::rowY(item);
            const int32_t left = CControlsPage::kBarLeft;
            const int32_t filled = volume / 2;
            for (int32_t row = centre - 2; row <= centre + 2; ++row) {
                drawLine(left, row, left + CControlsPage::kBarWidth, row, kBarBack, picture);
                if (filled > 0) drawLine(left, row, left + filled, row, kBarLit, picture);
            }
            char number[8];
            std::snprintf(number, sizeof number, "%d", static_cast<int>(volume));
            drawRight(number, kPadRight, y, kWhite, picture);
        } else if (item < CControlsPage::kDefaultsItem) {
            const int action = item - CControlsPage::kFirstActionItem;
            drawWindowText(CControlsPage::actionLabel(action), kLabelX, y,
                           lit ? kHighlight : kLabel, picture, kScale);
            char keys[64];
            keysText(CControls::actionButton(action), keys);
            drawWindowText(keys, kKeysX, y, lit ? kHighlight : kWhite, picture, kScale);
            drawRight(kPadNames[action], kPadRight, y, kPadColour, picture);
        } else {
            drawWindowTextCentred(item == CControlsPage::kDoneItem ? "DONE" : "DEFAULT KEYS", 160,
                                  CControlsPage::rowY(item), lit ? kHighlight : kWhite, picture,
                                  kScale);
        }
    }
    for (int i = 0; i < 2; ++i)
        drawWindowTextCentred(page.said[i], 160, kSaidY + 9 * i, kSaid, picture, kScale);
    // How to use it, from the keyboard or a controller.
    const char* help[2] = {"UP/DOWN: CHOOSE  RETURN: CHANGE  LEFT/RIGHT: VOLUME",
                           "ESCAPE OR F1: BACK   THE MOUSE POINTS AND CLICKS"};
    if (page.binding) {
        help[0] = pad ? "PRESS A KEY   B: NO CHANGE" : "PRESS A KEY   F1: NO CHANGE";
        help[1] = "";
    } else if (pad) {
        help[0] = "D-PAD: CHOOSE   A: CHANGE   LEFT/RIGHT: VOLUME";
        help[1] = "B OR Y: BACK";
    }
    for (int i = 0; i < 2; ++i)
        drawWindowTextCentred(help[i], 160, kHelpY + 9 * i, kPadColour, picture, kScale);
}
