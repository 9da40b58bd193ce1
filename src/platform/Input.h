#pragma once
// The fourteen button levels, refreshed by one poll per main-loop iteration. Only the level is
// kept (down at this poll or not); callers that need a press or a release build it themselves.

#include <cstdint>

class CInput {
public:
    static CInput& instance();
    static void resetInstance();

    void poll();
    int readButton(int bit) const;

    uint8_t up = 0;
    uint8_t down = 0;
    uint8_t left = 0;
    uint8_t right = 0;
    uint8_t select = 0;
    uint8_t start = 0;
    uint8_t buttonA = 0;
    uint8_t buttonX = 0;
    uint8_t upLeft = 0;
    uint8_t upRight = 0;
    uint8_t downLeft = 0;
    uint8_t downRight = 0;
    uint8_t volumeUpKey = 0;
    uint8_t volumeDownKey = 0;
};
