#pragma once
// No window and no sound card. The counter is virtual: it stands still while the game works and
// jumps ahead by exactly what the game waits for, so a run goes as fast as the CPU allows and
// shows the same pictures every time. The audio device drains at 22,050 frames per virtual
// second behind the same cap as the real one.

#include <cstdint>
#include <functional>

#include "platform/Backend.h"
#include "platform/Platform.h"

class CHeadlessBackend : public CBackend {
public:
    // Virtual time a poll of the buttons takes: 0.1 ms.
    static constexpr uint32_t kPollTicks = kTicksPerUnit;

    explicit CHeadlessBackend(uint32_t startCounter = 0) : clock_(startCounter) {}

    uint32_t counter() override { return static_cast<uint32_t>(clock_); }
    void idleUntil(uint32_t start, uint32_t ticks) override;
    void show(const uint16_t*) override { ++shown_; }
    ButtonMask pollButtons() override;
    // The poll itself moves the clock on; nothing to rest from.
    void pauseBetweenPolls() override {}
    bool quitRequested() override { return false; }
    bool audioOpen() override;
    int audioWrite(const void* data, int bytes) override;
    void audioClose() override { audioIsOpen_ = false; }

    // Where the buttons come from: a function of the number of pictures shown so far (an input
    // script), or a fixed mask set by a test.
    void setButtonSource(std::function<ButtonMask(uint32_t picturesShown)> source);
    void setButtons(ButtonMask mask) { buttons_ = mask; }
    // A device that cannot be opened, or one that takes everything (--mute).
    void setAudioMissing(bool missing) { audioMissing_ = missing; }
    void setAudioUnlimited(bool unlimited) { audioUnlimited_ = unlimited; }

    void advance(uint32_t ticks) { clock_ += ticks; }
    uint32_t shownCount() const { return shown_; }
    // Frames written to the device and not yet played at the current counter.
    uint32_t audioQueuedFrames();

private:
    uint64_t clock_;  // never wraps; the counter is its low 32 bits
    uint32_t shown_ = 0;
    ButtonMask buttons_ = 0;
    std::function<ButtonMask(uint32_t)> buttonSource_;
    bool audioMissing_ = false;
    bool audioUnlimited_ = false;
    bool audioIsOpen_ = false;
    uint64_t audioStart_ = 0;    // clock when the device opened
    uint64_t audioWritten_ = 0;  // frames accepted since then

    uint64_t audioPlayed() const { return (clock_ - audioStart_) * 22050 / kTimerHz; }
};
