#pragma once
// The actor the user steers. Reached through numbered slots rather than made by the level; steers
// by the stick instead of by AI; keeps the score and the lives; and is never deleted by the world
// when it dies: it loses a life and is reset. It also shows the locator, two turning, pulsing
// arrows around it after it materialises, after a teleport and while X is held.

#include <cstdint>

#include "world/GameObject.h"

class CPlayer : public CGameObject {
public:
    static constexpr int32_t kNoDirection = -1;

    // Player 1 or 2 (the game only uses 1); any other number gives null. An empty slot is filled
    // with a new player.
    static CPlayer* instance(int number);
    // Empties both slots so that the next request builds a fresh player. A player the world has
    // let go of at game over is deleted here; one still in the world belongs to the world.
    static void forgetAll();
    // The locator's rotated arrow, built once at start-up.
    static void buildLocatorTable();
    // Slots emptied, locator pulse and update count back to their start (tests only).
    static void resetStatics();

    CPlayer();
    ~CPlayer() override;

    void setup() override;
    void update() override;

    void reset(bool newLife);
    // One life less; with one left, back at the start.
    bool loseLife() override;
    void addScore(int32_t points);
    void hideLocator() { locatorTimer = 0; }
    void drawLocator();
    void drawScorePanel();

    // --- steering
    void steer();
    bool canStep(int32_t d) const;
    void step(int32_t d);
    void cornerSlide();

    void onTouch(CGameObject& other) override;
    // A hit the player survives is felt (platformFeel), as is a life lost.
    void takeDamage(CGameObject& hitter) override;

    // --- the locator's shape and its pulse, shared by both players
    static constexpr int kLocatorAngles = 60;
    static constexpr int kLocatorPoints = 7;
    static int16_t locatorTable[kLocatorAngles][kLocatorPoints][2];  // 8.8 fixed point
    static int32_t locatorScale;       // arrow size in 1/256, pulsing 128..256
    static int32_t locatorScaleStep;   //
    static int32_t playerUpdateCount;  // calls of update; its parity times the turning

    int32_t lives = 3;
    int32_t score = 0;
    int32_t locatorAngle = 0;  // 0..59, six degrees a step
    int32_t locatorTimer = 0;  // frames the locator still shows
    int32_t playerNumber = 1;  // owner of the player's shots

protected:
    void onAppeared() override;

private:
    void fire();
    void drawArrow(int32_t angle, uint16_t colour);
};
