#pragma once
// What the server reads from a request before it plays anything: the initials asked for, and
// the replay's header and totals. A replay that gets past these checks is one this server's game
// could play, of a game from its start, no longer than two hours of play; whether it plays back
// is the verifier's to find out.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Replay.h"

// Two hours of play: a picture every 13.0 ms (the game's frame period) and two polls to each,
// and between pictures the polls of a wait (LEVEL COMPLETE, the controls page), a millisecond
// apart.
constexpr uint32_t kMostPlaySeconds = 2 * 60 * 60;
constexpr uint32_t kPictureMicros = 13000;
constexpr uint32_t kWaitPollMicros = 1000;
constexpr uint32_t kMostPictures = kMostPlaySeconds * 1000000ull / kPictureMicros;  // 553,846
// The largest replay two hours of play make: the buttons changing at every poll, each poll a
// record of its own in the widest form ('W': tag, four bytes of mask, a one-byte count), a picture
// record every 60 pictures (tag, a three-byte picture number, the hash), and the largest header.
// The waits are left out: a player waiting does not press a button a millisecond, and a replay
// that says it waits longer than two hours in all is refused by its totals anyway. 6.8 MB.
constexpr size_t kMostReplayBytes =
    2ull * kMostPictures * 6 + (kMostPictures / kReplayCheckInterval + 1) * 12 + 64 +
    kMaxReplayScoresBytes + kMaxReplayGameStartBytes + kMaxGameVersionBytes + 16;
static_assert(kMostReplayBytes < kMaxReplayBytes, "a world entry must play in the game too");

// A request's verdict before play: an HTTP status (0: none yet, go on) and why.
struct SRefusal {
    int status = 0;
    std::string reason;
    explicit operator bool() const { return status != 0; }
};

// A submission that passed: what the server keeps and plays.
struct SSubmission {
    std::string initials;   // three capitals, or empty: the replay's own entry gives them
    std::string digest;     // SHA-256 of the replay, in hex: the same replay twice is one entry
    uint32_t pictures = 0;  // the replay's totals, for the verifier's limits
    uint32_t polls = 0;
};

// Initials as a request gives them: none, or exactly three capitals A-Z.
SRefusal checkInitials(const std::optional<std::string>& initials);
// The replay as a request's body gives it, for a game identified by `ours`.
SRefusal checkReplay(std::string_view body, const SGameIdentity& ours, SSubmission& out);
// Both, in the order the server answers them.
SRefusal checkSubmission(std::string_view body, const std::optional<std::string>& initials,
                         const SGameIdentity& ours, SSubmission& out);

// Seconds of play a replay's totals stand for.
double playSeconds(uint32_t pictures, uint32_t polls);
// SHA-256 in hex.
std::string sha256Hex(std::string_view bytes);
