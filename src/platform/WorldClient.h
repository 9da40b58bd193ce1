#pragma once
// The world high-score table as the game reaches it: a boltfever-server named by its address,
// asked for its best scores and for an entry's replay, and sent a high score's replay when the
// player chooses to. Nothing is asked or sent until the player names a table.
//
// A request runs on a thread of its own, so that the page goes on showing pictures while the
// server thinks (its client gives up after a few seconds); a run on a virtual clock waits for
// each answer instead, so that the same input gives the same pictures.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Where the player's choice of a world table is kept, beside the settings: one line, its address.
constexpr const char* kWorldFileName = "boltfever-world.txt";

// An address the game will ask: http:// or https://, a host name or address (IPv6 in brackets),
// an optional port and an optional folder (a table behind a proxy). The address as the client
// uses it goes to `url` (no trailing slash); false, with a one-line reason, for anything else
// (a query, a user name, spaces, another scheme).
bool parseWorldUrl(const std::string& text, std::string& url, std::string& error);

// The table named in `path`: `url` is left empty when there is no file, and when the file does
// not hold a table's address (`error` then says why).
void loadWorldUrl(const std::string& path, std::string& url, std::string& error);

// One row of the world table as the server lists it.
struct SWorldRow {
    int32_t rank = 0;
    char initials[4] = "AAA";
    int32_t score = 0;
    int32_t level = 0;
    char date[11] = "";  // YYYY-MM-DD
    int64_t id = 0;      // its replay is /api/scores/ID/replay
};

enum class EWorldAsk : uint8_t { kNone, kScores, kReplay, kSend };

struct SWorldAnswer {
    EWorldAsk asked = EWorldAsk::kNone;
    bool reached = false;         // the server answered at all
    int status = 0;               // its HTTP status
    std::vector<SWorldRow> rows;  // the best scores, best first (kScores)
    std::vector<uint8_t> replay;  // an entry's replay (kReplay)
    SWorldRow entry;              // the entry a sent replay made (kSend, 200 or 201)
    // Not reached, and the replay sent is kept to be sent once the machine is online again.
    bool keptToSend = false;
    // Why not: the server's own words, or why it could not be reached.
    std::string error;
};

// The most rows the game keeps of a table it is sent.
constexpr size_t kMostWorldRows = 100;

// One request, as the machine does it, waiting for its answer: the client's own timeouts bound
// the wait. A build without a network client answers every one unreached.
SWorldAnswer askWorldTable(const std::string& url, EWorldAsk what, int64_t id,
                           const std::vector<uint8_t>& replay, const std::string& initials);
// The build can ask on a thread of its own.
bool worldRequestsThreaded();

class CWorldClient {
public:
    static CWorldClient& instance();
    static void resetInstance();
    CWorldClient();
    ~CWorldClient();  // waits for a request under way

    std::string url;            // the table; empty: none, and nothing is asked or sent
    bool awaitAnswers = false;  // each request is answered before ask() returns

    // Starts a request: the best scores, the replay of the entry `id`, or `replay` sent with
    // the entry's `initials`. False when one is under way or no table is named.
    bool ask(EWorldAsk what, int64_t id = 0, std::vector<uint8_t> replay = {},
             std::string initials = {});
    bool busy() const;
    // The answer, once it has come (true); the client is free for another request.
    bool take(SWorldAnswer& answer);

private:
    struct SPending;
    std::unique_ptr<SPending> pending_;
};
