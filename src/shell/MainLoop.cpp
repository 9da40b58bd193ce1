#include "shell/MainLoop.h"

#include <algorithm>
#include <cstring>

#include "actors/Grenade.h"
#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/Session.h"
#include "render/Draw.h"
#include "render/Font.h"
#include "render/KeyHints.h"
#include "render/Screen.h"
#include "rules/LevelStart.h"
#include "rules/Waves.h"
#include "shell/Menu.h"
#include "shell/ScoresPage.h"
#include "shell/StandStill.h"
#include "shell/TitleScreen.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "state/HighScoreFile.h"
#include "state/HighScores.h"
#include "state/Random.h"
#include "world/Level.h"
#include "world/World.h"

namespace {
constexpr uint16_t kWhite = 0xFFFF;
// The lower edges of the panels, for the key hints under them.
constexpr int32_t kPausePanelBottom = 152;
constexpr int32_t kGameOverPanelBottom = 140;
constexpr int32_t kLevelCompletePanelBottom = 146;
}  // namespace

bool CMainLoop::startUp(const SGameSetup& setup) {
    setup_ = setup;
    CLevel::instance();
    screen_ = &CScreen::instance();
    CSoundManager& sound = CSoundManager::instance();
    CSession& session = CSession::instance();
    bool audio = false;
    if (const auto& bytes = session.replaySettings()) {
        // A replay starts from the settings it was recorded with, and leaves the player's alone.
        sound.saveEnabled = false;
        sound.loadSettingsFrom(bytes->data());
        audio = sound.mixer.openDevice();
    } else {
        audio = sound.startUp();
    }
    if (!audio) {
        reportLine("cannot open the audio device (try --mute)");
        return false;
    }
    std::array<uint8_t, 16> settings;
    encodeSettings(sound.settings, settings.data());
    session.noteSettings(settings);

    // The high scores: the player's, kept beside the settings; in playback the recording's,
    // kept nowhere. A demo's games do not count, nor do those of a run that plays a replay,
    // though a player's recorded run takes initials in playback as it did.
    CHighScores& scores = CHighScores::instance();
    const std::string folder = highScoresFolder(settingsPath());
    if (const SReplayHeader* replay = session.replayHeader()) {
        int bad = 0, surplus = 0;
        scores.parse(std::string(replay->scores.begin(), replay->scores.end()), bad, surplus);
        scores.folder = folder;
        scores.saveEnabled = false;
        takeEntries_ = replay->playersRun;
    } else {
        std::string problem;
        loadHighScores(folder, scores, problem);
        if (!problem.empty()) reportLine(problem);
        if (!scores.entries.empty()) {
            const std::string text = scores.text();
            session.noteScores(std::vector<uint8_t>(text.begin(), text.end()));
        }
        takeEntries_ = !setup.demo;
        recordGames_ = takeEntries_ && scores.saveEnabled;
    }

    CGrenade::buildGrenadeTable();
    CPlayer::buildLocatorTable();
    screen_->loadTileImages();
    seedGameRand(setup.seed);
    screen_->setFramePeriod(130);
    return true;
}

bool CMainLoop::enterGame() {
    CLevel& level = CLevel::instance();
    CGameState& state = CGameState::instance();
    const SReplayHeader* replay = CSession::instance().replayHeader();
    if (replay && !replay->gameStart.empty()) {
        SGameStart start;
        if (!decodeGameStart(replay->gameStart, start)) {
            reportLine("the replay's game start is not one this game makes");
            return false;
        }
        loadMapsOnce();
        enterRecordedGame(start, replay->startLevel, replay->scores);
        CGameReport::instance().residentStartKb = residentKilobytes();
        return !platformQuitRequested();
    }
    if (setup_.startLevel > 0) {
        // Straight into a level: out of tutorial mode as the title screen would leave it, its
        // walled box the maze to fall back on without a level file.
        level.loadTutorialMap();
        state.tutorial = false;
        state.frameCounter = 0;
    } else {
        quitRequested = !runTitle();
    }

    loadMapsOnce();
    if (quitRequested || platformQuitRequested()) return false;
    takeRandom(start_);
    screen_->clear();
    screen_->present(true);
    if (setup_.startLevel > 0) {
        // Practice at a chosen level: the level before it was not completed, so the best level
        // reached stays as it was.
        const int32_t best = state.bestLevel;
        level.levelNumber = setup_.startLevel - 2;
        startLevel(level);
        state.bestLevel = best;
    } else {
        startLevel(level);
    }
    CGameReport::instance().residentStartKb = residentKilobytes();
    drawIteration = true;
    startLatched = false;
    gameOverScale = 700;
    gameOverStep = 8;
    player = nullptr;
    gameStarts();
    return true;
}

