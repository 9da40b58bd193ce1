#include "shell/TitleScreen.h"

#include <cstring>

#include "actors/BaseMonster.h"
#include "actors/BaseSpar.h"
#include "actors/Player.h"
#include "effects/EffectManager.h"
#include "platform/Input.h"
#include "platform/Platform.h"
#include "render/Draw.h"
#include "render/Font.h"
#include "render/KeyHints.h"
#include "render/Screen.h"
#include "rules/MonsterFactory.h"
#include "shell/Menu.h"
#include "shell/StandStill.h"
#include "sound/SoundManager.h"
#include "state/GameState.h"
#include "state/HighScores.h"
#include "state/Random.h"
#include "world/Level.h"
#include "world/World.h"

const char* const kHelpLines[CTitleScreen::kScriptSteps] = {
    "",
    "USE JOYSTICK TO MOVE PLAYER",
    "PRESS \"A\" BUTTON TO FIRE",
    "SHOOT ANYTHING THAT MOVES",
    "PICK UP DISKS FOR HEALTH AND POWERUPS",
    "PICK UP 5 DISKS TO GO TO NEXT LEVEL",
    "EXTRA LIFE PER 20,000 POINTS",
    "ONLY ONE EXTRA LIFE PER LEVEL",
    "PRESS \"START\" DURING GAME FOR OPTIONS",
    "CREDITS:",
};

namespace {

constexpr const char* kVersion = "V" BOLTFEVER_VERSION;
constexpr uint16_t kVersionColour = 0x528A;
constexpr uint16_t kHelpColour = 0xFFF4;
constexpr int kTitleImage = 4;
constexpr int32_t kMenuPanelBottom = 210;  // for the key hints under it

struct SScriptStep {
    uint32_t frame;
    bool keepText;
};
constexpr SScriptStep kScript[CTitleScreen::kScriptSteps] = {
    {1, false},    {500, false},  {1000, false}, {1500, false}, {2000, false},
    {2500, false}, {3000, false}, {3500, false}, {4000, false}, {4200, true}};

struct SCredit {
    const char* text;
    uint16_t colour;
};
constexpr SCredit kCredits[6] = {
    {"BOLT FEVER "
     "V" BOLTFEVER_VERSION,
     0xFFFF},
    {"DESIGN, CODE, PICTURES AND SOUND:", 0x7FEF},
    {"THE BOLT FEVER TEAM", 0x7FFF},
    {"MADE WITH SDL2, LIBPNG AND GOOGLETEST", 0x7BDF},
    {"MUSIC WRITTEN IN OUR OWN SCORE TOOL", 0xA51F},
    {"THANKS FOR PLAYING", 0xFBEF},
};

uint16_t grey(int32_t level) {
    return static_cast<uint16_t>(level << 11 | level << 6 | level);
}

// An actor of the script, placed exactly (no wrapping) and handed to the world, where it
// materialises.
void place(CGameObject* actor, int32_t x, int32_t y) {
    actor->x = actor->prevX = x;
    actor->y = actor->prevY = y;
    CWorld::instance().add(actor);
}

void placeDisk(int32_t type, int32_t x, int32_t y) {
    CBaseSpar* disk = new CBaseSpar;
    disk->diskType = type;
    disk->setup();
    place(disk, x, y);
}

void placeMonster(int32_t type, int32_t x, int32_t y) {
    if (CBaseMonster* monster = createMonster(type)) place(monster, x, y);
}

void drawVersion(uint16_t* surface) {
    drawText(kVersion, 290, 232, kVersionColour, surface, 256);
}

// The way to the high scores, in the version's colour, at the other corner: shown only once
// there are some, so the title is as it always was until then.
void drawScoresHint(uint16_t* surface) {
    if (!CHighScores::instance().entries.empty())
        drawText("\"SELECT\": HIGH SCORES", 2, 232, kVersionColour, surface, 256);
}

}  // namespace

int32_t CTitleScreen::run() {
    begin();
    while (iterate()) {
    }
    return finish();
}

void CTitleScreen::begin() {
    CGameState::instance().tutorial = true;
    CPlayer::instance(1)->lives = 1;
    CScreen& screen = CScreen::instance();
    screen.drawImageIndex(0, 0, kTitleImage);
    drawVersion(screen.surface());
    CLevel& level = CLevel::instance();
    level.loadTutorialMap();
    screen.drawMaze(level.currentMap->tiles);
    screen.present(false);
    CSoundManager::instance().playMusic(1);
}

