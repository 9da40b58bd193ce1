#pragma once
// The page at the server's root: the table of one period, each row opening the browser game
// watching that entry's replay.
//
// A row's link is the game's page with the replay's address: /play/?watch=/api/scores/ID/replay.
// The page follows it by taking `watch` from its query (a path of this server only, of the form
// /api/scores/ID/replay), fetching those bytes, putting them in the game's files and starting
// the game with --replay on them, in the window, as a watched entry; when the fetch fails it
// says so in a line and starts as usual.

#include <string>
#include <vector>

#include "server/ScoreStore.h"

// The link that watches an entry.
std::string watchLink(int64_t id);
// The whole page. `gamePage`: the browser game is served under /play/, so rows link to it;
// else they link to the replay itself.
std::string tablePage(const std::vector<SEntry>& entries, EPeriod period, bool gamePage);
