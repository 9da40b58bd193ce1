#include "shell/ScoresPage.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/Pointer.h"
#include "platform/Session.h"
#include "platform/WorldClient.h"
#include "render/Draw.h"
#include "render/Font.h"
#include "render/KeyHints.h"
#include "render/ScoresTable.h"
#include "render/Screen.h"
#include "shell/GameStart.h"
#include "shell/MainLoop.h"
#include "shell/Menu.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "state/HighScores.h"
#include "world/World.h"

namespace {

constexpr int kTitleImage = 4;
constexpr int32_t kTitleMusic = 1;
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kWarning = 0xFBEF;
constexpr uint16_t kHint = 0xC61F;

constexpr const char* kNoMatch = "THIS REPLAY DOES NOT MATCH THIS VERSION";
constexpr const char* kUnreadable = "THIS REPLAY CANNOT BE READ";
constexpr const char* kOffline = "OFFLINE";
constexpr const char* kFetching = "FETCHING";
// The most characters of the page's line, inside the panel.
constexpr size_t kLineChars = 46;

enum EPageButton : uint8_t {
    kUp = 1,
    kDown = 2,
    kFire = 4,
    kStart = 8,
    kHeldOver = 16,
    kSideways = 32,  // left or right: the other table
    kSend = 64,      // X: the entry to the world table
};

uint8_t pageButtons() {
    const CInput& in = CInput::instance();
    return static_cast<uint8_t>((in.up ? kUp : 0) | (in.down ? kDown : 0) |
                                (in.buttonA ? kFire : 0) | (in.start ? kStart : 0) |
                                (in.left || in.right ? kSideways : 0) | (in.buttonX ? kSend : 0));
}

// The first of the buttons held, in the order they are looked at.
uint8_t firstOf(uint8_t held) {
    for (const uint8_t button : {kUp, kDown, kFire, kSideways, kSend})
        if (held & button) return button;
    return kStart;
}

// Drawn over every picture of a replay being watched, after its own picture is checked.
void drawReplayMark(uint16_t* picture) {
    drawPanel(291, 9, 50, 14, kDialogBorder, kDialogFill, picture);
    drawTextCentred("REPLAY", 291, 9, kWhite, picture, 256);
}

// What a server said, as the page's font can show it: capitals, the rest of what it lacks as
// spaces, and no longer than the line.
std::string pageText(const std::string& said) {
    std::string text;
    for (const char c : said.substr(0, kLineChars)) {
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        text += glyphIndex(upper) >= 0 ? upper : ' ';
    }
    return text;
}

}  // namespace

bool CScoresPage::run() {
    CScreen& screen = CScreen::instance();
    CSoundManager& sound = CSoundManager::instance();
    const CHighScores& scores = CHighScores::instance();
    CWorldClient& world = CWorldClient::instance();
    if (scores.entries.empty()) return true;
    // The page begins with nothing pressed, and without the title's last sparks.
    pending_ = 0;
    CEffectManager::instance().clear();
    for (;;) {
        CInput::instance().poll();
        sound.update();
        if (platformQuitRequested()) return false;
        const int32_t p = pulse_ + pulseStep_;
        if (p < 1 || p > 30) pulseStep_ = -pulseStep_;
        pulse_ = p;
        // A request goes once a picture has said so (a browser's waits for its answer), and
        // once the client is free.
        if (wanted_.what != EWorldAsk::kNone) {
            if (world.ask(wanted_.what, wanted_.id, std::move(wanted_.replay), wanted_.initials))
                wanted_ = {};
        } else if (world_ && worldTable_ == EWorldTable::kNotAsked &&
                   world.ask(EWorldAsk::kScores)) {
            worldTable_ = EWorldTable::kFetching;
        }
        SWorldAnswer answer;
        if (world.take(answer)) {
            answered(answer);
            if (platformQuitRequested()) return false;
        }
        // A click or a tap on an entry chooses it and watches it, as fire does.
        const int32_t pointed = pointerTarget();
        uint8_t held = pageButtons();
        const CHighScores& shown = world_ ? worldScores_ : scores;
        if (pointed >= 1 && pointed <= static_cast<int32_t>(shown.entries.size()) &&
            pointerPressed()) {
            (world_ ? worldCursor_ : cursor_) = pointed - 1;
            held |= kFire;
        }
        if (pending_ == 0 && held != 0) {
            // The first of these that is down acts when every one is up again, as in the menus.
            pending_ = firstOf(held);
        } else if (pending_ != 0 && held == 0) {
            const uint8_t action = pending_;
            pending_ = 0;
            if (!act(action)) return true;
            if (platformQuitRequested()) return false;
        }
        screen.drawImageIndex(0, 0, kTitleImage);
        draw(screen.surface());
        setHintScene({.what = EHintScene::kScores,
                      .y = kScoresTableBottom + 6,
                      .world = !world.url.empty()});
        screen.present(false);
        if (CInput::instance().volumeDownKey) sound.volumeDown();
        if (CInput::instance().volumeUpKey) sound.volumeUp();
    }
}