bool CMainLoop::runTitle() {
    for (;;) {
        CTitleScreen title;
        const int32_t result = title.run();
        if (result != CTitleScreen::kScores) return result == CTitleScreen::kPlay;
        loadMapsOnce();
        CScoresPage page;
        if (!page.run()) return false;
    }
}

void CMainLoop::loadMapsOnce() {
    if (mapsLoaded_) return;
    CLevel::instance().loadMaps();
    mapsLoaded_ = true;
}

void CMainLoop::enterRecordedGame(const SGameStart& start, int32_t startLevelNumber,
                                  const std::vector<uint8_t>& table) {
    screen_ = &CScreen::instance();
    // Out of the tutorial as the title leaves it, its box the maze without a level file.
    CLevel& level = CLevel::instance();
    CGameState& state = CGameState::instance();
    CWorld::instance().clear(true);
    CPlayer::forgetAll();
    level.loadTutorialMap();
    state.tutorial = false;
    state.gameOver = false;
    putBackRandom(start);
    screen_->clear();
    screen_->present(true);
    level.levelNumber = startLevelNumber - 2;
    startLevel(level);
    putBackRun(start, *this);
    start_ = start;
    int bad = 0, surplus = 0;
    recordedTable_.parse(std::string(table.begin(), table.end()), bad, surplus);
    endsWithRecording_ = true;
    gameOn_ = true;
}

bool CMainLoop::iterate() {
    CGameState& state = CGameState::instance();
    CInput& input = CInput::instance();
    CSoundManager& sound = CSoundManager::instance();
    CWorld& world = CWorld::instance();
    CLevel& level = CLevel::instance();
    if (gameStarting_) beginGame();
    input.poll();
    // A recorded game ends where its recording did: nothing of a poll it does not hold is played.
    if (endsWithRecording_ && recordingOver()) return false;
    sound.update();
    if (controlsPageOpen()) {
        standStill(false);
        if (platformQuitRequested()) quitRequested = true;
        return !quitRequested;
    }
    const bool drawing = drawIteration;
    drawIteration = !drawIteration;
    if (drawing) {
        if (!state.menuOpen) ++state.frameCounter;
        screen_->clear();
        if (level.currentMap) screen_->drawMaze(level.currentMap->tiles);
    }
    if (!state.menuOpen) world.update();
    if (gameOn_ && state.gameOver) gameEnds();
    if (drawing) {
        updateWaves(level, world.monstersAlive);
        world.draw();
        CEffectManager::instance().updateAndDraw();
        CPlayer::instance(1)->drawLocator();
        if (state.gameOver) drawGameOver();
        player = CPlayer::instance(1);
        player->drawScorePanel();
        if (state.menuOpen) runPauseMenu();
        const CGameEnd::EPhase ending = end_.phase();
        if (state.gameOver && ending == CGameEnd::EPhase::kInitials)
            setHintScene({.what = EHintScene::kInitials, .y = kGameOverPanelBottom + 6});
        else if (state.gameOver && ending == CGameEnd::EPhase::kMenu)
            CMenu::instance().hintUnder(kGameOverPanelBottom, CMenu::kGameOver);
        else if (state.menuOpen)
            CMenu::instance().hintUnder(kPausePanelBottom, CMenu::kPause);
    }
    // A QUIT chosen in this very iteration is honoured: the level is not completed first.
    if (drawing) {
        if (levelIsComplete() && !quitRequested)
            levelComplete();
        else
            screen_->present(false);
    }
    handleStart();
    if (input.volumeDownKey) sound.volumeDown();
    if (input.volumeUpKey) sound.volumeUp();
    if (platformQuitRequested()) quitRequested = true;
    return !quitRequested;
}

