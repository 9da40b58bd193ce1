#pragma once
// The plain shot of the player and of three monster kinds, and the base of the spit, the
// tele-bullet and the rocket. A shot flies straight along the maze until it meets a wall or an
// actor; what the hit means is decided on the victim's side, by the shot's kind.

#include <cstdint>

#include "world/GameObject.h"

class CBaseBullet : public CGameObject {
public:
    // A plain shot at (x, y) flying in `direction`. One made inside a wall dies at once (its pop
    // is seen and heard) and is dead before anyone adds it.
    CBaseBullet(int32_t x, int32_t y, int32_t direction, int32_t speed);

    void setup() override;
    void update() override;
    // The thin plain shot is drawn through the middle of its 8 x 8 box.
    void draw() override;
    // The pop: a sound, a small burst, gone. The killer does not matter.
    void die(int32_t killer) override;
    void onTouch(CGameObject& other) override;

    // Whether the shot stands in a wall: on a tile corner, its own tile; between tiles, the tiles
    // its box reaches across and along its flight.
    bool isInWall() const;

protected:
    // The special shots: no wall test at birth, and filed in the cells at once so that they
    // can be touched before they first move.
    CBaseBullet(int32_t shotKind, int32_t x, int32_t y, int32_t direction, int32_t speed,
                const uint16_t (&colours)[4]);

private:
    void place(int32_t shotKind, int32_t px, int32_t py, int32_t direction, int32_t shotSpeed,
               const uint16_t (&colours)[4]);
};