bool CScoresPage::act(uint8_t action) {
    CSoundManager& sound = CSoundManager::instance();
    if (action == kStart) {
        sound.playSample(5, 256, 256, 2);
        return false;
    }
    if (action != kHeldOver) sound.playSample(7, 256, 256, 2);
    const bool named = !CWorldClient::instance().url.empty();
    // Without a world table the page is the local table alone, as it always was.
    if (!named && (action == kSideways || action == kSend)) return true;
    if (action == kSideways) {
        world_ = !world_;
        line_.clear();
        // Fetched afresh each time, as soon as the client is free.
        worldTable_ = EWorldTable::kNotAsked;
        worldScores_.entries.clear();
        worldIds_.clear();
        return true;
    }
    if (action == kSend) {
        if (!world_) send();
        return true;
    }
    int32_t& cursor = world_ ? worldCursor_ : cursor_;
    const int32_t count =
        static_cast<int32_t>((world_ ? worldScores_ : CHighScores::instance()).entries.size());
    if (count == 0) return true;
    if (action == kUp) cursor = (cursor + count - 1) % count;
    if (action == kDown) cursor = (cursor + 1) % count;
    if (action == kFire) {
        if (!world_) {
            watch(static_cast<size_t>(cursor));
            // What the player still holds from the replay does nothing here.
            pending_ = kHeldOver;
        } else {
            wanted_ = {EWorldAsk::kReplay, worldIds_[static_cast<size_t>(cursor)], {}, {}};
            line_ = kFetching;
        }
    }
    return true;
}

bool CScoresPage::readReplay(size_t index, std::vector<uint8_t>& bytes) {
    const CHighScores& scores = CHighScores::instance();
    std::string error;
    if (readFile(scores.folder + scores.entries[index].replay, bytes, error, kMaxReplayBytes))
        return true;
    reportLine(error);
    line_ = kUnreadable;
    return false;
}

void CScoresPage::send() {
    std::vector<uint8_t> bytes;
    if (!readReplay(static_cast<size_t>(cursor_), bytes)) return;
    const char* initials = CHighScores::instance().entries[static_cast<size_t>(cursor_)].initials;
    wanted_ = {EWorldAsk::kSend, 0, std::move(bytes), initials};
    line_ = "SENDING";
}

void CScoresPage::answered(const SWorldAnswer& answer) {
    CGameReport& report = CGameReport::instance();
    report.worldAnswered(answer.reached);
    if (!answer.error.empty()) reportLine(answer.error);
    const bool fine = answer.reached && answer.error.empty();
    switch (answer.asked) {
        case EWorldAsk::kScores:
            worldScores_.entries.clear();
            worldIds_.clear();
            if (!answer.reached) {
                worldTable_ = EWorldTable::kOffline;
                return;
            }
            worldTable_ = EWorldTable::kShown;
            if (!fine) line_ = pageText(answer.error);
            for (const SWorldRow& row : answer.rows) {
                if (worldScores_.entries.size() == CHighScores::kEntries) break;
                SHighScore entry;
                std::memcpy(entry.initials, row.initials, sizeof entry.initials);
                entry.score = row.score;
                entry.level = row.level;
                std::memcpy(entry.date, row.date, sizeof entry.date);
                worldScores_.entries.push_back(entry);
                worldIds_.push_back(row.id);
            }
            worldCursor_ = 0;
            report.worldTableShown(static_cast<uint32_t>(worldScores_.entries.size()));
            return;
        case EWorldAsk::kReplay:
            // A replay asked for on an earlier visit to the page is not watched now.
            if (line_ != kFetching) return;
            line_.clear();
            if (fine)
                watch(answer.replay, "the world entry's replay");
            else
                line_ = answer.reached ? pageText(answer.error) : kOffline;
            pending_ = kHeldOver;
            return;
        case EWorldAsk::kSend:
            if (!answer.reached) {
                line_ = answer.keptToSend ? "OFFLINE: KEPT TO SEND WHEN ONLINE" : kOffline;
            } else if (!fine) {
                line_ = pageText(answer.error);
            } else if (answer.status == 202) {
                line_ = "SENT: IT WAITS ITS TURN TO BE PLAYED";
            } else {
                line_ = "KEPT AT WORLD RANK " + std::to_string(answer.entry.rank);
                report.worldEntryKept(answer.entry.rank);
            }
            return;
        case EWorldAsk::kNone:
            return;
    }
}

