#pragma once
// Owns every actor in the maze and drives them: once per frame it materialises the waiting ones,
// updates the live ones, counts the monsters and deletes the dead; once per drawn frame it draws
// them. It keeps a spatial index, one actor set per tile, through which all touch and area
// questions are answered.

#include <cstdint>
#include <list>

#include "world/ActorSet.h"
#include "world/GameObject.h"

class CWorld {
public:
    static constexpr int kColumns = 40;
    static constexpr int kRows = 29;
    // Random placements give up after this many tries: only a maze with next to no room left
    // gets there, and an actor that cannot be placed is better lost than the game hung.
    static constexpr int kPlacementAttempts = 10000;

    static CWorld& instance();
    static void resetInstance();

    int32_t monstersAlive = 0;         // monsters counted in the last update
    CActorSet cells[kColumns][kRows];  // actors whose box touches each tile
    std::list<CGameObject*> objects;   // every actor, in the order added; owns them

    // --- adding
    void add(CGameObject* actor);
    // Places an actor at a random free tile around (tileX, tileY), widening the search, then
    // adds it. False when no place was found: the actor is then deleted.
    bool addNear(int32_t tileX, int32_t tileY, int32_t radius, CGameObject* actor);
    // Moves an actor to a random free spawn tile and, with addIt, adds it. False when no place
    // was found: an actor to be added is deleted; one already in the world stays where it was.
    bool addAtSpawnPoint(CGameObject* actor, bool addIt);

    // --- the frame
    void update();
    void draw();

    // --- queries
    // The first other live, materialised actor filed under this one whose pixel position is at
    // most 7 away in both axes (plain coordinates, no wrap).
    CGameObject* findOverlap(const CGameObject& actor) const;
    // The same over the whole list, spawning actors included.
    CGameObject* findOverlapAnywhere(const CGameObject& actor) const;
    CGameObject* firstInCell(int32_t tileX, int32_t tileY) const;
    int32_t collectInCell(int32_t tileX, int32_t tileY, CActorSet& set, bool clearFirst) const;
    // Every live actor of the square of tiles around (tileX, tileY), clipped at the maze edges.
    int32_t collectInSquare(int32_t tileX, int32_t tileY, int32_t radius, CActorSet& set,
                            bool clearFirst) const;

    // --- the cell index
    void fileInCells(CGameObject* actor, int32_t x, int32_t y, bool remove);
    void fileAt(CGameObject* actor, bool remove) { fileInCells(actor, actor->x, actor->y, remove); }
    // Out of the cells under where it is and where it was a moment ago (a death, a teleport).
    void unfile(CGameObject* actor) {
        fileInCells(actor, actor->prevX, actor->prevY, true);
        fileAt(actor, true);
    }
    // Moved: out of the cells where it was, into those where it is.
    void refile(CGameObject* actor) {
        fileInCells(actor, actor->prevX, actor->prevY, true);
        fileAt(actor, false);
    }
    // Takes an actor out of every cell, wherever it was filed.
    void eraseEverywhere(CGameObject* actor);

    // The live actors a player owns: its shots in flight, each of which may still score.
    int32_t countOwnedBy(int32_t player) const;
    // They fly on as they were, but what they hit from now on scores for nobody.
    void disown(int32_t player);

    // --- wholesale
    // Every live actor dies (the disks it carries vanish unless keepDisks): the title's clear-out.
    // Each is marked kClearedOut, so no life is counted lost and no game ended.
    void killAll(bool keepDisks);
    // Deletes every actor but the player (the player too with includePlayer; spared, it is only
    // let go of) and empties the cells.
    void clear(bool includePlayer);

private:
    CWorld() = default;
};
