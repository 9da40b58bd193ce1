#include "shell/Menu.h"

#include <cstdio>

#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/Pointer.h"
#include "render/Draw.h"
#include "render/Font.h"
#include "render/KeyHints.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "state/GameState.h"

namespace {

CMenu* gInstance = nullptr;

enum EAction : int32_t { kNext = 0, kPrevious = 1, kConfirm = 2 };

constexpr int32_t kItemCount[4] = {4, 3, 3, 4};
// Calls with left or right held between two steps of the start level.
constexpr int32_t kRepeatSteps = 15;

constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kBarBack = 0x8410;
constexpr uint16_t kBarActive = 0x87F0;
constexpr uint16_t kBarIdle = 0x0500;
constexpr uint16_t kSideActive = 0x83FF;
constexpr uint16_t kSideIdle = 0x001F;
// The mouse points at an item anywhere across the dialog panel, on the item's row.
constexpr int32_t kPointerLeft = 40;
constexpr int32_t kPointerRight = 280;

uint16_t grey(int32_t level) {
    return static_cast<uint16_t>(level << 11 | level << 6 | level);
}

}  // namespace

CMenu& CMenu::instance() {
    if (!gInstance) gInstance = new CMenu;
    return *gInstance;
}

void CMenu::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

void CMenu::resetPulse() {
    pulse = 31;
    pulseStep = -1;
}

void CMenu::reset() {
    inSettings = false;
    cursor = 0;
    latched = false;
    resetPulse();
}

void CMenu::hintUnder(int32_t panelBottom, int32_t mode) const {
    const int32_t page = inSettings ? kSettings : mode;
    const bool leftRight =
        page == kSettings ? cursor == 0
                          : cursor == kNewGameItem[page] && CGameState::instance().bestLevel >= 1;
    setHintScene({EHintScene::kMenu, panelBottom + 6, 0, leftRight});
}

const char* CMenu::newGameLabel() {
    if (CGameState::instance().bestLevel < 1)
        std::snprintf(label_, sizeof label_, "NEW GAME");
    else
        std::snprintf(label_, sizeof label_, "NEW GAME:LEVEL %d", startLevelChoice + 1);
    return label_;
}

void CMenu::openOnStart(bool& latched, bool allowed) {
    CGameState& state = CGameState::instance();
    if (state.menuOpen) return;
    const bool focusLost = platformPauseRequested();
    const bool startDown = CInput::instance().start != 0;
    if (focusLost || !startDown) {
        if (!allowed || !(focusLost || latched)) return;
        state.menuOpen = true;
        latched = false;
        CSoundManager::instance().playSample(5, 256, 256, 2);
    } else if (allowed) {
        latched = true;
    }
}

int32_t CMenu::run(int32_t mode) {
    newGameLabel();
    const int32_t p = pulse + pulseStep;
    if (p < 1 || p > 30) pulseStep = -pulseStep;
    pulse = p;

    const int32_t page = inSettings ? kSettings : mode;
    // The mouse: moving onto an item highlights it, and its button acts on the item under it
    // (a resting mouse leaves the keys' choice alone).
    const int32_t pointed = pointerTarget();
    const bool onItem = pointed > 0 && pointed <= kItemCount[page];
    const bool click = onItem && pointerPressed();
    if (onItem && (pointed != pointerSeen || click) && cursor != pointed - 1) {
        cursor = pointed - 1;
        resetPulse();
    }
    pointerSeen = pointed;
    const CInput& input = CInput::instance();
    const bool anyDown = input.down || input.up || input.start || input.select || pointerPressed();
    if (!latched) {
        // The first button down, in this order, latches; the action waits for the release.
        if (input.down || input.select || input.up || input.start || click) {
            latched = true;
            pendingAction = input.down || input.select ? kNext : input.up ? kPrevious : kConfirm;
        }
    } else if (!anyDown) {
        latched = false;
        CSoundManager::instance().playSample(7, 256, 256, 2);
        if (pendingAction == kNext) {
            cursor = cursor + 1 >= kItemCount[page] ? 0 : cursor + 1;
            resetPulse();
        } else if (pendingAction == kPrevious) {
            cursor = cursor - 1 < 0 ? kItemCount[page] - 1 : cursor - 1;
            resetPulse();
        } else {
            const int32_t chosen = confirm(mode, page);
            if (chosen != kNothingChosen) return chosen;
        }
    }
    chooseStartLevel(inSettings ? kSettings : mode);
    draw(inSettings ? kSettings : mode);
    return kNothingChosen;
}

