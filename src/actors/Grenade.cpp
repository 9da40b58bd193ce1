#include "actors/Grenade.h"

#include <cmath>

#include "actors/Explosion.h"
#include "render/Draw.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"

namespace {

constexpr int32_t kBlastDamage = 1;
constexpr int32_t kBangSound = 17;
constexpr uint16_t kRingColour = 0xF800;
constexpr uint16_t kColours[4] = {0x8000, 0xF800, 0x83E0, 0xFFE0};

// The grenade as a 12 x 16 line drawing whose centre is (6, 8), in pixels.
constexpr int8_t kShape[CGrenade::kShapePoints][2] = {
    {3, 0},  {6, 0},  {7, 1},  {7, 3}, {2, 3}, {2, 1},  {11, 3}, {11, 9}, {9, 5}, {9, 13},
    {7, 15}, {2, 15}, {0, 13}, {0, 5}, {2, 6}, {2, 12}, {4, 5},  {4, 13}, {6, 6}, {6, 12}};
constexpr int32_t kShapeCentreX = 6;
constexpr int32_t kShapeCentreY = 8;

struct SEdge {
    uint8_t from, to;
    uint16_t colour;
};

// The cap, the pin's ring, the body and its three ridges.
constexpr uint16_t kCap = 0xCE59, kRing = 0xFFFF, kBody = 0x14C6, kRidge = 0x03E0;
constexpr SEdge kEdges[] = {{4, 5, kCap},     {5, 0, kCap},    {0, 1, kCap},    {1, 2, kCap},
                            {2, 3, kCap},     {2, 6, kRing},   {6, 7, kRing},   {3, 4, kBody},
                            {4, 13, kBody},   {13, 12, kBody}, {12, 11, kBody}, {11, 10, kBody},
                            {10, 9, kBody},   {9, 8, kBody},   {8, 3, kBody},   {14, 15, kRidge},
                            {16, 17, kRidge}, {18, 19, kRidge}};

// The handheld's own value of pi, so that the drawing comes out exactly the same.

}  // namespace

int32_t CGrenade::grenadeScale[kFlightFrames];
int16_t CGrenade::grenadeTable[kFlightFrames][kShapePoints][2];

void CGrenade::buildGrenadeTable() {
    for (int i = 0; i < kFlightFrames; ++i) {
        grenadeScale[i] = static_cast<int32_t>(std::trunc(turnSine(i * kHandheldPi / 120) * 256.0));
        const double theta = i * kHandheldPi / 90;  // 2 degrees a frame
        const double c = turnCosine(theta), s = turnSine(theta);
        for (int k = 0; k < kShapePoints; ++k)
            turnPoint(kShape[k][0] - kShapeCentreX, kShape[k][1] - kShapeCentreY, c, s,
                      grenadeTable[i][k]);
    }
}

CGrenade::CGrenade(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    kind = kKindGrenade;
    velX = (x1 - x0) / kFlightFrames;
    velY = (y1 - y0) / kFlightFrames;
    x = x0;
    y = y0;
    wrapPosition();
    prevX = x;
    prevY = y;
    for (int i = 0; i < 4; ++i) burstColours[i] = kColours[i];
    damage = kBlastDamage;
    spawning = false;
    flightTime = 0;
}

void CGrenade::update() {
    // Over walls and actors, without wrapping: the flight is short and ends where it was aimed.
    ++flightTime;
    x += velX;
    y += velY;
    if (flightTime == kFlightFrames) die(0);
}

void CGrenade::draw() {
    if (flightTime >= kFlightFrames) return;  // landed: nothing left to draw
    const int32_t s = grenadeScale[flightTime];
    const int16_t(*p)[2] = grenadeTable[flightTime];
    const int32_t px = x >> 3, py = y >> 3;
    uint16_t* surface = CScreen::instance().surface();
    for (const SEdge& e : kEdges)
        drawLineAA(px + ((p[e.from][0] * s) >> 16), py + ((p[e.from][1] * s) >> 16),
                   px + ((p[e.to][0] * s) >> 16), py + ((p[e.to][1] * s) >> 16), e.colour, surface);
}

void CGrenade::die(int32_t killer) {
    markDead(killer);
    CSoundManager::instance().playSampleAt(kBangSound, x >> 6, y >> 6, 1);
    explode(*this, 0, kRingColour);  // a grenade never scores
}
