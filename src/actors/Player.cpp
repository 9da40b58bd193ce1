#include "actors/Player.h"

#include <cmath>

#include "actors/BaseBullet.h"
#include "actors/BaseSpar.h"
#include "actors/SpitBullet.h"
#include "platform/Input.h"
#include "platform/Platform.h"
#include "render/Draw.h"
#include "render/ScorePanel.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

CPlayer* gSlot[3] = {};

// Units per frame of the player's shot.
constexpr int32_t kShotSpeed = 14;

constexpr uint16_t kSpawnColours[4] = {0xFBE7, 0xF800, 0x7BFF, 0xFFE0};
constexpr uint16_t kHitColour = 0xF800;

// The locator arrow, in pixels from the centre of the player: its tip points at the player.
constexpr int32_t kLocatorShape[CPlayer::kLocatorPoints][2] = {{0, 8},   {8, 20},  {4, 20}, {4, 28},
                                                               {-4, 28}, {-4, 20}, {-8, 20}};

bool isHorizontal(int32_t d) {
    return d == 0 || d == 2;
}

}  // namespace

int16_t CPlayer::locatorTable[kLocatorAngles][kLocatorPoints][2];
int32_t CPlayer::locatorScale = 128;
int32_t CPlayer::locatorScaleStep = 4;
int32_t CPlayer::playerUpdateCount = 0;

CPlayer* CPlayer::instance(int number) {
    if (number != 1 && number != 2) return nullptr;
    if (!gSlot[number]) gSlot[number] = new CPlayer;
    return gSlot[number];
}

void CPlayer::forgetAll() {
    // A player the world still holds is the world's to delete (its clear comes first in a new
    // game); one it has let go of at game over, or never had, is deleted here, exactly once.
    const auto& objects = CWorld::instance().objects;
    for (CPlayer*& slot : gSlot) {
        if (!slot) continue;
        bool inWorld = false;
        for (const CGameObject* actor : objects) inWorld = inWorld || actor == slot;
        CPlayer* player = slot;
        slot = nullptr;
        if (!inWorld) delete player;
    }
}

void CPlayer::resetStatics() {
    for (CPlayer*& slot : gSlot) slot = nullptr;
    locatorScale = 128;
    locatorScaleStep = 4;
    playerUpdateCount = 0;
}

CPlayer::CPlayer() {
    kind = kKindPlayer;
    fastSpeed = 5;
    fastFireDelay = 14;
    score = 0;
    scoreValue = 5000;
    lives = 3;
    deathSound = 11;
    playerNumber = 1;
    setup();
    reset(true);
}

CPlayer::~CPlayer() {
    for (CPlayer*& slot : gSlot)
        if (slot == this) slot = nullptr;
}

void CPlayer::setup() {
    loadDirectionImages(46);
}

void CPlayer::reset(bool newLife) {
    for (int i = 0; i < 4; ++i) burstColours[i] = kSpawnColours[i];
    x = 64;
    y = 64;
    dir = 2;
    if (shieldTimer < 360) shieldTimer = 360;
    locatorTimer = 360;
    if (hitPoints <= 2) hitPoints = 3;
    prevX = x;
    prevY = y;
    fireCooldown = 0;
    disks = 0;
    locatorAngle = 0;
    if (newLife) {
        dead = false;
        fireDelay = 20;
        hitPoints = 3;
        speed = 3;
    }
    spawning = true;
}

void CPlayer::onAppeared() {
    for (uint16_t& c : burstColours) c = kHitColour;
}

void CPlayer::update() {
    ++playerUpdateCount;
    if (locatorTimer != 0) --locatorTimer;
    if (CGameState::instance().frameCounter % 3 == 0 && playerUpdateCount % 2 == 0)
        locatorAngle = (locatorAngle + 1) % kLocatorAngles;

    if (!appear()) return;

    if (fireCooldown != 0) --fireCooldown;
    if (frozenTimer != 0) {
        --frozenTimer;
        return;
    }
    if (shieldTimer != 0) --shieldTimer;

    prevX = x;
    prevY = y;
    steer();
    settleStep();

    const CInput& input = CInput::instance();
    if (input.buttonA && fireCooldown == 0) fire();
    if (input.buttonX && locatorTimer < 240) locatorTimer = 240;
}

