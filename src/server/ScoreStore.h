#pragma once
// Where the world table is kept: every submission (its replay, the initials asked for, when it
// came) with its verdict once played, in one table that is the verifiers' queue too. Two
// engines keep it (CSqliteStore, CPostgresStore); nothing here throws, every failure of the
// storage is a false with a one-line reason.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "server/Submission.h"

// An entry of the table.
struct SEntry {
    int64_t id = 0;
    int32_t rank = 0;  // in the whole table, from 1
    std::string initials;
    int32_t score = 0;
    int32_t level = 0;
    int64_t time = 0;  // when it was sent, seconds since 1970 (UTC)
};

// A submission's progress: waiting to be played, in the table, or refused.
enum class ESubmissionState : uint8_t { kQueued, kAccepted, kRefused };

struct SSubmissionState {
    int64_t id = 0;
    ESubmissionState state = ESubmissionState::kQueued;
    int status = 0;      // refused: the HTTP status that says why
    std::string reason;  // refused: why
    SEntry entry;        // accepted
};

// What playing a replay found.
struct SVerdict {
    bool accepted = false;
    int status = 0;  // refused: 422, or 400 when only the initials were missing
    std::string reason;
    std::string initials;  // accepted: the entry
    int32_t score = 0;
    int32_t level = 0;
};

// A submission for a verifier to play.
struct SJob {
    int64_t id = 0;
    std::string replay;
    std::string initials;  // asked for; empty when the replay is to give them
    uint32_t pictures = 0;
    uint32_t polls = 0;
};

// A job a verifier holds: nobody else plays it until it is finished or let go. A claim let go
// without a verdict (the verifier stopped, the server was killed) leaves the job queued.
class CJobClaim {
public:
    virtual ~CJobClaim() = default;
    const SJob& job() const { return job_; }
    // Keeps the verdict; the job is done.
    virtual bool finish(const SVerdict& verdict, std::string& error) = 0;

protected:
    SJob job_;
};

enum class EPeriod : uint8_t { kDay, kMonth, kAll };

// What a submission found in the store.
enum class ESubmitted : uint8_t {
    kQueued,     // new, queued for a verifier
    kKnown,      // the same replay was sent before: its state is the answer
    kRequeued,   // sent before and refused only for want of initials, which this one gives
    kQueueFull,  // not kept: too many wait already
};

class CScoreStore {
public:
    virtual ~CScoreStore() = default;

    // Keeps a submission that passed its checks, unless the same replay is known or
    // `queueLimit` submissions wait already. `state` is the submission's (its id when new).
    virtual bool submit(const SSubmission& submission, const std::string& replay, int64_t now,
                        size_t queueLimit, ESubmitted& result, SSubmissionState& state,
                        std::string& error) = 0;
    // A submission's state; false with an empty error when there is no such submission.
    virtual bool state(int64_t id, SSubmissionState& out, std::string& error) = 0;
    // The best `count` entries sent since `since` (seconds since 1970), best first, ranked
    // among them; the same score ranks first the entry that came first.
    virtual bool best(int64_t since, size_t count, std::vector<SEntry>& out,
                      std::string& error) = 0;
    // An accepted entry's replay; false with an empty error when there is no such entry.
    virtual bool replay(int64_t id, std::string& out, std::string& error) = 0;
    // The oldest queued job, claimed; null with an empty error when none waits.
    virtual std::unique_ptr<CJobClaim> claim(std::string& error) = 0;
};

// The store a server is started with: PostgreSQL when a URL is given, else the SQLite file.
// Null, with a one-line reason, when it cannot be opened.
std::unique_ptr<CScoreStore> openScoreStore(const std::string& sqliteFile,
                                            const std::string& postgresUrl, std::string& error);

// The start of the day and of the month (UTC) that `now` is in, for the periods of the table.
int64_t periodStart(EPeriod period, int64_t now);
// A time as the table shows its date: YYYY-MM-DD (UTC).
std::string dateOf(int64_t time);
