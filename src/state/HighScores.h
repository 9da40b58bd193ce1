#pragma once
// The ten best games of the player: score, three initials, the level reached (as the panel shows
// it), the date, and the name of the game's replay, kept beside the table so that every entry
// can be watched again. The table's file is text, one entry a line, best first:
//
//   # Bolt Fever high scores: initials, score, level, date, replay
//   KAT 48210 7 2025-06-01 boltfever-score-20250601-142233.bfr

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SHighScore {
    char initials[4] = "AAA";  // three capitals
    int32_t score = 0;
    int32_t level = 0;   // as the panel shows it: from 1
    char date[11] = "";  // YYYY-MM-DD
    std::string replay;  // the file name of the game's replay, in the table's folder
};

class CHighScores {
public:
    static constexpr size_t kEntries = 10;

    static CHighScores& instance();
    static void resetInstance();

    // Replaces the table with the entries of a text, best first and ten at most. Lines that
    // are not entries are counted in `bad`, entries past the best ten in `surplus`.
    void parse(const std::string& text, int& bad, int& surplus);
    std::string text() const;

    // Where a score would stand in the table, from 0; -1 when it does not make it. A score of 0
    // never does; a score equal to one in the table goes after it.
    int rankFor(int32_t score) const;
    // Puts an entry in its place (it must make the table). The entry pushed off the end, if
    // any, goes to `dropped` (its replay is no longer needed); returns the rank.
    int insert(const SHighScore& entry, std::vector<SHighScore>& dropped);

    // A file name a replay of the table may have: letters, digits, '.', '-' and '_', ending in
    // ".bfr", no folder.
    static bool isReplayName(const std::string& name);
    // A score as the table shows it, its thousands apart: "48,210".
    static void scoreText(int32_t score, char (&text)[16]);

    std::vector<SHighScore> entries;  // best first
    // Where the table is kept (the data folder, with a trailing slash); empty: nowhere, as in a
    // run that plays a replay back, whose table is the recording's.
    std::string folder;
    bool saveEnabled = false;      // the file may be written: it was read, or there was none
    char lastInitials[4] = "AAA";  // offered at the next entry of the run
    bool saved = false;            // written since takeSaved() last asked
    bool takeSaved() {
        const bool was = saved;
        saved = false;
        return was;
    }
};