void CMainLoop::drawGameOver() {
    gameOverScale += gameOverStep;
    CPlayer::instance(1)->hideLocator();
    if (static_cast<uint32_t>(gameOverScale - 700) >= 424) gameOverStep = -gameOverStep;
    uint16_t* surface = screen_->surface();
    if (end_.phase() == CGameEnd::EPhase::kTable) {
        end_.stepTable(CHighScores::instance(), surface);
        return;
    }
    drawPanel(160, 90, 240, 100, kDialogBorder, kDialogFill, surface);
    const char* const text = "GAME OVER";
    for (int i = 0; i < 9; ++i) {
        const char letter[2] = {text[i], '\0'};
        drawTextCentredBold(letter, 65 + 25 * i, 60, kWhite, surface,
                            static_cast<uint16_t>(gameOverScale));
    }
    // The last shots, and initials for a score that makes the table, where the menu goes; then
    // the menu.
    if (end_.phase() != CGameEnd::EPhase::kMenu) {
        switch (end_.step(CPlayer::instance(1)->score, surface)) {
            case CGameEnd::EStep::kTakeEntry:
                keepEntry();
                break;
            case CGameEnd::EStep::kNoEntry:
                dropRecording();
                break;
            case CGameEnd::EStep::kGoOn:
                break;
        }
        return;
    }
    switch (CMenu::instance().run(CMenu::kGameOver)) {
        case 0:  // NEW GAME
            newGame();
            break;
        case 2:  // QUIT
            quitRequested = true;
            break;
        default:
            break;
    }
}

bool CMainLoop::levelIsComplete() const {
    // Five disks alone are not enough: a player who takes the fifth disk and then loses its last
    // life before the picture is composed has lost the game, and a dead player who still counts
    // its disks is about to lose a life. Neither goes on to the next level.
    return player->disks > 4 && !player->dead && !CGameState::instance().gameOver;
}

void CMainLoop::runPauseMenu() {
    drawPanel(160, 112, 240, 80, kDialogBorder, kDialogFill, screen_->surface());
    static_assert(kPausePanelBottom == 112 + 80 / 2);
    CGameState& state = CGameState::instance();
    switch (CMenu::instance().run(CMenu::kPause)) {
        case 0:  // RESUME GAME
            state.menuOpen = false;
            break;
        case 1:  // NEW GAME
            newGame();
            state.menuOpen = false;
            break;
        case 3:  // QUIT
            quitRequested = true;
            break;
        default:
            break;
    }
}

void CMainLoop::newGame() {
    CWorld::instance().clear(true);
    CGameState::instance().gameOver = false;
    CPlayer::forgetAll();
    CLevel& level = CLevel::instance();
    level.levelNumber = CMenu::instance().startLevelChoice - 1;
    takeRandom(start_);
    startLevel(level);
    player = CPlayer::instance(1);  // the last game's is gone
    // A START still held from the last life would otherwise open the pause menu at once.
    startLatched = false;
    gameStarts();
}

void CMainLoop::gameStarts() {
    gameStarting_ = takeEntries_;
    gameOn_ = false;
    end_.end();
}

void CMainLoop::beginGame() {
    gameStarting_ = false;
    gameOn_ = true;
    if (!recordGames_) return;
    // The game's replay: the state it starts from and the settings as they are now.
    takeRun(start_, *this);
    SReplayHeader header;
    header.seed = setup_.seed;
    encodeSettings(CSoundManager::instance().currentSettings(), header.settings.data());
    header.startLevel = static_cast<uint16_t>(CLevel::instance().levelNumber + 1);
    header.gameStart = encodeGameStart(start_);
    const std::string table = CHighScores::instance().text();
    header.scores.assign(table.begin(), table.end());
    CSession::instance().tape().record(header, picturesShown());
}

void CMainLoop::gameEnds() {
    // The game's recording goes on through the initials: its replay then holds the whole entry,
    // and plays to the score the panel ends on.
    gameOn_ = false;
    endLevel_ = CLevel::instance().levelNumber + 1;
    if (endsWithRecording_)
        end_.begin(recordedTable_, start_.offeredInitials);
    else
        end_.begin(CHighScores::instance(), CHighScores::instance().lastInitials);
}

