#pragma once
// The root of every actor in the maze: the player, the monsters, the shots, the disks, eggs and
// grenades. It holds what they all share and the common mechanics: a step along the maze with
// wrap-round, the alignment test turns depend on, touching through the world's cell index,
// damage, death with the disk drop, disk pickup, and the default drawing with the ring of
// carried disks.
//
// Positions are in 1/8 pixel: pixel = position >> 3, tile = position >> 6. The position is the
// top-left corner of the 8 x 8 box. Directions: 0 left, 1 up, 2 right, 3 down.

#include <cstdint>

#include "render/Image.h"
#include "state/KindNames.h"

// Kind numbers: 0..15 are the monster classes (also the level file's monster types).
enum EKind : int32_t {
    kKindChicken = 0,
    kKindZombie = 1,
    kKindSoldier = 2,
    kKindLemonShark = 3,
    kKindScorp = 4,
    kKindBeav = 5,
    kKindWizard = 6,
    kKindGrim = 7,
    kKindRocketeer = 8,
    kKindBerzerker = 9,
    kKindBiter = 10,
    kKindGrenadeer = 11,
    kKindLBug = 12,
    kKindEye = 13,
    kKindJoust = 14,
    kKindGhost = 15,
    kKindBullet = 16,
    kKindSpitBullet = 17,
    kKindTeleBullet = 18,
    kKindRocket = 19,
    kKindGrenade = 20,
    kKindPlayer = 21,
    kKindDummy = 22,
    kKindDisk = 23,
    kKindEgg = 24,
};
static_assert(kKindCount == kKindEgg + 1, "a name for every kind");

class CGameObject {
public:
    // What the actor base needs of the actors above it (the world knows no concrete actor),
    // wired by the program at start-up (wireGameHooks); a debug build stops at a death without
    // them.
    // Credits a kill's points to player 1 or 2.
    static void (*creditScore)(int32_t player, int32_t points);
    // A new disk, set up and not yet placed.
    static CGameObject* (*newDisk)();

    CGameObject();
    virtual ~CGameObject() = default;
    CGameObject(const CGameObject&) = delete;
    CGameObject& operator=(const CGameObject&) = delete;

    // Called by the creator right after construction, before the actor joins the world.
    virtual void setup() = 0;
    // One frame of behaviour, for live, materialised actors.
    virtual void update() = 0;
    virtual void draw();
    virtual void die(int32_t killer);
    // killedBy of an actor the world's killAll took away: the title's clear-out at the end of
    // its credits, which is staging rather than play.
    static constexpr int32_t kClearedOut = -1;
    // Marks the actor dead, remembering who killed it (a player number, or 0). Every die uses
    // it; so does a zombie's touch, which ends its victim without a death of its own.
    void markDead(int32_t killer) {
        dead = true;
        killedBy = killer;
    }
    // Both sides of a touch are told, the mover first.
    virtual void onTouch(CGameObject& other);
    virtual void takeDamage(CGameObject& hitter);
    // What collecting this actor gives the collector besides a hit point and a carried disk:
    // a disk's power-up.
    virtual void giveTo(CGameObject& /*collector*/) {}
    // The world found the actor dead. True when it lives on: a player with a life left is back
    // at its start.
    virtual bool loseLife() { return false; }

    // --- movement
    bool move();
    bool isAligned() const { return (x & 0x38) == 0 && (y & 0x38) == 0; }
    void wrapPosition();
    bool needsReindex() const;
    void tileAhead(int32_t direction, int32_t& outX, int32_t& outY) const;

    // --- touching
    CGameObject* touchCheck();
    // After a step of the player or a monster: once it reaches a new pixel, whatever it touches
    // blocks it (back where it was); else it is filed where it now is when its tiles changed.
    void settleStep();
    // A shelled bug's shell covers its back and sides: a shot, bite or touch hurts it only when
    // the two face each other.
    bool shellSpares(const CGameObject& victim) const {
        return victim.kind == kKindLBug && dir != ((victim.dir + 2) & 3);
    }

    // --- looks
    // One picture per direction, frame 0: bank images first .. first + 3 for left, up, right,
    // down.
    void loadDirectionImages(int32_t first);

    // --- disks
    void collectDisk(CGameObject& disk);
    void dropDisks();
    void updateDiskSpacing() { diskSpacing = disks < 2 ? 0 : static_cast<int32_t>(32 / disks); }

    int32_t kind = 0;            // EKind
    bool dead = false;           // set by die; the world removes dead actors
    int32_t scoreValue = 0;      // points credited to the killer
    int32_t frozenTimer = 0;     // frames of doing nothing but counting timers down
    int32_t dir = 0;             // 0 left, 1 up, 2 right, 3 down
    int32_t x = 0;               // position in 1/8 pixel
    int32_t y = 0;               //
    int32_t prevX = 0;           // position at the start of the step; filed under this
    int32_t prevY = 0;           //
    int32_t animFrame = 0;       // 0..2
    int32_t hitPoints = 0;       // the actor dies when damage brings it below 1
    uint32_t disks = 0;          // disks carried
    int32_t speed = 0;           // movement per frame in 1/8 pixel
    int32_t fastSpeed = 0;       // speed granted by a speed disk
    int32_t fireCooldown = 60;   // frames until the actor may fire again
    int32_t fireDelay = 60;      // fireCooldown after a shot
    int32_t fastFireDelay = 60;  // fireDelay granted by a rapid-fire disk
    int32_t deathSound = -1;     // sample played where the actor dies; -1 none
    int32_t damage = 0;          // hit points this actor takes from what it hits
    int32_t owner = 0;           // player credited with a kill by this actor; 0 nobody
    int32_t shieldTimer = 0;     // frames of invulnerability; the sprite blinks
    uint16_t burstColours[4]{};  // particle colours when hit, dying or materialising
    bool spawning = true;        // waiting to materialise: not updated, drawn or touched
    int32_t appearDelay = 0;     // frames after materialising before it shows and is filed
    const SImage* images[12]{};  // by dir * 3 + animFrame
    int32_t diskSpacing = 0;     // ring phase between two carried disks
    int32_t diskPhase = 0;       // ring animation counter 0..63
    int32_t killedBy = 0;        // the killer given to die, for the report; or kClearedOut
    int32_t filedCells = 0;      // cells of the world's index that hold the actor

protected:
    // The materialising pattern every actor's update starts with: counts appearDelay down and,
    // when it runs out with nothing overlapping, files the actor in the cells (else it tries
    // again next frame). True when the actor is present and its update goes on.
    bool appear();
    // Called once, at the moment the actor is filed.
    virtual void onAppeared() {}

public:
    // Identity: actors are ordered by creation in the world's cells, so that every run visits
    // them in the same order whatever addresses the heap hands out.
    const uint32_t serial;
};

// Orders actors by identity.
struct SSerialLess {
    bool operator()(const CGameObject* a, const CGameObject* b) const {
        return a->serial < b->serial;
    }
};
