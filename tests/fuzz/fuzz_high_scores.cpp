// Whatever a scores file holds, the table read from it holds at most ten good entries, best
// first, and what it writes back reads back as the same table; a game's start block from a
// replay is taken or refused whole.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/GameStart.h"
#include "state/HighScores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CHighScores table;
    int bad = 0, surplus = 0;
    table.parse(std::string(reinterpret_cast<const char*>(data), size), bad, surplus);
    if (table.entries.size() > CHighScores::kEntries) __builtin_trap();
    for (size_t i = 0; i < table.entries.size(); ++i) {
        if (table.entries[i].score <= 0) __builtin_trap();
        if (i > 0 && table.entries[i].score > table.entries[i - 1].score) __builtin_trap();
    }
    CHighScores back;
    back.parse(table.text(), bad, surplus);
    if (back.text() != table.text() || bad != 0 || surplus != 0) __builtin_trap();

    SGameStart start;
    const std::vector<uint8_t> bytes(data, data + size);
    if (decodeGameStart(bytes, start) && encodeGameStart(start) != bytes) __builtin_trap();
    return 0;
}
