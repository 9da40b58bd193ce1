#include "world/World.h"

#include <cstdlib>

#include "effects/EffectManager.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "state/Random.h"
#include "world/Level.h"

namespace {

CWorld* gInstance = nullptr;

int wrapColumn(int32_t c) {
    return ((c % CWorld::kColumns) + CWorld::kColumns) % CWorld::kColumns;
}
int wrapRow(int32_t r) {
    return ((r % CWorld::kRows) + CWorld::kRows) % CWorld::kRows;
}

// The tiles an 8 x 8 box at (x, y) touches: one or two columns by one or two rows, column outer.
struct SCover {
    int columns[2];
    int rows[2];
    int columnCount;
    int rowCount;
};

SCover cover(int32_t x, int32_t y) {
    SCover c;
    c.columns[0] = wrapColumn(x >> 6);
    c.columns[1] = wrapColumn((x >> 6) + 1);
    c.columnCount = (x & 0x38) != 0 ? 2 : 1;
    c.rows[0] = wrapRow(y >> 6);
    c.rows[1] = wrapRow((y >> 6) + 1);
    c.rowCount = (y & 0x38) != 0 ? 2 : 1;
    return c;
}

bool overlaps(const CGameObject& a, const CGameObject& b) {
    return std::abs((a.x >> 3) - (b.x >> 3)) <= 7 && std::abs((a.y >> 3) - (b.y >> 3)) <= 7;
}

// Kinds the world does not count as monsters: shots, the player, disks and eggs.
bool isCounted(int32_t kind) {
    switch (kind) {
        case kKindBullet:
        case kKindSpitBullet:
        case kKindTeleBullet:
        case kKindRocket:
        case kKindPlayer:
        case kKindDisk:
        case kKindEgg:
            return false;
        default:
            return true;
    }
}

// The player belongs to its slot, never to whoever fails to place it.
void discard(CGameObject* actor) {
    if (actor->kind != kKindPlayer) delete actor;
}

}  // namespace

CWorld& CWorld::instance() {
    if (!gInstance) gInstance = new CWorld;
    return *gInstance;
}

void CWorld::resetInstance() {
    if (gInstance) gInstance->clear(true);
    delete gInstance;
    gInstance = nullptr;
}

void CWorld::add(CGameObject* actor) {
    // The player joins at every level start; it is counted as created once, with its slot.
    if (actor->kind != kKindPlayer) CGameReport::instance().actorCreated(actor->kind);
    objects.push_back(actor);
}

bool CWorld::addNear(int32_t tileX, int32_t tileY, int32_t radius, CGameObject* actor) {
    const CLevel& level = CLevel::instance();
    int attempts = 0;
    for (int32_t r = radius; attempts < kPlacementAttempts; r += 2) {
        for (int k = 0; k < 4 && attempts < kPlacementAttempts; ++k, ++attempts) {
            // The two draws in this order, x first, as every replay expects.
            const int32_t dx = gameRand() % (2 * r) - r;
            const int32_t dy = gameRand() % (2 * r) - r;
            actor->x = actor->prevX = (tileX + dx) * 64;
            actor->y = actor->prevY = (tileY + dy) * 64;
            actor->wrapPosition();
            const int32_t tx = actor->x >> 6, ty = actor->y >> 6;
            // A place off the 40 x 29 tiles (a wide search wraps only once; pixel column 320
            // and row 232 are not reachable) is not free.
            if (tx < 0 || tx >= kColumns || ty < 0 || ty >= kRows) continue;
            if (!findOverlapAnywhere(*actor) && level.isFree(tx, ty)) {
                add(actor);
                return true;
            }
        }
    }
    discard(actor);
    return false;
}

bool CWorld::addAtSpawnPoint(CGameObject* actor, bool addIt) {
    const CLevel& level = CLevel::instance();
    const int32_t oldX = actor->x, oldY = actor->y, oldPrevX = actor->prevX,
                  oldPrevY = actor->prevY;
    for (int attempt = 0; attempt < kPlacementAttempts; ++attempt) {
        int32_t tx = 0, ty = 0;
        level.randomFreeTile(tx, ty);
        actor->x = actor->prevX = tx * 64;
        actor->y = actor->prevY = ty * 64;
        if (!findOverlap(*actor)) {
            if (addIt) add(actor);
            return true;
        }
    }
    if (addIt) {
        discard(actor);
    } else {
        actor->x = oldX;
        actor->y = oldY;
        actor->prevX = oldPrevX;
        actor->prevY = oldPrevY;
    }
    return false;
}

