#pragma once
// The high scores' page, reached from the title with SELECT: the table over the title picture.
// Up and down choose an entry, fire plays its replay in the game's own picture with a small
// REPLAY mark in the corner, and START goes back (from the replay to the page, from the page to
// the title). A replay that does not play here says so in one line on the page.
//
// Once the player has named a world table, left and right turn between the LOCAL table and the
// WORLD one, fetched from the server each time it is turned to ("FETCHING" while it comes,
// "OFFLINE" when the server cannot be reached), whose entries are watched as the local ones are,
// their replays fetched. X sends the local entry chosen to the world table, and the server's
// answer shows in the page's line. Nothing goes to the server but by these keys.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WorldClient.h"
#include "state/HighScores.h"

class CScoresPage {
public:
    // Runs the page until the player goes back to the title (true) or the run ends (false).
    bool run();

private:
    // kNotAsked: turned to, and asked for once the client is free.
    enum class EWorldTable : uint8_t { kNotAsked, kFetching, kShown, kOffline };

    void draw(uint16_t* surface) const;
    // Acts on a button let go of; false when it takes the page back to the title.
    bool act(uint8_t action);
    void send();
    void answered(const SWorldAnswer& answer);
    // Plays an entry's replay until it ends, goes otherwise than recorded, or START is let go
    // of; then everything the replay changed is as the player left it. `name` says which one
    // in a message.
    void watch(size_t index);
    // A local entry's replay, or false with the page's line saying it cannot be read.
    bool readReplay(size_t index, std::vector<uint8_t>& bytes);
    void watch(const std::vector<uint8_t>& bytes, const std::string& name);

    int32_t cursor_ = 0;
    int32_t worldCursor_ = 0;
    int32_t pulse_ = 31;
    int32_t pulseStep_ = -1;
    uint8_t pending_ = 0;  // the button pressed; it acts when let go of
    bool world_ = false;   // the WORLD table shows
    EWorldTable worldTable_ = EWorldTable::kNotAsked;
    CHighScores worldScores_;        // the world table's best, as the page shows them
    std::vector<int64_t> worldIds_;  // and where their replays are
    std::string line_;               // why the last replay did not play; the server's answer
    struct SWanted {
        EWorldAsk what = EWorldAsk::kNone;
        int64_t id = 0;
        std::vector<uint8_t> replay;
        std::string initials;
    };
    SWanted wanted_;  // a request to make at the next picture
};
