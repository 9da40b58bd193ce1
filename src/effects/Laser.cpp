#include "effects/Laser.h"

#include "render/Draw.h"
#include "state/GameReport.h"

CLaser::CLaser(uint16_t beamColour) : colour(beamColour) {
    CGameReport::instance().effectStarted(EEffectClass::kLaser);
}

void CLaser::update() {
    if (lifetime > 0)
        --lifetime;
    else
        done = true;
}

void CLaser::draw(uint16_t* surface) {
    // A beam two pixels high is horizontal, whatever its width.
    if (height == 2) {
        drawLine(x, y, x + width, y, colour, surface);
        drawLine(x, y + 1, x + width, y + 1, colour, surface);
    } else {
        drawLine(x, y, x, y + height, colour, surface);
        drawLine(x + 1, y, x + 1, y + height, colour, surface);
    }
}
