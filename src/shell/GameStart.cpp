#include "shell/GameStart.h"

#include <array>
#include <cstring>

#include "actors/Player.h"
#include "shell/MainLoop.h"
#include "shell/Menu.h"
#include "state/GameState.h"
#include "state/HighScores.h"

namespace {

// Version 1 ends with the START held over; version 2 adds the initials a new entry offers.
constexpr uint8_t kBlockVersion = 2;
constexpr int kRingWords = static_cast<int>(sizeof(SRandomState::ring) / sizeof(int32_t));

// One field of the block: where it is, and the values a game can give it.
struct SField {
    int32_t* value;
    int32_t least;
    int32_t most;
};

// Every field after the generator's ring, in the block's order. Bools and the unsigned frame
// counter travel as int32 through `words`.
struct SWords {
    int32_t frameCounter, menuOpen, drawIteration, startLatched;
    int32_t initials[3];
};

constexpr int kFields = 18;
constexpr int kFieldsOfVersion1 = 15;

std::array<SField, kFields> fieldsOf(SGameStart& s, SWords& w) {
    constexpr int32_t kAny = INT32_MIN, kAll = INT32_MAX;
    return {{
        {&s.random.index, 0, kRingWords - 1},
        {&w.frameCounter, kAny, kAll},
        {&s.bestLevel, 0, 8},
        {&s.startLevelChoice, 0, 8},
        {&s.menuRepeat, 0, 1 << 30},
        {&w.menuOpen, 0, 1},
        {&s.locatorScale, 0, 512},
        {&s.locatorScaleStep, -4, 4},
        {&s.playerUpdateParity, 0, 1},
        {&s.flash.level, 0, 31},
        {&s.flash.step, -1, 1},
        {&s.gameOverScale, 600, 1200},
        {&s.gameOverStep, -8, 8},
        {&w.drawIteration, 0, 1},
        {&w.startLatched, 0, 1},
        {&w.initials[0], 'A', 'Z'},
        {&w.initials[1], 'A', 'Z'},
        {&w.initials[2], 'A', 'Z'},
    }};
}

constexpr size_t blockBytes(int fields) {
    return 1 + 4 * (kRingWords + static_cast<size_t>(fields));
}

void put32(std::vector<uint8_t>& out, int32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

int32_t get32(const uint8_t* p) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{p[i]} << (8 * i);
    return static_cast<int32_t>(v);
}

}  // namespace

void takeRandom(SGameStart& start) {
    start.random = gameRandState();
}

void takeRun(SGameStart& start, const CMainLoop& loop) {
    const CGameState& state = CGameState::instance();
    const CMenu& menu = CMenu::instance();
    start.frameCounter = state.frameCounter;
    start.bestLevel = state.bestLevel;
    start.menuOpen = state.menuOpen;
    start.startLevelChoice = menu.startLevelChoice;
    start.menuRepeat = menu.repeatCounter;
    start.locatorScale = CPlayer::locatorScale;
    start.locatorScaleStep = CPlayer::locatorScaleStep;
    start.playerUpdateParity = CPlayer::playerUpdateCount & 1;
    start.flash = scorePanelFlash();
    start.gameOverScale = loop.gameOverScale;
    start.gameOverStep = loop.gameOverStep;
    start.drawIteration = loop.drawIteration;
    start.startLatched = loop.startLatched;
    std::memcpy(start.offeredInitials, CHighScores::instance().lastInitials, 4);
}

void putBackRandom(const SGameStart& start) {
    setGameRandState(start.random);
}

void putBackRun(const SGameStart& start, CMainLoop& loop) {
    CGameState& state = CGameState::instance();
    CMenu& menu = CMenu::instance();
    state.frameCounter = start.frameCounter;
    state.bestLevel = start.bestLevel;
    state.menuOpen = start.menuOpen;
    menu.reset();
    menu.startLevelChoice = start.startLevelChoice;
    menu.repeatCounter = start.menuRepeat;
    CPlayer::locatorScale = start.locatorScale;
    CPlayer::locatorScaleStep = start.locatorScaleStep;
    CPlayer::playerUpdateCount = start.playerUpdateParity;
    setScorePanelFlash(start.flash);
    loop.gameOverScale = start.gameOverScale;
    loop.gameOverStep = start.gameOverStep;
    loop.drawIteration = start.drawIteration;
    loop.startLatched = start.startLatched;
    loop.player = CPlayer::instance(1);
}

std::vector<uint8_t> encodeGameStart(const SGameStart& given) {
    SGameStart start = given;
    SWords words{static_cast<int32_t>(start.frameCounter),
                 start.menuOpen,
                 start.drawIteration,
                 start.startLatched,
                 {start.offeredInitials[0], start.offeredInitials[1], start.offeredInitials[2]}};
    std::vector<uint8_t> out;
    out.reserve(blockBytes(kFields));
    out.push_back(kBlockVersion);
    for (int32_t word : start.random.ring) put32(out, word);
    for (const SField& field : fieldsOf(start, words)) put32(out, *field.value);
    return out;
}

bool decodeGameStart(const std::vector<uint8_t>& bytes, SGameStart& start) {
    if (bytes.empty()) return false;
    const int fields = bytes[0] == 1 ? kFieldsOfVersion1 : bytes[0] == 2 ? kFields : 0;
    if (fields == 0 || bytes.size() != blockBytes(fields)) return false;
    SGameStart read;
    SWords words{0, 0, 0, 0, {'A', 'A', 'A'}};
    const uint8_t* p = bytes.data() + 1;
    for (int32_t& word : read.random.ring) {
        word = get32(p);
        p += 4;
    }
    const auto all = fieldsOf(read, words);
    for (auto field = all.begin(); field != all.begin() + fields; ++field) {
        *field->value = get32(p);
        p += 4;
        if (*field->value < field->least || *field->value > field->most) return false;
    }
    if (read.startLevelChoice > read.bestLevel) return false;
    read.frameCounter = static_cast<uint32_t>(words.frameCounter);
    read.menuOpen = words.menuOpen != 0;
    read.drawIteration = words.drawIteration != 0;
    read.startLatched = words.startLatched != 0;
    for (int i = 0; i < 3; ++i) read.offeredInitials[i] = static_cast<char>(words.initials[i]);
    start = read;
    return true;
}