void CWorld::update() {
    CGameReport& report = CGameReport::instance();
    report.worldUpdated();
    monstersAlive = 0;
    auto it = objects.begin();
    while (it != objects.end()) {
        CGameObject* actor = *it;
        if (actor->spawning) {
            if (!findOverlap(*actor)) {
                actor->spawning = false;
                CEffectManager::instance().spawnParticles((actor->x >> 3) + 4, (actor->y >> 3) + 4,
                                                          2, true, actor->burstColours);
                CSoundManager::instance().playSampleAt(13, actor->x >> 6, actor->y >> 6, 0);
                actor->appearDelay = 120;
            }
            ++it;
            continue;
        }
        if (!actor->dead) {
            actor->update();
            if (isCounted(actor->kind)) ++monstersAlive;
        }
        if (!actor->dead) {
            ++it;
            continue;
        }
        // A player the title's clear-out takes away lost no life in play and ended no game.
        const bool inPlay = actor->killedBy != CGameObject::kClearedOut;
        if (actor->kind == kKindPlayer) {
            if (inPlay) report.actorKilled(actor->kind, actor->killedBy);
            if (actor->loseLife()) {
                ++it;
            } else {
                // Out of the world but not deleted: the player's slot owns it.
                it = objects.erase(it);
                CGameState::instance().gameOver = true;
                if (inPlay) report.gameEnded();
            }
        } else {
            report.actorKilled(actor->kind, actor->killedBy);
            // die() has taken it out of the cells where it stood; an actor moved without its
            // filing may be left elsewhere, and no cell may keep a pointer to it.
            eraseEverywhere(actor);
            it = objects.erase(it);
            delete actor;
        }
    }
}

void CWorld::draw() {
    for (CGameObject* actor : objects) actor->draw();
}

CGameObject* CWorld::findOverlap(const CGameObject& actor) const {
    const SCover c = cover(actor.x, actor.y);
    for (int i = 0; i < c.columnCount; ++i)
        for (int j = 0; j < c.rowCount; ++j)
            for (CGameObject* other : cells[c.columns[i]][c.rows[j]])
                if (other != &actor && !other->dead && !other->spawning && overlaps(actor, *other))
                    return other;
    return nullptr;
}

CGameObject* CWorld::findOverlapAnywhere(const CGameObject& actor) const {
    for (CGameObject* other : objects)
        if (other != &actor && !other->dead && overlaps(actor, *other)) return other;
    return nullptr;
}

CGameObject* CWorld::firstInCell(int32_t tileX, int32_t tileY) const {
    return cells[wrapColumn(tileX)][wrapRow(tileY)].front();
}

int32_t CWorld::collectInCell(int32_t tileX, int32_t tileY, CActorSet& set, bool clearFirst) const {
    if (clearFirst) set.clear();
    for (CGameObject* actor : cells[wrapColumn(tileX)][wrapRow(tileY)])
        if (!actor->dead) set.insert(actor);
    return static_cast<int32_t>(set.size());
}

int32_t CWorld::collectInSquare(int32_t tileX, int32_t tileY, int32_t radius, CActorSet& set,
                                bool clearFirst) const {
    if (clearFirst) set.clear();
    const int32_t x0 = tileX - radius < 0 ? 0 : tileX - radius;
    const int32_t x1 = tileX + radius > kColumns - 1 ? kColumns - 1 : tileX + radius;
    const int32_t y0 = tileY - radius < 0 ? 0 : tileY - radius;
    const int32_t y1 = tileY + radius > kRows - 1 ? kRows - 1 : tileY + radius;
    for (int32_t c = x0; c <= x1; ++c)
        for (int32_t r = y0; r <= y1; ++r) collectInCell(c, r, set, false);
    return static_cast<int32_t>(set.size());
}

void CWorld::fileInCells(CGameObject* actor, int32_t x, int32_t y, bool remove) {
    const SCover c = cover(x, y);
    for (int i = 0; i < c.columnCount; ++i)
        for (int j = 0; j < c.rowCount; ++j) {
            CActorSet& cell = cells[c.columns[i]][c.rows[j]];
            if (remove)
                actor->filedCells -= cell.erase(actor) ? 1 : 0;
            else
                actor->filedCells += cell.insert(actor) ? 1 : 0;
        }
}

void CWorld::eraseEverywhere(CGameObject* actor) {
    // Each actor knows in how many cells it is filed: usually none are left to look for.
    for (int c = 0; c < kColumns && actor->filedCells > 0; ++c)
        for (int r = 0; r < kRows && actor->filedCells > 0; ++r)
            actor->filedCells -= cells[c][r].erase(actor) ? 1 : 0;
}

int32_t CWorld::countOwnedBy(int32_t player) const {
    int32_t count = 0;
    for (const CGameObject* actor : objects)
        if (!actor->dead && actor->owner == player) ++count;
    return count;
}

void CWorld::disown(int32_t player) {
    for (CGameObject* actor : objects)
        if (actor->owner == player) actor->owner = 0;
}

void CWorld::killAll(bool keepDisks) {
    for (CGameObject* actor : objects) {
        // One blast of the sweep may already have killed what comes later: a rocket or an egg
        // explodes once.
        if (actor->dead) continue;
        if (!keepDisks) actor->disks = 0;
        actor->die(0);
        actor->killedBy = CGameObject::kClearedOut;
    }
}

void CWorld::clear(bool includePlayer) {
    for (CGameObject* actor : objects)
        if (includePlayer || actor->kind != kKindPlayer)
            delete actor;
        else
            actor->filedCells = 0;  // the cells are emptied below
    objects.clear();
    for (auto& column : cells)
        for (CActorSet& cell : column) cell.clear();
}
