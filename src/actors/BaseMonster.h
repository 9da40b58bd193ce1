#pragma once
// What every monster shares: the step (its own decision first, else wandering the corridors with
// now and then a turn at a tile corner, turning aside or back when blocked), what a touch does to
// it (shots, spit, teleports, disks, a bite at an enemy, turning away from a friend), and a look
// along the maze in a straight line. A monster class is this plus its numbers, its pictures and a
// few small decisions of its own.

#include <cstdint>

#include "world/GameObject.h"

class CLevel;

// The four factions: kinds that never attack each other.
using SFaction = int32_t[4];
constexpr SFaction kFactionA = {kKindChicken, kKindScorp, kKindBeav, kKindLBug};
constexpr SFaction kFactionB = {kKindZombie, kKindGrim, kKindBiter, kKindGhost};
constexpr SFaction kFactionC = {kKindSoldier, kKindRocketeer, kKindGrenadeer, kKindJoust};
constexpr SFaction kFactionD = {kKindLemonShark, kKindWizard, kKindBerzerker, kKindEye};

// The numbers a monster class starts with.
struct SMonsterStats {
    int32_t kind;
    int32_t firstImage;  // bank images for left, up, right, down
    int32_t hitPoints;
    int32_t scoreValue;
    int32_t speed;
    int32_t fastSpeed;
    int32_t fireCooldown;  // before its first shot or bite
    int32_t fireDelay;
    int32_t fastFireDelay;
    int32_t turnChance;
    int32_t damage;
    int32_t startDir;  // -1: the random one it was made with
    uint16_t burstColours[4];
};

class CBaseMonster : public CGameObject {
public:
    static constexpr int32_t kNoDirection = -1;

    CBaseMonster();

    // The monster step; no class changes it.
    void update() final;
    void onTouch(CGameObject& other) override;

    // At a tile corner, turns left or right (at random) if that way is open, else the other
    // side; never straight back. True when it turned.
    virtual bool randomTurn();
    // Whether another actor is a target of this monster.
    virtual bool isEnemy(const CGameObject& other) const = 0;
    // What a touch does to an enemy, when the monster is ready.
    virtual void attack(CGameObject& victim) = 0;
    // The class's own decision before it moves: non-zero when it has chosen its course, which
    // suppresses the random turn of this update.
    virtual int32_t think() { return 0; }
    // The first actor in a straight line from the monster's tile, up to maxTiles tiles away,
    // wrapping at the maze edges: null at the first wall. Only the first actor filed in each
    // tile is looked at; plain, spit and tele shots there are looked through.
    virtual CGameObject* scan(int32_t direction, int32_t maxTiles);

    void reverse();
    bool fireReady() const { return fireCooldown == 0; }
    // The way to another actor: the heading if it lies that way, else the first of left, up,
    // right, down that does; -1 when both stand on the same spot.
    int32_t directionTo(const CGameObject& other) const;
    // The horizontal (0 or 2) and vertical (1 or 3) ways toward the player.
    void axisDirectionsTo(const CGameObject& player, int32_t& h, int32_t& v) const;
    // Own kind, shots, disks and eggs: never attacked.
    bool isFriendly(const CGameObject& other) const;
    // The turn toward the player at a tile corner: a monster already heading for the player on
    // an open way keeps on; otherwise it takes the crossing way toward the player's row (or
    // column), else the crossing way from it. Never straight back: a blocked monster whose turn
    // fails is reversed by the step. True when it turned.
    bool homingTurn();
    // Swallows a victim whole (the ghost's and the grim's way), unless it is shielded: every
    // disk it carried becomes the swallower's, and a hit point with it; it dies with nobody
    // scoring and drops nothing.
    void swallow(CGameObject& victim);

    int32_t turnChance = 10;    // a random turn is tried at 1 / turnChance of the corners
    int32_t turnCooldown = 10;  // updates without random turns, after any turn
    CLevel* level;              // the maze

protected:
    void applyStats(const SMonsterStats& stats);
    // isEnemy for a monster of a faction: anything but friends and its faction's other kinds.
    bool isEnemyOutside(const CGameObject& other, const SFaction& faction) const;
    // The direction of look 0 (ahead), 1 (behind), 2 (right-hand) or 3 (left-hand).
    int32_t lookDirection(int32_t look) const;

    // What a think saw: the look (0..3) and its direction, and the actor; none: look -1.
    struct SSighting {
        int32_t look = -1;
        int32_t direction = kNoDirection;
        CGameObject* seen = nullptr;
    };
    // The looks of a think in their order, over the given lengths in tiles: ahead, behind and,
    // only at a tile corner, right-hand and left-hand. The first look whose actor `reacts`
    // accepts (reacts(actor, direction)) decides; the later ones are not made.
    template <class F>
    SSighting lookAround(const int32_t (&lengths)[4], F reacts) {
        for (int32_t look = 0; look < 4; ++look) {
            if (look == 2 && !isAligned()) break;
            const int32_t direction = lookDirection(look);
            CGameObject* seen = scan(direction, lengths[look]);
            if (seen && reacts(*seen, direction)) return {look, direction, seen};
        }
        return {};
    }
    // The look most monsters take: for enemies only.
    SSighting lookForEnemies(const int32_t (&lengths)[4]) {
        return lookAround(lengths, [this](const CGameObject& m, int32_t) { return isEnemy(m); });
    }
};
