#pragma once
// What a host must provide for the game to run: a 32-bit counter, a way to idle until it has
// advanced, somewhere to show a picture, the buttons, and an audio queue.

#include <cstdint>

#include "platform/Buttons.h"
#include "platform/Feel.h"

class CBackend {
public:
    // Frames the sound queue holds before it refuses more, as on the handheld's device: 46 ms at
    // 22,050 Hz.
    static constexpr uint32_t kAudioQueueFrames = 1024;

    virtual ~CBackend() = default;

    // The free-running counter at kTimerHz, wrapping at 2^32.
    virtual uint32_t counter() = 0;
    // The game is about to spin until counter() - start >= ticks. A real clock sleeps through
    // most of it; a virtual clock jumps there.
    virtual void idleUntil(uint32_t start, uint32_t ticks) = 0;

    // Shows a finished 320 x 240 RGB565 picture.
    virtual void show(const uint16_t* picture) = 0;

    // Refreshes and returns the button levels (once per poll of the game).
    virtual ButtonMask pollButtons() = 0;
    // Between two polls of a wait that only polls: a real clock sleeps a moment.
    virtual void pauseBetweenPolls() = 0;
    // The user asked to leave (window closed, SIGINT, SIGTERM).
    virtual bool quitRequested() = 0;

    virtual bool audioOpen() = 0;
    // Queues at most what fits under the device's cap and returns the bytes taken.
    virtual int audioWrite(const void* data, int bytes) = 0;
    virtual void audioClose() = 0;

    // Something the player feels: a machine that can shake does (a phone's vibration).
    virtual void feel(EFeel /*what*/) {}

    // The program ends with this status, its exit sequence done. A desktop gets its status
    // back from the process; a host that outlives the program (a browser tab) shows the end.
    virtual void handBack(int /*status*/) {}
};