int32_t CMenu::confirm(int32_t mode, int32_t page) {
    CSoundManager& sound = CSoundManager::instance();
    if (page == kSettings) {
        if (cursor == kDoneItem) {  // back to "SETTINGS" of the caller's page
            inSettings = false;
            cursor = kSettingsItem[mode];
            resetPulse();
        } else if (cursor == kSwapStereoItem) {  // the test sound comes from the new left
            sound.toggleSwapStereo();
            sound.playSample(5, 256, 0, 2);
        }
        return kNothingChosen;
    }
    if (cursor == kSettingsItem[mode]) {
        inSettings = true;
        cursor = 0;
        resetPulse();
        return kNothingChosen;
    }
    sound.playSample(5, 256, 256, 2);
    const int32_t chosen = cursor;
    reset();
    return chosen;
}

void CMenu::chooseStartLevel(int32_t page) {
    if (cursor != kNewGameItem[page]) return;
    const CInput& input = CInput::instance();
    const int32_t best = CGameState::instance().bestLevel;
    if (input.right && ++repeatCounter % kRepeatSteps == 0 && startLevelChoice < best)
        ++startLevelChoice;
    if (input.left && ++repeatCounter % kRepeatSteps == 0 && startLevelChoice > 0)
        --startLevelChoice;
}

void CMenu::draw(int32_t page) {
    static const char* const kItems[4][4] = {
        {"RESUME GAME", nullptr, "SETTINGS", "QUIT"},
        {nullptr, "SETTINGS", "QUIT", nullptr},
        {"MUSIC VOLUME", "SWAP STEREO", "DONE", nullptr},
        {nullptr, "RESUME TUTORIAL", "SETTINGS", "QUIT"},
    };
    uint16_t* surface = CScreen::instance().surface();
    const int32_t items = kItemCount[page];
    const int32_t y0 = 120 - 8 * items + (CGameState::instance().tutorial ? 60 : 0);
    if (page == kSettings) {
        CSoundManager& sound = CSoundManager::instance();
        if (cursor == 0) {
            const CInput& input = CInput::instance();
            if (input.left) sound.setMusicVolume(sound.musicVolume - 1);
            if (input.right) sound.setMusicVolume(sound.musicVolume + 1);
        }
        const int32_t length = sound.musicVolume / 4;
        for (int32_t dy = 12; dy <= 15; ++dy)
            drawLine(128, y0 - dy, 192, y0 - dy, kBarBack, surface);
        // Nothing of the bar is lit at volume 0.
        if (length > 0)
            for (int32_t dy = 12; dy <= 15; ++dy)
                drawLine(128, y0 - dy, 128 + length, y0 - dy, cursor == 0 ? kBarActive : kBarIdle,
                         surface);
        const uint16_t side = cursor == kSwapStereoItem ? kSideActive : kSideIdle;
        drawTextBold(sound.swapStereo ? "R" : "L", 70, y0 + 10, side, surface, 512);
        drawTextBold(sound.swapStereo ? "L" : "R", 237, y0 + 10, side, surface, 512);
    }
    for (int32_t i = 0; i < items; ++i) {
        addPointerTarget(i + 1, kPointerLeft, y0 + 16 * i - 8, kPointerRight, y0 + 16 * i + 8);
        const char* text = kItems[page][i] ? kItems[page][i] : label_;
        drawTextCentredBold(text, 160, y0 + 16 * i, i == cursor ? grey(pulse) : kWhite, surface,
                            512);
    }
}
