#include "shell/AutoPlayer.h"

#include <iterator>

#include "actors/Player.h"
#include "shell/Menu.h"
#include "sound/SoundManager.h"
#include "state/GameState.h"
#include "world/Level.h"
#include "world/World.h"

namespace {

constexpr ButtonMask kStart = buttonBit(kButtonStart);
constexpr ButtonMask kFire = buttonBit(kButtonA);
constexpr ButtonMask kLocator = buttonBit(kButtonX);
constexpr ButtonMask kUp = buttonBit(kButtonUp);
constexpr ButtonMask kDown = buttonBit(kButtonDown);
constexpr ButtonMask kLeft = buttonBit(kButtonLeft);
constexpr ButtonMask kRight = buttonBit(kButtonRight);
constexpr ButtonMask kVolumeUp = buttonBit(kButtonVolumeUp);
constexpr ButtonMask kVolumeDown = buttonBit(kButtonVolumeDown);
constexpr ButtonMask kWay[4] = {kLeft, kUp, kRight, kDown};
constexpr int32_t kSightTiles = 12;

constexpr int32_t kResumeTutorialItem = 1;  // on the title's menu

// The stick's diagonal between two crossing ways.
ButtonMask diagonal(int32_t a, int32_t b) {
    const bool up = a == 1 || b == 1, left = a == 0 || b == 0;
    return buttonBit(up ? (left ? kButtonUpLeft : kButtonUpRight)
                        : (left ? kButtonDownLeft : kButtonDownRight));
}

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
    nextVolumeDip_ = 2000 + random() % 8000;
    // Most runs watch a little of the tutorial; some watch it to the credits and beyond.
    tutorialFrames_ = 200 + random() % 5000;
}

