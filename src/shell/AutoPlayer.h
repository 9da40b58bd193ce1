#pragma once
// A player for demos and soak runs: it watches the tutorial a while (now and then resuming it from
// the title's menu), walks the shortest way to the nearest disk, fires at monsters in line with
// it, now and then pauses the game (sometimes looking in on the settings page) and resumes, waits
// at LEVEL COMPLETE, and after GAME OVER picks a start level and starts a new game. It decides
// from what the game shows and draws from a generator of its own, so the game's own random
// numbers go exactly as they would under a person's hands. What it changes in the settings (the
// volumes, the stereo swap) it changes back before it leaves them.

#include <cstdint>

#include "platform/Buttons.h"

class CAutoPlayer {
public:
    explicit CAutoPlayer(uint32_t seed);

    // The buttons for the next poll.
    ButtonMask next();

private:
    // One step of a menu: the settings page when it shows, else the caller's page toward the
    // item to confirm (or toward "SETTINGS" when a look at them is due).
    ButtonMask useMenu(int32_t page, int32_t item);
    ButtonMask useSettings();
    ButtonMask play();
    // The way (0..3) to the next tile of the shortest path from a tile to a disk; -1 if none.
    int32_t wayToDisk(int32_t tileX, int32_t tileY) const;
    // Whether a monster stands in line along `dir` from the tile, with no wall between.
    bool monsterInLine(int32_t tileX, int32_t tileY, int32_t dir) const;
    uint32_t random();
    // Holds `buttons` for `polls` polls, then nothing for as many: a press and its release, as
    // long as the menus need to see each.
    void press(ButtonMask buttons, uint16_t polls = 4);
    // Holds `buttons` for `polls` polls.
    void hold(ButtonMask buttons, uint16_t polls);

    struct SHeld {
        ButtonMask buttons;
        uint16_t polls;
    };
    // A dip of a volume and its way back: down to `low`, then up to `restore`.
    struct SDip {
        int32_t phase = 0;  // 0 none, 1 going down, 2 coming back
        int32_t low = 0;
        int32_t restore = 0;
    };
    // The button that moves a volume along its dip this poll, or 0 once it is over.
    static ButtonMask followDip(SDip& dip, int32_t volume, ButtonMask down, ButtonMask up);
    ButtonMask decide();

    uint32_t state_;
    SHeld queue_[4] = {};  // button holds still to come, in order
    int queued_ = 0;
    int queueAt_ = 0;
    uint32_t polls_ = 0;
    int32_t heading_ = -1;          // the way being held
    int32_t turn_ = -1;             // the way it turns to at the next tile, if it turns
    bool diagonalKey_ = false;      // the turn held as the stick's diagonal, not a second arrow
    int32_t firePolls_ = 0;         // polls left of a burst of fire
    uint32_t nextPause_ = 0;        // poll at which to open the pause menu
    uint32_t nextVolumeDip_ = 0;    // poll at which to turn the sound down a little and back
    uint32_t tutorialFrames_ = 0;   // title frame at which to open its menu
    uint32_t gameOverUntil_ = 0;    // poll until which GAME OVER shows before its menu is used
    bool gameOverSeen_ = false;     // GAME OVER has been noticed and its wait set
    int32_t menuItem_ = 0;          // the item to confirm on the menu's own page
    bool lookAtSettings_ = false;   // on the way, a visit to the settings page
    bool settingsBegun_ = false;    // this visit has decided what to do there
    int32_t swapsLeft_ = 0;         // stereo swaps still to make on this visit
    int32_t startLevelWanted_ = 0;  // the start level to choose at the next NEW GAME
    SDip masterDip_;
    SDip musicDip_;
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
    // Under the controls page the player waits with the game.
    ButtonMask pollButtons() override {
        const ButtonMask live = inner_.pollButtons();
        return live & kControlsOpen ? live : live | player_.next();
    }
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
