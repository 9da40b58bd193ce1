#include "shell/AutoPlayer.h"

#include "actors/Player.h"
#include "world/GameState.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

constexpr ButtonMask kStart = buttonBit(kButtonStart);
constexpr ButtonMask kFire = buttonBit(kButtonA);
constexpr ButtonMask kWay[4] = {buttonBit(kButtonLeft), buttonBit(kButtonUp),
                                buttonBit(kButtonRight), buttonBit(kButtonDown)};
constexpr int32_t kSightTiles = 12;

int32_t wrapColumn(int32_t c) {
    return (c + kMazeColumns) % kMazeColumns;
}
int32_t wrapRow(int32_t r) {
    return (r + kMazeRows) % kMazeRows;
}
int32_t stepX(int32_t x, int32_t dir) {
    return wrapColumn(x + (dir == 0 ? -1 : dir == 2 ? 1 : 0));
}
int32_t stepY(int32_t y, int32_t dir) {
    return wrapRow(y + (dir == 1 ? -1 : dir == 3 ? 1 : 0));
}

}  // namespace

CAutoPlayer::CAutoPlayer(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {
    if (state_ == 0) state_ = 1;
    nextPause_ = 3000 + random() % 6000;
}

uint32_t CAutoPlayer::random() {
    // xorshift32: the game's own generator is left alone.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

void CAutoPlayer::queueStartPresses(int times) {
    queued_ = 0;
    queueAt_ = 0;
    for (int i = 0; i < times && queued_ + 8 <= 32; ++i) {
        for (int k = 0; k < 4; ++k) queue_[queued_++] = kStart;
        for (int k = 0; k < 4; ++k) queue_[queued_++] = 0;
    }
}

ButtonMask CAutoPlayer::next() {
    ++polls_;
    if (queueAt_ < queued_) return queue_[queueAt_++];
    const CGameState& game = CGameState::instance();
    if (game.menuOpen) {
        // The first item resumes (or, on the title, starts a new game): confirm it.
        queueStartPresses(1);
        return 0;
    }
    if (game.tutorial) {
        // Watch the tutorial a little, then open the menu; the next call confirms NEW GAME.
        if (game.frameCounter > 200 + random() % 400) queueStartPresses(1);
        return play();
    }
    if (game.gameOver) {
        // Let GAME OVER show a while, then NEW GAME from its menu.
        if (random() % 200 == 0) queueStartPresses(1);
        return 0;
    }
    const CPlayer* player = CPlayer::instance(1);
    if (player->disks > 4) return kStart;  // LEVEL COMPLETE waits for START
    if (polls_ >= nextPause_) {
        nextPause_ = polls_ + 3000 + random() % 6000;
        queueStartPresses(1);  // pause; the menu is then resumed
        return 0;
    }
    return play();
}

ButtonMask CAutoPlayer::play() {
    const CPlayer* player = CPlayer::instance(1);
    if (player->spawning || player->dead) return 0;
    // The tile the player is in, or on its way into.
    int32_t tx = ((player->x >> 3) + 4) >> 3, ty = ((player->y >> 3) + 4) >> 3;
    tx = wrapColumn(tx);
    ty = wrapRow(ty);
    const bool aligned = (player->x & 0x38) == 0 && (player->y & 0x38) == 0;
    if (aligned || heading_ < 0) heading_ = wayToDisk(tx, ty);
    if (heading_ < 0) heading_ = static_cast<int32_t>(random() % 4);
    ButtonMask buttons = kWay[heading_];
    if (monsterInLine(tx, ty, player->dir) || random() % 16 == 0) buttons |= kFire;
    return buttons;
}

int32_t CAutoPlayer::wayToDisk(int32_t fromX, int32_t fromY) const {
    const CLevel& level = CLevel::instance();
    const CWorld& world = CWorld::instance();
    // Breadth first over the floor, remembering the first step of each path.
    int8_t firstWay[kMazeColumns][kMazeRows];
    for (auto& column : firstWay)
        for (int8_t& w : column) w = -1;
    int16_t queue[kMazeColumns * kMazeRows];
    int head = 0, tail = 0;
    queue[tail++] = static_cast<int16_t>(fromX * kMazeRows + fromY);
    firstWay[fromX][fromY] = 4;  // the start
    while (head < tail) {
        const int32_t x = queue[head] / kMazeRows, y = queue[head] % kMazeRows;
        ++head;
        for (const CGameObject* actor : world.cells[x][y])
            if (actor->kind == kKindDisk && !actor->dead && !actor->spawning &&
                (x != fromX || y != fromY))
                return firstWay[x][y];
        for (int32_t d = 0; d < 4; ++d) {
            const int32_t nx = stepX(x, d), ny = stepY(y, d);
            if (firstWay[nx][ny] != -1 || !level.isFree(nx, ny)) continue;
            firstWay[nx][ny] = static_cast<int8_t>(firstWay[x][y] == 4 ? d : firstWay[x][y]);
            queue[tail++] = static_cast<int16_t>(nx * kMazeRows + ny);
        }
    }
    return -1;
}

bool CAutoPlayer::monsterInLine(int32_t x, int32_t y, int32_t dir) const {
    const CLevel& level = CLevel::instance();
    const CWorld& world = CWorld::instance();
    for (int i = 0; i < kSightTiles; ++i) {
        x = stepX(x, dir);
        y = stepY(y, dir);
        if (!level.isFree(x, y)) return false;
        for (const CGameObject* actor : world.cells[x][y])
            if ((actor->kind < 16 || actor->kind == kKindDummy || actor->kind == kKindEgg) &&
                !actor->dead)
                return true;
    }
    return false;
}
