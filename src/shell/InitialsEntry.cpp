#include "shell/InitialsEntry.h"

#include <cstring>

#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/Pointer.h"
#include "render/Draw.h"
#include "render/Font.h"
#include "sound/SoundManager.h"
#include "state/HighScores.h"

namespace {

constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kCaption = 0x7FEF;
constexpr uint16_t kHint = 0xC61F;
constexpr int32_t kLetterX = 140;  // the first letter; the others 20 pixels apart
constexpr int32_t kLetterY = 110;
// Frames up or down is held before the letter runs on, and between two letters then.
constexpr int32_t kRepeatAfter = 20;
constexpr int32_t kRepeatEvery = 5;

enum EHeld : uint8_t {
    kUp = 1,
    kDown = 2,
    kLeft = 4,
    kRight = 8,
    kFire = 16,
    kStart = 32,
    kPoint = 64  // the mouse's button, or a finger on the picture
};

uint8_t heldNow() {
    const CInput& in = CInput::instance();
    return static_cast<uint8_t>((in.up ? kUp : 0) | (in.down ? kDown : 0) | (in.left ? kLeft : 0) |
                                (in.right ? kRight : 0) | (in.buttonA ? kFire : 0) |
                                (in.start ? kStart : 0) | (pointerPressed() ? kPoint : 0));
}

void click() {
    CSoundManager::instance().playSample(7, 256, 256, 2);
}

}  // namespace

void CInitialsEntry::begin(int32_t score, const char initials[4]) {
    active_ = true;
    done_ = over_ = false;
    std::memcpy(letters_, initials, 4);
    position_ = 0;
    score_ = score;
    quiet_ = kQuietFrames;
    held_ = heldNow();
    armed_ = 0;
    repeat_ = 0;
    pulse_ = 31;
    pulseStep_ = -1;
}

bool CInitialsEntry::step(int32_t score, uint16_t* surface) {
    score_ = score;
    const int32_t p = pulse_ + pulseStep_;
    if (p < 1 || p > 30) pulseStep_ = -pulseStep_;
    pulse_ = p;
    const uint8_t now = heldNow();
    // A press counts only for a button seen up since the quiet moment ended.
    const uint8_t pressed = static_cast<uint8_t>(now & ~held_ & armed_);
    held_ = now;
    if (quiet_ > 0) {
        // What is up at the quiet moment's last frame is ready for its next press.
        if (--quiet_ == 0) armed_ = static_cast<uint8_t>(~now);
        draw(surface);
        return false;
    }
    armed_ |= static_cast<uint8_t>(~now);
    if (done_) {
        // Only letting go counts now, of everything.
        over_ = over_ || now == 0;
        draw(surface);
        return over_;
    }
    char& letter = letters_[position_];
    const bool upDown = (now & (kUp | kDown)) != 0;
    repeat_ = upDown ? repeat_ + 1 : 0;
    const bool repeating = repeat_ > kRepeatAfter && repeat_ % kRepeatEvery == 0;
    if ((pressed & kUp) || (repeating && (now & kUp & armed_))) {
        letter = letter == 'Z' ? 'A' : static_cast<char>(letter + 1);
        click();
    } else if ((pressed & kDown) || (repeating && (now & kDown & armed_))) {
        letter = letter == 'A' ? 'Z' : static_cast<char>(letter - 1);
        click();
    }
    // A click or a tap on a letter makes it the one to change; on that one, it goes on a letter.
    const int32_t pointed = pointerTarget();
    if ((pressed & kPoint) && pointed >= 1 && pointed <= 3) {
        if (pointed - 1 == position_) letter = letter == 'Z' ? 'A' : static_cast<char>(letter + 1);
        position_ = pointed - 1;
        click();
    }
    if (pressed & kStart) {
        done_ = true;
    } else if (pressed & (kRight | kFire)) {
        if (position_ == 2)
            done_ = true;
        else
            ++position_;
        click();
    } else if ((pressed & kLeft) && position_ > 0) {
        --position_;
        click();
    }
    if (done_) CSoundManager::instance().playSample(5, 256, 256, 2);
    draw(surface);
    return false;
}

void CInitialsEntry::draw(uint16_t* surface) const {
    char score[16];
    CHighScores::scoreText(score_, score);
    char caption[40] = "NEW HIGH SCORE ";
    std::strcat(caption, score);
    drawTextCentred(caption, 160, 92, kCaption, surface, 256);
    const bool choosing = !done_ && quiet_ == 0;
    for (int32_t i = 0; i < 3; ++i) {
        const char letter[2] = {letters_[i], '\0'};
        const int32_t x = kLetterX + 20 * i;
        const bool current = choosing && i == position_;
        drawTextCentredBold(letter, x, kLetterY, current ? greyOf(pulse_) : kWhite, surface, 512);
        addPointerTarget(i + 1, x - 10, kLetterY - 12, x + 10, kLetterY + 14);
        if (current) drawLine(x - 5, kLetterY + 10, x + 6, kLetterY + 10, kWhite, surface);
    }
    drawTextCentred("JOYSTICK: LETTERS   START: DONE", 160, 128, kHint, surface, 256);
}
