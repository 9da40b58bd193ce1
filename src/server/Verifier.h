#pragma once
// Plays a submission's replay with the game itself (`boltfever --headless --mute --replay`), in a
// process of its own under limits sized to the replay's length, in a fresh folder that is the
// game's home and working directory: nothing of the server's (its files, its sockets, its
// database) is within the game's reach, and a replay that crashed or hung the game would take
// only that process with it. The game's status says whether the replay played to its end with
// every picture matching; its report gives the score and the level.

#include <atomic>
#include <string>

#include "server/LimitedProcess.h"
#include "server/ScoreStore.h"

struct SVerifierSetup {
    std::string game;          // the game's executable
    std::string workFolder;    // where each play gets a folder of its own
    double mostSeconds = 0;    // a cap on each play's time (processor and clock); 0: none
    uint64_t memoryBytes = 0;  // each play's address space; 0: none
};

// What one play found: a verdict, or a failure of the play itself (the process crashed, was
// killed on its limits, or could not be started), worth another try before it is a verdict.
struct SPlay {
    bool failed = false;
    SVerdict verdict;
};

class CVerifier {
public:
    explicit CVerifier(const SVerifierSetup& setup) : setup_(setup) {}

    // Plays a job until it has a verdict, trying a failed play once more. Returns false, with no
    // verdict, when `stop` cut it short.
    bool verify(const SJob& job, SVerdict& verdict, const std::atomic<bool>* stop = nullptr) const;
    // One play. `name` is the play's folder under the work folder.
    SPlay play(const SJob& job, const std::string& name, const std::atomic<bool>* stop) const;
    // The limits for a replay of these totals.
    SProcessLimits limitsFor(uint32_t pictures, uint32_t polls) const;

private:
    SVerifierSetup setup_;
};

// The verdict a game's report gives (its JSON as written with --report), with the initials
// asked for when the report holds no entry of the replay's own.
SVerdict verdictOfReport(const std::string& report, const std::string& askedInitials);