bool CTitleScreen::iterate() {
    CGameState& state = CGameState::instance();
    CScreen& screen = CScreen::instance();
    CSoundManager& sound = CSoundManager::instance();
    CWorld& world = CWorld::instance();
    CInput& input = CInput::instance();
    uint16_t* surface = screen.surface();
    // Under the controls page the title stands still; closing the window still quits.
    const auto standingStill = [&] {
        standStill(true);
        if (platformQuitRequested() && !leave) {
            result = kQuit;
            leave = true;
        }
        return !leave;
    };
    if (controlsPageOpen()) {
        input.poll();
        sound.update();
        if (controlsPageOpen()) return standingStill();
        return !leave;
    }

    const int32_t p = pulse + pulseStep;
    if (p < 1 || p > 30) pulseStep = -pulseStep;
    pulse = p;
    if (!state.menuOpen) ++state.frameCounter;
    screen.drawImageIndex(0, 0, kTitleImage);
    sound.update();

    if (step < kScriptSteps && state.frameCounter == kScript[step].frame) {
        if (!kScript[step].keepText) {
            // The line showing bursts into particles, a burst per letter, and the next comes in.
            const char* line = kHelpLines[textIndex];
            const int32_t length = static_cast<int32_t>(std::strlen(line));
            constexpr uint16_t kBurst[4] = {kHelpColour, kHelpColour, kHelpColour, kHelpColour};
            for (int32_t i = 0; i < length; ++i)
                CEffectManager::instance().spawnParticles(160 - 3 * length + 6 * i, 138, 0, false,
                                                          kBurst);
            if (textIndex != 0) sound.playSample(8, 64, 64, 2);
            ++textIndex;
            textX = 320 + 4 * static_cast<int32_t>(std::strlen(kHelpLines[textIndex]));
            textTargetX = 160;
        }
        runStep(step);
        lastStep = step;
        ++step;
    }
    if (!state.menuOpen) {
        drawTextCentred(kHelpLines[textIndex], textX, 141, kHelpColour, surface, 256);
        drawLine(0, 0, 0, 239, 0x0000, surface);
        drawLine(319, 0, 319, 239, 0x0000, surface);
        if (textX > textTargetX) --textX;
    }
    drawVersion(surface);
    if (!state.menuOpen) drawScoresHint(surface);
    CLevel& level = CLevel::instance();
    if (!state.menuOpen) {
        screen.drawMaze(level.currentMap->tiles);
        world.update();
        world.update();
    }
    CPlayer* player = CPlayer::instance(1);
    if (state.menuOpen)
        player->hideLocator();
    else
        world.draw();
    if (lastStep == 9 && !state.menuOpen) drawCredits(surface);
    if (!state.menuOpen) {
        drawTextCentredBold("PRESS \"START\"", 160, 224, grey(pulse), surface, 512);
        CEffectManager::instance().updateAndDraw();
    }
    // A player killed in the tutorial leaves the box for good; its arrows go with it.
    if (state.gameOver) player->hideLocator();
    player->drawLocator();
    input.poll();
    if (controlsPageOpen()) return standingStill();  // the picture as drawn, without the menu

    CMenu::openOnStart(startLatched, true);
    if (state.menuOpen || CHighScores::instance().entries.empty()) {
        selectHeld = false;
    } else if (input.select) {
        selectHeld = true;
    } else if (selectHeld) {
        result = kScores;
        leave = true;
    }
    if (state.menuOpen) {
        drawPanel(160, 170, 240, 80, kDialogBorder, kDialogFill, surface);
        static_assert(kMenuPanelBottom == 170 + 80 / 2);
        switch (CMenu::instance().run(CMenu::kTitle)) {
            case 0:  // NEW GAME
                state.menuOpen = false;
                level.levelNumber = CMenu::instance().startLevelChoice - 1;
                leave = true;
                break;
            case 1:  // RESUME TUTORIAL
                state.menuOpen = false;
                break;
            case 3:  // QUIT
                state.menuOpen = false;
                result = kQuit;
                leave = true;
                break;
            default:
                break;
        }
    }
    if (state.menuOpen)
        CMenu::instance().hintUnder(kMenuPanelBottom, CMenu::kTitle);
    else
        setHintScene({.what = EHintScene::kTitle,
                      .helpLine = textIndex,
                      .besideScores = !CHighScores::instance().entries.empty()});
    screen.present(true);
    if (input.volumeDownKey) sound.volumeDown();
    if (input.volumeUpKey) sound.volumeUp();
    // Closing the window or a signal leaves as QUIT would.
    if (platformQuitRequested() && !leave) {
        result = kQuit;
        leave = true;
    }
    return !leave;
}

int32_t CTitleScreen::finish() {
    CSoundManager::instance().playSample(5, 256, 256, 2);
    CGameState& state = CGameState::instance();
    state.tutorial = false;
    state.frameCounter = 0;
    CWorld::instance().clear(true);
    state.gameOver = false;
    CPlayer::forgetAll();
    return result;
}

void CTitleScreen::runStep(int32_t index) {
    switch (index) {
        case 0: {
            CPlayer* player = CPlayer::instance(1);
            player->setup();
            player->reset(true);
            player->shieldTimer = 0;
            place(player, 192, 1472);
            break;
        }
        case 2:
            placeMonster(kKindDummy, 2112, 1472);
            break;
        case 3:
            placeDisk(CBaseSpar::kPlain, 640, 1408);
            break;
        case 4:
            placeDisk(CBaseSpar::kPlain, 1920, 1600);
            placeMonster(kKindDummy, 2304, 1344);
            placeMonster(kKindDummy, 2304, 1600);
            break;
        case 5:
            placeDisk(CBaseSpar::kSpeed, 1792, 1600);
            placeMonster(kKindDummy, 2304, 1600);
            break;
        case 6: {
            // One real monster, a grenadier more often than not.
            const int32_t r = gameRand() % 10;
            const int32_t type = r <= 6   ? kKindGrenadeer
                                 : r == 7 ? kKindRocketeer
                                 : r == 8 ? kKindJoust
                                          : kKindEye;
            placeMonster(type, 2304, 1536);
            break;
        }
        case 9:
            CWorld::instance().killAll(false);
            break;
        default:
            break;
    }
}

void CTitleScreen::drawCredits(uint16_t* surface) const {
    for (int i = 0; i < 6; ++i)
        drawTextCentred(kCredits[i].text, 160, 163 + 8 * i, kCredits[i].colour, surface, 256);
}