void CPlayer::fire() {
    int32_t shotX = 0, shotY = 0;
    tileAhead(dir, shotX, shotY);
    CBaseBullet* shot = new CBaseBullet(shotX, shotY, dir, kShotSpeed);
    fireCooldown = fireDelay;
    CSoundManager::instance().playSample(4, 128, 128, 1);
    CGameReport::instance().shotFired(kind);
    // A shot born in a wall has already popped; it is not added.
    if (shot->dead) {
        delete shot;
        return;
    }
    shot->owner = playerNumber;
    shot->setup();
    CWorld::instance().add(shot);
}

void CPlayer::steer() {
    const CInput& in = CInput::instance();
    bool upLeft = in.upLeft, upRight = in.upRight, downLeft = in.downLeft, downRight = in.downRight;
    int32_t primary = kNoDirection, secondary = kNoDirection;

    // Two orthogonal flags make a diagonal; only the first pair found counts.
    bool pair = true;
    if (in.up && in.right)
        upRight = true;
    else if (in.right && in.down)
        downRight = true;
    else if (in.down && in.left)
        downLeft = true;
    else if (in.left && in.up)
        upLeft = true;
    else
        pair = false;
    if (!pair) {
        if (in.right)
            primary = 2;
        else if (in.left)
            primary = 0;
        else if (in.down)
            primary = 3;
        else if (in.up)
            primary = 1;
    }

    // Each held diagonal turns the request into two directions to try, seeing the result of the
    // ones before it. Which comes first depends on the request and on the current heading.
    auto choose = [&](int32_t first, int32_t second) {
        primary = first;
        secondary = second;
    };
    if (upLeft) {
        if (primary == 0)
            choose(0, 1);
        else if (primary == 1)
            choose(1, 0);
        else if (dir == 1)
            choose(0, 1);
        else
            choose(1, 0);
    }
    if (upRight) {
        if (primary == 1)
            choose(1, 2);
        else if (primary == 2)
            choose(2, 1);
        else if (dir == 2)
            choose(1, 2);
        else
            choose(2, 1);
    }
    if (downLeft) {
        if (primary == 3)
            choose(3, 0);
        else if (primary == 0)
            choose(0, 3);
        else if (dir == 0)
            choose(3, 0);
        else
            choose(0, 3);
    }
    if (downRight) {
        if (primary == 3)
            choose(3, 2);
        else if (primary == 2)
            choose(2, 3);
        else if (dir == 3)
            choose(2, 3);
        else
            choose(3, 2);
    }

    if (primary != kNoDirection) {
        if (canStep(primary))
            step(primary);
        else if (secondary != kNoDirection && canStep(secondary))
            step(secondary);
        else if (primary != ((dir + 2) & 3) || secondary != kNoDirection) {
            // Keep running; the wanted turn is taken at the next opening.
            if (canStep(dir))
                step(dir);
            else
                cornerSlide();
        } else {
            cornerSlide();
        }
    }
    wrapPosition();
}

bool CPlayer::canStep(int32_t d) const {
    const CLevel& level = CLevel::instance();
    const int32_t tx = x >> 6, ty = y >> 6;
    if (isHorizontal(d)) {
        if ((x & 0x38) != 0) return true;
        const int32_t c = tx + d - 1;
        if ((y & 0x38) == 0) return level.isFree(c, ty);
        return level.isFree(c, ty) && level.isFree(c, ty + 1);
    }
    if (d == 1 || d == 3) {
        if ((y & 0x38) != 0) return true;
        const int32_t r = ty + d - 2;
        if ((x & 0x38) == 0) return level.isFree(tx, r);
        return level.isFree(tx, r) && level.isFree(tx + 1, r);
    }
    return false;
}

void CPlayer::step(int32_t d) {
    dir = d;
    if (isHorizontal(d))
        x += (d - 1) * speed;
    else
        y += (d - 2) * speed;
}

