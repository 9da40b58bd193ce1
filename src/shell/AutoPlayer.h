#pragma once
// A player for demos and soak runs: it leaves the title screen, walks the shortest way to the
// nearest disk, fires at monsters in line with it, now and then pauses the game and resumes,
// waits at LEVEL COMPLETE and starts a new game after GAME OVER. It decides from what the game
// shows and draws from a generator of its own, so the game's own random numbers go exactly as
// they would under a person's hands.

#include <cstdint>

#include "platform/Buttons.h"

class CAutoPlayer {
public:
    explicit CAutoPlayer(uint32_t seed);

    // The buttons for the next poll.
    ButtonMask next();

private:
    // The way (0..3) to the next tile of the shortest path from a tile to a disk; -1 if none.
    int32_t wayToDisk(int32_t tileX, int32_t tileY) const;
    // Whether a monster stands in line along `dir` from the tile, with no wall between.
    bool monsterInLine(int32_t tileX, int32_t tileY, int32_t dir) const;
    uint32_t random();
    ButtonMask play();
    // Presses then releases START, `times` times, a few polls each.
    void queueStartPresses(int times);

    uint32_t state_;
    ButtonMask queue_[32] = {};  // polls of a button sequence under way
    int queued_ = 0;
    int queueAt_ = 0;
    uint32_t polls_ = 0;
    uint32_t nextPause_ = 0;  // poll at which to open the pause menu
    int32_t heading_ = -1;    // the way being held
};

#include "platform/Backend.h"

// A backend that plays by itself: every poll the automatic player's buttons are added to those
// of the backend it wraps (a person can still take part); everything else goes straight through.
class CAutoplayBackend : public CBackend {
public:
    CAutoplayBackend(CBackend& inner, uint32_t seed) : inner_(inner), player_(seed) {}

    uint32_t counter() override { return inner_.counter(); }
    void idleUntil(uint32_t start, uint32_t ticks) override { inner_.idleUntil(start, ticks); }
    void show(const uint16_t* picture) override { inner_.show(picture); }
    ButtonMask pollButtons() override { return inner_.pollButtons() | player_.next(); }
    void pauseBetweenPolls() override { inner_.pauseBetweenPolls(); }
    bool quitRequested() override { return inner_.quitRequested(); }
    bool audioOpen() override { return inner_.audioOpen(); }
    int audioWrite(const void* data, int bytes) override { return inner_.audioWrite(data, bytes); }
    void audioClose() override { inner_.audioClose(); }
    void handBack(int status) override { inner_.handBack(status); }

private:
    CBackend& inner_;
    CAutoPlayer player_;
};
