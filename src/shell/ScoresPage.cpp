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

enum EPageButton : uint8_t { kUp = 1, kDown = 2, kFire = 4, kStart = 8, kHeldOver = 16 };

uint8_t pageButtons() {
    const CInput& in = CInput::instance();
    return static_cast<uint8_t>((in.up ? kUp : 0) | (in.down ? kDown : 0) |
                                (in.buttonA ? kFire : 0) | (in.start ? kStart : 0));
}

// Drawn over every picture of a replay being watched, after its own picture is checked.
void drawReplayMark(uint16_t* picture) {
    drawPanel(291, 9, 50, 14, kDialogBorder, kDialogFill, picture);
    drawTextCentred("REPLAY", 291, 9, kWhite, picture, 256);
}

}  // namespace

bool CScoresPage::run() {
    CScreen& screen = CScreen::instance();
    CSoundManager& sound = CSoundManager::instance();
    const CHighScores& scores = CHighScores::instance();
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
        // A click or a tap on an entry chooses it and watches it, as fire does.
        const int32_t pointed = pointerTarget();
        uint8_t held = pageButtons();
        if (pointed >= 1 && pointed <= static_cast<int32_t>(scores.entries.size()) &&
            pointerPressed()) {
            cursor_ = pointed - 1;
            held |= kFire;
        }
        if (pending_ == 0 && held != 0) {
            // The first of these that is down acts when every one is up again, as in the menus.
            pending_ = held & kUp ? kUp : held & kDown ? kDown : held & kFire ? kFire : kStart;
        } else if (pending_ != 0 && held == 0) {
            const uint8_t action = pending_;
            pending_ = 0;
            const int32_t count = static_cast<int32_t>(scores.entries.size());
            if (action == kStart) {
                sound.playSample(5, 256, 256, 2);
                return true;
            }
            if (action != kHeldOver) sound.playSample(7, 256, 256, 2);
            if (action == kUp) cursor_ = (cursor_ + count - 1) % count;
            if (action == kDown) cursor_ = (cursor_ + 1) % count;
            if (action == kFire) {
                watch(static_cast<size_t>(cursor_));
                if (platformQuitRequested()) return false;
                // What the player still holds from the replay does nothing here.
                pending_ = kHeldOver;
            }
        }
        screen.drawImageIndex(0, 0, kTitleImage);
        draw(screen.surface());
        setHintScene({.what = EHintScene::kScores, .y = kScoresTableBottom + 6});
        screen.present(false);
        if (CInput::instance().volumeDownKey) sound.volumeDown();
        if (CInput::instance().volumeUpKey) sound.volumeUp();
    }
}

void CScoresPage::draw(uint16_t* surface) const {
    const CHighScores& scores = CHighScores::instance();
    drawScoresTable(scores, cursor_, greyOf(pulse_), true, surface);
    for (int32_t i = 0; i < static_cast<int32_t>(scores.entries.size()); ++i)
        addPointerTarget(i + 1, 12, scoresRowTop(i) - 2, 308, scoresRowTop(i) + 10);
    if (line_) drawTextCentred(line_, 160, 190, kWarning, surface, 256);
    drawTextCentred("FIRE: WATCH   START: BACK", 160, 200, kHint, surface, 256);
}

void CScoresPage::watch(size_t index) {
    const CHighScores& scores = CHighScores::instance();
    const std::string path = scores.folder + scores.entries[index].replay;
    CGameReport& report = CGameReport::instance();
    line_ = nullptr;
    std::vector<uint8_t> bytes;
    std::string error;
    if (!readFile(path, bytes, error, kMaxReplayBytes)) {
        reportLine(error);
        line_ = kUnreadable;
        report.replayWatched(false);
        return;
    }
    CReplayReader replay;
    SGameStart start;
    if (!replay.parse(bytes.data(), bytes.size(), error) ||
        !decodeGameStart(replay.header().gameStart, start) || replay.header().startLevel < 1) {
        reportLine(path + ": " + (error.empty() ? "not the replay of a game" : error));
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
        reportLine(path + ": " + tape.problem());
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