void CPlayer::cornerSlide() {
    const CLevel& level = CLevel::instance();
    const int32_t tx = x >> 6, ty = y >> 6;
    if (isHorizontal(dir)) {
        if ((y & 0x38) == 0) return;
        if (level.isFree(tx + dir - 1, ty))
            dir = 1;
        else if (level.isFree(tx + dir - 1, ty + 1))
            dir = 3;
    } else {
        if ((x & 0x38) == 0) return;
        if (level.isFree(tx, ty + dir - 2))
            dir = 0;
        else if (level.isFree(tx + 1, ty + dir - 2))
            dir = 2;
    }
}

void CPlayer::onTouch(CGameObject& other) {
    if (other.kind == kKindDisk) collectDisk(static_cast<CBaseSpar&>(other));
    if (shieldTimer != 0) return;
    switch (other.kind) {
        case kKindBullet:
        case kKindRocket:
            takeDamage(other);
            break;
        case kKindSpitBullet:
            takeDamage(other);
            frozenTimer = static_cast<const CSpitBullet&>(other).stunTime;
            break;
        case kKindTeleBullet: {
            CWorld& world = CWorld::instance();
            world.unfile(this);
            shieldTimer = 60;
            for (int i = 0; i < 4; ++i) burstColours[i] = kSpawnColours[i];
            locatorTimer = 360;
            spawning = true;
            world.addAtSpawnPoint(this, false);
            break;
        }
        default:
            break;
    }
}

void CPlayer::takeDamage(CGameObject& hitter) {
    const int32_t before = hitPoints;
    CGameObject::takeDamage(hitter);
    if (!dead && hitPoints < before) platformFeel(EFeel::kHit);
}

bool CPlayer::loseLife() {
    // The title's clear-out takes no life the player could feel.
    if (killedBy != kClearedOut) platformFeel(EFeel::kLifeLost);
    lives -= 1;
    if (lives <= 0) return false;
    reset(true);
    return true;
}

void CPlayer::addScore(int32_t points) {
    const int32_t old = score;
    score = old + points;
    CLevel& level = CLevel::instance();
    // A multiple of 20,000 passed gives a life, once per level and up to nine.
    if ((old + points) % 20000 < old % 20000 && lives <= 8 && !level.extraLifeGiven) {
        lives += 1;
        level.extraLifeGiven = true;
    }
}

void CPlayer::buildLocatorTable() {
    for (int i = 0; i < kLocatorAngles; ++i) {
        const double theta = i * kHandheldPi / 30;
        const double c = turnCosine(theta), s = turnSine(theta);
        for (int k = 0; k < kLocatorPoints; ++k)
            turnPoint(kLocatorShape[k][0], kLocatorShape[k][1], c, s, locatorTable[i][k]);
    }
}

void CPlayer::drawLocator() {
    if (locatorTimer == 0) return;
    const int32_t t = locatorTimer;
    const uint16_t colour = t <= 31 ? static_cast<uint16_t>(t << 11 | t << 6 | t) : 0xFFFF;
    drawArrow(locatorAngle, colour);
    drawArrow((locatorAngle + 30) % kLocatorAngles, colour);
}

void CPlayer::drawArrow(int32_t angle, uint16_t colour) {
    locatorScale += locatorScaleStep;
    if (locatorScale < 129 || locatorScale > 255) locatorScaleStep = -locatorScaleStep;
    const int32_t s = locatorScale;
    const int32_t px = (x >> 3) + 4, py = (y >> 3) + 4;
    uint16_t* surface = CScreen::instance().surface();
    const int16_t(*p)[2] = locatorTable[angle];
    for (int i = 0; i < kLocatorPoints; ++i) {
        const int j = (i + 1) % kLocatorPoints;  // the outline closes back on the tip
        drawLineAA(px + ((p[i][0] * s) >> 16), py + ((p[i][1] * s) >> 16),
                   px + ((p[j][0] * s) >> 16), py + ((p[j][1] * s) >> 16), colour, surface);
    }
}

void CPlayer::drawScorePanel() {
    const CLevel& level = CLevel::instance();
    ::drawScorePanel({score, lives, hitPoints, level.levelNumber + 1, static_cast<int32_t>(disks),
                      level.extraLifeGiven},
                     CScreen::instance().surface());
}