void CMainLoop::keepEntry() {
    CGameTape& tape = CSession::instance().tape();
    tape.stop();
    SHighScore entry;
    std::memcpy(entry.initials, end_.initials(), 4);
    entry.score = CPlayer::instance(1)->score;
    entry.level = endLevel_;
    CGameReport::instance().highScoreEntered(entry.initials, entry.score, entry.level);
    // A recorded game's entry was kept when it was played; this one is only shown.
    if (endsWithRecording_) {
        end_.end();
        return;
    }
    CHighScores& scores = CHighScores::instance();
    std::memcpy(scores.lastInitials, entry.initials, 4);
    char timeOfDay[7];
    dateAndTimeNow(entry.date, timeOfDay);
    std::vector<SHighScore> dropped;
    const int rank = scores.insert(entry, dropped);
    end_.showTable(rank);
    if (rank < 0 || !scores.saveEnabled || tape.state() != CGameTape::EState::kRecorded) return;
    std::string error;
    if (!saveHighScore(scores, rank, tape.file(), dropped, error)) reportLine(error);
}

void CMainLoop::dropRecording() {
    CSession::instance().tape().stop();
}

bool CMainLoop::recordingOver() const {
    const CSession& session = CSession::instance();
    const CGameTape::EState tape = session.tape().state();
    return session.replayEnded() || tape == CGameTape::EState::kEnded ||
           tape == CGameTape::EState::kMismatch;
}

void CMainLoop::levelComplete() {
    CGameReport::instance().levelCompleted();
    uint16_t* surface = screen_->surface();
    drawPanel(160, 116, 240, 60, kDialogBorder, kDialogFill, surface);
    drawTextCentredBold("LEVEL COMPLETE", 160, 108, kWhite, surface, 512);
    drawTextCentred("PRESS START TO CONTINUE", 160, 124, kWhite, surface, 256);
    CSoundManager& sound = CSoundManager::instance();
    sound.playSample(18, 256, 256, 2);
    setHintScene({EHintScene::kLevelComplete, kLevelCompletePanelBottom + 6});
    screen_->present(false);
    CInput& input = CInput::instance();
    // The sound keeps playing while the game waits; nothing is drawn. Closing the window ends
    // the wait too. Under the controls page the picture is shown on, as everywhere.
    for (;;) {
        input.poll();
        sound.update();
        if (input.start || platformQuitRequested() || (endsWithRecording_ && recordingOver()))
            break;
        if (controlsPageOpen())
            standStill(false);
        else
            pauseBetweenPolls();
    }
    input.start = 0;
    startLevel(CLevel::instance());
    screen_->present(false);
}

void CMainLoop::handleStart() {
    // Never while the game is over: its own menu is showing.
    CMenu::openOnStart(startLatched, !CGameState::instance().gameOver);
}

int CMainLoop::shutDown() {
    // A player leaving in the middle of the initials keeps the entry as it stands.
    if (end_.phase() == CGameEnd::EPhase::kInitials) keepEntry();
    platformShutdown();
    CSoundManager::instance().shutdown();
    return writeReport() ? 0 : 1;
}

bool CMainLoop::writeReport() const {
    if (setup_.reportPath.empty()) return true;
    const CPlayer* const p = CPlayer::instance(1);
    // Level 0: the run never left the title screen.
    const int32_t shownLevel = std::max(CLevel::instance().levelNumber + 1, 0);
    const CGameReport::SRunFacts facts{setup_.seed, picturesShown(), shownLevel,         p->score,
                                       p->lives,    p->disks,        residentKilobytes()};
    const std::string json = CGameReport::instance().json(facts);
    std::string error;
    if (writeFileAtomically(setup_.reportPath, json.data(), json.size(), error)) return true;
    reportLine(error);
    return false;
}

int runMainLoop(const SGameSetup& setup) {
    CMainLoop loop;
    if (!loop.startUp(setup)) {
        CSession::instance().abandon();
        return 1;
    }
    if (loop.enterGame())
        while (loop.iterate()) {
        }
    return loop.shutDown();
}