void CScoresPage::draw(uint16_t* surface) const {
    const bool named = !CWorldClient::instance().url.empty();
    const char* title = !named ? "HIGH SCORES" : world_ ? "WORLD HIGH SCORES" : "LOCAL HIGH SCORES";
    if (!world_) {
        drawScoresTable(CHighScores::instance(), cursor_, greyOf(pulse_), true, surface, title);
    } else {
        drawScoresTable(worldScores_, worldCursor_, greyOf(pulse_), true, surface, title);
        const char* state =
            worldTable_ == EWorldTable::kFetching || worldTable_ == EWorldTable::kNotAsked
                ? kFetching
            : worldTable_ == EWorldTable::kOffline ? kOffline
            : worldScores_.entries.empty()         ? "NO ENTRIES YET"
                                                   : nullptr;
        if (state) drawTextCentredBold(state, 160, 110, kWarning, surface, 512);
    }
    const CHighScores& shown = world_ ? worldScores_ : CHighScores::instance();
    for (int32_t i = 0; i < static_cast<int32_t>(shown.entries.size()); ++i)
        addPointerTarget(i + 1, 12, scoresRowTop(i) - 2, 308, scoresRowTop(i) + 10);
    if (!line_.empty()) drawTextCentred(line_.c_str(), 160, 182, kWarning, surface, 256);
    if (named)
        drawTextCentred(world_ ? "LEFT RIGHT: LOCAL" : "X: SEND   LEFT RIGHT: WORLD", 160, 191,
                        kHint, surface, 256);
    drawTextCentred("FIRE: WATCH   START: BACK", 160, 200, kHint, surface, 256);
}

void CScoresPage::watch(size_t index) {
    line_.clear();
    std::vector<uint8_t> bytes;
    if (readReplay(index, bytes)) {
        watch(bytes,
              CHighScores::instance().folder + CHighScores::instance().entries[index].replay);
        return;
    }
    CGameReport::instance().replayWatched(false);
}

void CScoresPage::watch(const std::vector<uint8_t>& bytes, const std::string& name) {
    CGameReport& report = CGameReport::instance();
    std::string error;
    CReplayReader replay;
    SGameStart start;
    if (!replay.parse(bytes.data(), bytes.size(), error) ||
        !decodeGameStart(replay.header().gameStart, start) || replay.header().startLevel < 1) {
        reportLine(name + ": " + (error.empty() ? "not the replay of a game" : error));
        line_ = kNoMatch;
        report.replayWatched(false);
        return;
    }

    // What the replay changes and the player keeps: the settings and the best level (the
    // replay plays with its own, and never saves them), the menu's start level, and where the
    // random numbers stood for the tutorial to come.
    CSoundManager& sound = CSoundManager::instance();
    CGameState& state = CGameState::instance();
    CMenu& menu = CMenu::instance();
    const SSettings image = sound.settings, now = sound.currentSettings();
    const bool saveEnabled = sound.saveEnabled;
    const int32_t bestLevel = state.bestLevel, choice = menu.startLevelChoice;
    const int32_t repeat = menu.repeatCounter;
    const SRandomState random = gameRandState();
    sound.saveEnabled = false;
    sound.loadSettingsFrom(replay.header().settings.data());

    CSession& session = CSession::instance();
    CGameTape& tape = session.tape();
    tape.play(replay, picturesShown());
    setPictureStamp(drawReplayMark);
    {
        CMainLoop game;
        game.enterRecordedGame(start, replay.header().startLevel, replay.header().scores);
        // START of the player (not of the replay) leaves when it is let go of.
        bool startHeld = false;
        while (game.iterate()) {
            const bool startDown = (session.liveButtons() & buttonBit(kButtonStart)) != 0;
            if (startHeld && !startDown) break;
            startHeld = startDown;
        }
    }
    setPictureStamp(nullptr);
    const bool matched = tape.state() != CGameTape::EState::kMismatch;
    if (!matched) {
        reportLine(name + ": " + tape.problem());
        line_ = kNoMatch;
    }
    tape.close();
    report.replayWatched(matched);

    CWorld::instance().clear(true);
    CEffectManager::instance().clear();
    CPlayer::forgetAll();
    state.gameOver = false;
    state.menuOpen = false;
    state.frameCounter = 0;
    state.bestLevel = bestLevel;
    menu.reset();
    menu.startLevelChoice = choice;
    menu.repeatCounter = repeat;
    sound.setMasterVolume(now.masterVolume);
    sound.setMusicVolume(now.musicVolume);
    sound.setSwapStereo(now.swapStereo != 0);
    sound.settings = image;
    sound.saveEnabled = saveEnabled;
    setGameRandState(random);
    sound.stopMusic();
    sound.startMusic(kTitleMusic);
}
