#pragma once
// The grenadier's grenade: it flies for exactly 120 frames in a straight line toward its target
// point, over walls and actors alike, drawn as a turning line drawing that grows and shrinks with
// the height of its arc, and explodes where it lands, 1 point for everything in the 5 x 5 tiles
// around. It is never filed in the cells: nothing can touch, hit, see or block it.

#include <cstdint>

#include "world/GameObject.h"

class CGrenade : public CGameObject {
public:
    static constexpr int kFlightFrames = 120;
    static constexpr int kShapePoints = 20;

    // Thrown from (x0, y0) toward (x1, y1), all in 1/8 pixel.
    CGrenade(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

    // Computes the drawing of every frame of the flight, once at start-up, so that a flying
    // grenade costs only integer multiplications and shifts.
    static void buildGrenadeTable();

    void setup() override {}  // no images: it is drawn with lines
    void update() override;
    void draw() override;
    // The landing; a grenade never scores.
    void die(int32_t killer) override;

    // Size of the drawing along the flight, in 1/256: the height of the arc.
    static int32_t grenadeScale[kFlightFrames];
    // The shape's points turned 2 degrees a frame, in 8.8 fixed point around its centre.
    static int16_t grenadeTable[kFlightFrames][kShapePoints][2];

    int32_t velX = 0;        // movement per frame in 1/8 pixel
    int32_t velY = 0;        //
    int32_t flightTime = 0;  // frames flown, 0..120
};
