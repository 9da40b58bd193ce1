#pragma once
// The high-score table on the disk: boltfever-scores.txt in the data folder, beside the settings,
// and each entry's replay beside it. Written through the safe writer; a file that is there but
// cannot be read, or that the player made read-only, is never written over.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "state/HighScores.h"

constexpr const char* kHighScoresFileName = "boltfever-scores.txt";
// Ten entries take under a kilobyte; a larger file is read this far.
constexpr size_t kMostHighScoresBytes = 64u << 10;

// The folder the table is kept in: the one the settings file is in, with a trailing slash;
// empty when the settings have no place either.
std::string highScoresFolder(const std::string& settingsPath);

// Reads the table kept in `folder`. The good entries are kept. Lines that are not entries, and
// entries whose replay is missing or is not the replay of a game, are dropped; all that is said
// in `problem`, one line (empty when all is well). A file there that cannot be read leaves the
// table empty and is not saved over.
void loadHighScores(const std::string& folder, CHighScores& table, std::string& problem);

// Keeps an entry the table has just taken in: its replay is written beside the table under a
// name of its own (set in `entry` and in the table), then the table, and the replays of the
// entries it pushed off the end are removed, with what saves killed on the way left there (the
// player's own boltfever-score-*.bfr.tmp, and boltfever-score-*.bfr no entry names; never a
// link, never another user's file). False, with one line, when it could not be kept; the table
// and the replays it names are then as they were.
bool saveHighScore(CHighScores& table, int rank, const std::vector<uint8_t>& replay,
                   const std::vector<SHighScore>& dropped, std::string& error);

// The table for a terminal: a line an entry, with where its replay is, best first.
std::string highScoresListing(const CHighScores& table);

// Today's date as the table keeps it, and the time of day for a replay's name.
void dateAndTimeNow(char date[11], char time[7]);