uint32_t CAutoPlayer::random() {
    // xorshift32: the game's own generator is left alone.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

void CAutoPlayer::hold(ButtonMask buttons, uint16_t polls) {
    if (queued_ < static_cast<int>(std::size(queue_)) && polls > 0)
        queue_[queued_++] = {buttons, polls};
}

void CAutoPlayer::press(ButtonMask buttons, uint16_t polls) {
    hold(buttons, polls);
    hold(0, polls);
}

ButtonMask CAutoPlayer::next() {
    ++polls_;
    if (queueAt_ == queued_) {
        queueAt_ = queued_ = 0;
        const ButtonMask now = decide();
        if (queued_ == 0) return now;
    }
    SHeld& held = queue_[queueAt_];
    const ButtonMask buttons = held.buttons;
    if (--held.polls == 0) ++queueAt_;
    return buttons;
}

ButtonMask CAutoPlayer::followDip(SDip& dip, int32_t volume, ButtonMask down, ButtonMask up) {
    if (dip.phase == 1) {
        if (volume > dip.low) return down;
        dip.phase = 2;
    }
    if (dip.phase == 2) {
        if (volume < dip.restore) return up;
        dip.phase = 0;
    }
    return 0;
}

ButtonMask CAutoPlayer::decide() {
    const CGameState& game = CGameState::instance();
    if (game.tutorial) {
        if (game.menuOpen) return useMenu(CMenu::kTitle, menuItem_);
        if (game.frameCounter >= tutorialFrames_) {
            // Once in a while back to the tutorial for a little more; mostly a new game.
            const bool resume = random() % 3 == 0;
            menuItem_ = resume ? kResumeTutorialItem : CMenu::kNewGameItem[CMenu::kTitle];
            if (resume) tutorialFrames_ = game.frameCounter + 300 + random() % 900;
            lookAtSettings_ = random() % 3 == 0;
            press(kStart);
            return 0;
        }
        return play();
    }
    if (game.gameOver) {
        // Let GAME OVER show a while; then a start level up to the best reached, and NEW GAME.
        if (!gameOverSeen_) {
            gameOverSeen_ = true;
            gameOverUntil_ = polls_ + 200 + random() % 400;
            startLevelWanted_ =
                static_cast<int32_t>(random() % static_cast<uint32_t>(game.bestLevel + 1));
            lookAtSettings_ = random() % 3 == 0;
        }
        if (polls_ < gameOverUntil_) return 0;
        return useMenu(CMenu::kGameOver, CMenu::kNewGameItem[CMenu::kGameOver]);
    }
    gameOverSeen_ = false;
    if (game.menuOpen) return useMenu(CMenu::kPause, 0);  // "RESUME GAME"
    const CPlayer* player = CPlayer::instance(1);
    if (player->disks > 4) return kStart;  // LEVEL COMPLETE waits for START
    if (polls_ >= nextPause_) {
        nextPause_ = polls_ + 3000 + random() % 6000;
        menuItem_ = 0;
        lookAtSettings_ = random() % 3 == 0;
        press(kStart);
        return 0;
    }
    // Now and then the sound a little quieter for a moment, and back as it was.
    const int32_t master = CSoundManager::instance().masterVolume;
    if (polls_ >= nextVolumeDip_ && masterDip_.phase == 0) {
        nextVolumeDip_ = polls_ + 4000 + random() % 8000;
        masterDip_ = {1, master - 1 - static_cast<int32_t>(random() % 32), master};
        if (masterDip_.low < 0) masterDip_.phase = 0;
    }
    return play() | followDip(masterDip_, master, kVolumeDown, kVolumeUp);
}

ButtonMask CAutoPlayer::useMenu(int32_t page, int32_t item) {
    const CMenu& menu = CMenu::instance();
    if (menu.latched) return 0;  // it acts on the release
    if (menu.inSettings) return useSettings();
    if (lookAtSettings_) item = CMenu::kSettingsItem[page];
    if (menu.cursor != item) {
        press(menu.cursor < item ? kDown : kUp);
        return 0;
    }
    if (item == CMenu::kNewGameItem[page] && menu.startLevelChoice != startLevelWanted_)
        return menu.startLevelChoice < startLevelWanted_ ? kRight : kLeft;
    if (lookAtSettings_) {
        lookAtSettings_ = false;
        settingsBegun_ = false;
    }
    press(kStart);
    return 0;
}

ButtonMask CAutoPlayer::useSettings() {
    const CMenu& menu = CMenu::instance();
    const int32_t music = CSoundManager::instance().musicVolume;
    if (!settingsBegun_) {
        // The music a little quieter and back, the stereo swapped and back, or just a look.
        settingsBegun_ = true;
        swapsLeft_ = random() % 2 == 0 ? 2 : 0;
        const int32_t low = music - 1 - static_cast<int32_t>(random() % 24);
        if (low >= 0 && random() % 2 == 0) musicDip_ = {1, low, music};
    }
    // The page opens on the music volume, which left and right change.
    if (musicDip_.phase != 0 && menu.cursor == 0)
        if (const ButtonMask way = followDip(musicDip_, music, kLeft, kRight)) return way;
    if (menu.cursor == CMenu::kSwapStereoItem && swapsLeft_ > 0) {
        --swapsLeft_;
        press(kStart);
    } else {
        press(menu.cursor == CMenu::kDoneItem ? kStart : kDown);
    }
    return 0;
}

ButtonMask CAutoPlayer::play() {
    const CPlayer* player = CPlayer::instance(1);
    if (player->spawning || player->dead) return 0;
    // The tile the player is in, or on its way into.
    int32_t tx = ((player->x >> 3) + 4) >> 3, ty = ((player->y >> 3) + 4) >> 3;
    tx = wrapColumn(tx);
    ty = wrapRow(ty);
    const bool aligned = (player->x & 0x38) == 0 && (player->y & 0x38) == 0;
    if (aligned || heading_ < 0) {
        heading_ = wayToDisk(tx, ty);
        turn_ = -1;
        if (heading_ < 0) {
            heading_ = static_cast<int32_t>(random() % 4);
        } else {
            // Where the way turns at the next tile, the turn is held with the heading as a person
            // would, as two arrows or as one diagonal: the player takes it when it gets there.
            const int32_t next = wayToDisk(stepX(tx, heading_), stepY(ty, heading_));
            if (next >= 0 && ((next ^ heading_) & 1) != 0) turn_ = next;
            diagonalKey_ = random() % 2 == 0;
        }
    }
    ButtonMask buttons = kWay[heading_];
    if (!aligned && turn_ >= 0)
        buttons = diagonalKey_ ? diagonal(heading_, turn_) : buttons | kWay[turn_];
    // At monsters in line, and in short bursts at whatever may come round the corner.
    if (firePolls_ > 0)
        --firePolls_;
    else if (random() % 64 == 0)
        firePolls_ = 8;
    if (firePolls_ > 0 || monsterInLine(tx, ty, player->dir)) buttons |= kFire;
    if (random() % 1024 == 0) buttons |= kLocator;  // where am I?
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
