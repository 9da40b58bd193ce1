#pragma once
// The window's small lines that say which keys play a handheld button's role where the game names
// one (the tutorial's "USE JOYSTICK", "PRESS "A" BUTTON", "PRESS "START"", the menus, LEVEL
// COMPLETE), from the bindings in use, or the controller's buttons when the last button pressed
// was a controller's; each names F1, the controls page, too. The game says before each picture
// what it shows; the window's overlay draws the lines over a copy of that picture, clear of the
// game's own texts.

#include <cstdint>

enum class EHintScene : uint8_t {
    kNone,
    kTitle,          // the tutorial: its help line, and "PRESS "START"" below the box
    kMenu,           // a menu: moving and choosing, under its panel
    kLevelComplete,  // "PRESS START TO CONTINUE"
    kScores,         // the high-score table: "FIRE: WATCH   START: BACK", and with a world
                     // table "X: SEND   LEFT/RIGHT: LOCAL/WORLD"
    kInitials,       // a new high score's initials: "JOYSTICK: LETTERS   START: DONE"
};

struct SHintScene {
    EHintScene what = EHintScene::kNone;
    int32_t y = 0;              // a menu's, LEVEL COMPLETE's, the table's: the first line's centre
    int32_t helpLine = 0;       // the tutorial's: the help line showing
    bool leftRight = false;     // a menu's: left and right change the item highlighted
    bool besideScores = false;  // the title's: its bottom row begins with the way to the scores
    bool world = false;         // the table's: a world table is named, to turn to and send to
};

// The scene of the picture being drawn. The overlay takes it with that picture: a picture the
// game says nothing about shows no hint.
void setHintScene(const SHintScene& scene);
SHintScene takeHintScene();

// The lines of a scene, each at most kHintChars long, and where their centres are; returns how
// many (0 to kMostHintLines).
constexpr int kHintChars = 52;
constexpr int kMostHintLines = 3;
struct SHintLine {
    char text[kHintChars + 1];
    int32_t x;
    int32_t y;
};
int hintLines(const SHintScene& scene, bool controller, SHintLine lines[kMostHintLines]);
// Draws them, each on a dimmed strip of its own.
void drawHints(const SHintScene& scene, bool controller, uint16_t* picture);
