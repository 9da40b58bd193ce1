#include "platform/headless/HeadlessBackend.h"

#include <algorithm>

#include "platform/Platform.h"

void CHeadlessBackend::idleUntil(uint32_t start, uint32_t ticks) {
    // Jump straight to the deadline. If the caller's test is still not met there (its rounding
    // near a counter wrap differs), creep forward so that the wait always ends.
    const uint32_t passed = counter() - start;
    clock_ += passed < ticks ? ticks - passed : 1;
}

ButtonMask CHeadlessBackend::pollButtons() {
    // Reading the buttons takes a moment, so that waits that only poll still let time (and the
    // sound) run on.
    clock_ += kPollTicks;
    if (buttonSource_) buttons_ = buttonSource_(picturesShown());
    return buttons_;
}

void CHeadlessBackend::setButtonSource(std::function<ButtonMask(uint32_t)> source) {
    buttonSource_ = std::move(source);
}

bool CHeadlessBackend::audioOpen() {
    if (audioMissing_) return false;
    audioIsOpen_ = true;
    audioStart_ = clock_;
    audioWritten_ = 0;
    return true;
}

uint32_t CHeadlessBackend::audioQueuedFrames() {
    const uint64_t played = audioPlayed();
    return audioWritten_ > played ? static_cast<uint32_t>(audioWritten_ - played) : 0;
}

int CHeadlessBackend::audioWrite(const void*, int bytes) {
    if (!audioIsOpen_ || bytes <= 0) return 0;
    if (audioUnlimited_) return bytes;
    // Catch up: what the device has played no longer counts against the cap.
    const uint64_t played = audioPlayed();
    if (audioWritten_ < played) audioWritten_ = played;
    const uint64_t queued = audioWritten_ - played;
    const uint32_t room =
        static_cast<uint32_t>(kAudioQueueFrames - std::min<uint64_t>(queued, kAudioQueueFrames));
    const uint32_t frames = std::min<uint32_t>(room, static_cast<uint32_t>(bytes) / 4);
    audioWritten_ += frames;
    return static_cast<int>(frames * 4);
}
