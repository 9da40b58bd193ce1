#pragma once
// The high-score table as the game shows it, on a panel over whatever is beneath: the ten best
// with their initials, scores, levels and dates, one of them highlighted. The table's page shows
// it over the title; a game that has just made the table shows it over the maze.

#include <cstdint>

class CHighScores;

// Where the panel ends, for what goes under it.
constexpr int32_t kScoresTableBottom = 208;

// The top of the table's row for entry `index` (from 0), and the rows' height.
constexpr int32_t kScoresRowHeight = 12;
constexpr int32_t scoresRowTop(int32_t index) {
    return 64 + kScoresRowHeight * index;
}

// Draws the panel and the table; the entry at `highlighted` (from 0; none when outside the
// table) in `highlight`, the others white. Without `dates` when the table shows an entry just
// made: its date is today's, which a replay of the run could not show again another day. The
// heading is `title` (the page's LOCAL and WORLD tables name themselves).
void drawScoresTable(const CHighScores& scores, int32_t highlighted, uint16_t highlight, bool dates,
                     uint16_t* surface, const char* title = "HIGH SCORES");
