#pragma once
// The one menu of the game: the pause menu during play, the menu after GAME OVER and the title
// screen's menu, with the settings page (music volume, stereo swap) and the choice of the level
// a new game starts at. The caller draws the panel behind it and runs it once per drawn frame.
// A button latches the menu when pressed; what it does happens when every button is up again.
// The mouse works it by the same rules: moving onto an item highlights it, and its button acts
// as START does, on that item.

#include <cstdint>

class CMenu {
public:
    // The pages; the menu's modes are the caller's pages 0, 1 and 3.
    enum EPage : int32_t { kPause = 0, kGameOver = 1, kSettings = 2, kTitle = 3 };
    static constexpr int32_t kNothingChosen = -1;
    // Where the items stand, by page: "SETTINGS" and NEW GAME (none on the settings page), and
    // the settings page's own "SWAP STEREO" and "DONE".
    static constexpr int32_t kSettingsItem[4] = {2, 1, -1, 2};
    static constexpr int32_t kNewGameItem[4] = {1, 0, -1, 0};
    static constexpr int32_t kSwapStereoItem = 1;
    static constexpr int32_t kDoneItem = 2;

    static CMenu& instance();
    static void resetInstance();

    // One step: reads the buttons, draws the items, and returns the index of an item of the
    // caller's page when the player confirms one ("SETTINGS" is never returned), else -1.
    int32_t run(int32_t mode);
    void resetPulse();
    // Back to the first item of the caller's page, nothing latched.
    void reset();

    // START opens the menu when it is released, or at once when the window loses its focus,
    // with the menu's sound; `latched` remembers the press. While `allowed` is false (the game
    // is over) neither opens it and a press is not remembered.
    static void openOnStart(bool& latched, bool allowed);

    // The label of the new-game item: "NEW GAME", or with the start level once one is reached.
    const char* newGameLabel();
    // Tells the window's key hints that the menu shows, on the caller's page `mode`, above a
    // panel whose lower edge is at `panelBottom`.
    void hintUnder(int32_t panelBottom, int32_t mode) const;

    int32_t cursor = 0;            // highlighted item of the page shown
    int32_t pulse = 31;            // brightness 0..31 of the highlighted item
    int32_t pulseStep = -1;        //
    int32_t pendingAction = 0;     // on release: 0 next item, 1 previous item, 2 confirm
    int32_t repeatCounter = 0;     // calls with left or right held on the new-game item
    bool inSettings = false;       // the settings page is showing
    bool latched = false;          // a button was pressed and is not yet released
    int32_t startLevelChoice = 0;  // level number a new game starts at, 0..best level
    int32_t pointerSeen = 0;       // the item (from 1) the mouse was over at the last call

private:
    CMenu() = default;
    int32_t confirm(int32_t mode, int32_t page);
    void chooseStartLevel(int32_t page);
    void draw(int32_t page);

    char label_[32] = "NEW GAME";
};
