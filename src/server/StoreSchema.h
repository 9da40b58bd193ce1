#pragma once
// The one table both engines keep the world table in, and the statements on it. Parameters are
// written $1, $2, ... as PostgreSQL has them; SQLite takes them so too, by name, the same name
// being the same parameter.

#include <cstdint>

#include "server/ScoreStore.h"

// A submission's state in the table. Playing: claimed by a verifier of SQLite's one server (in
// PostgreSQL a claimed job stays queued, locked by the verifier's transaction).
constexpr int64_t kStateQueued = 0;
constexpr int64_t kStateAccepted = 1;
constexpr int64_t kStateRefused = 2;
constexpr int64_t kStatePlaying = 3;

#define BOLTFEVER_SUBMISSION_COLUMNS(serial, blob)                                               \
    "CREATE TABLE IF NOT EXISTS submissions ("                                                   \
    " id " serial                                                                                \
    " PRIMARY KEY,"                                                                              \
    " digest TEXT NOT NULL UNIQUE,"                                                              \
    " replay " blob                                                                              \
    " NOT NULL,"                                                                                 \
    " asked_initials TEXT NOT NULL,"                                                             \
    " pictures BIGINT NOT NULL,"                                                                 \
    " polls BIGINT NOT NULL,"                                                                    \
    " received BIGINT NOT NULL,"                                                                 \
    " state SMALLINT NOT NULL DEFAULT 0,"                                                        \
    " status INTEGER NOT NULL DEFAULT 0,"                                                        \
    " reason TEXT NOT NULL DEFAULT '',"                                                          \
    " initials TEXT NOT NULL DEFAULT '',"                                                        \
    " score INTEGER NOT NULL DEFAULT 0,"                                                         \
    " level INTEGER NOT NULL DEFAULT 0);"                                                        \
    "CREATE INDEX IF NOT EXISTS submissions_queue ON submissions (state, id);"                   \
    "CREATE INDEX IF NOT EXISTS submissions_table ON submissions (state, score DESC, received, " \
    "id);"

constexpr const char* kSqliteSchema = BOLTFEVER_SUBMISSION_COLUMNS("INTEGER", "BLOB");
constexpr const char* kPostgresSchema = BOLTFEVER_SUBMISSION_COLUMNS("BIGSERIAL", "BYTEA");
#undef BOLTFEVER_SUBMISSION_COLUMNS

constexpr const char* kKnownSql = "SELECT id FROM submissions WHERE digest = $1";
constexpr const char* kStateSql =
    "SELECT state, status, reason, initials, score, level, received FROM submissions "
    "WHERE id = $1";
// Entries before this one: a higher score, or the same score sent earlier.
constexpr const char* kRankSql =
    "SELECT count(*) FROM submissions WHERE state = 1 AND (score > $1 OR (score = $1 AND "
    "(received < $2 OR (received = $2 AND id < $3))))";
constexpr const char* kWaitingSql = "SELECT count(*) FROM submissions WHERE state IN (0, 3)";
// Another server may keep the same replay between our look and our insert: then none is kept
// here, and the one it kept is the answer.
constexpr const char* kInsertSql =
    "INSERT INTO submissions (digest, replay, asked_initials, pictures, polls, received) "
    "VALUES ($1, $2, $3, $4, $5, $6) ON CONFLICT (digest) DO NOTHING RETURNING id";
constexpr const char* kRequeueOneSql =
    "UPDATE submissions SET asked_initials = $1, state = 0, status = 0, reason = '' "
    "WHERE id = $2";
constexpr const char* kBestSql =
    "SELECT id, initials, score, level, received FROM submissions "
    "WHERE state = 1 AND received >= $1 ORDER BY score DESC, received, id LIMIT $2";
constexpr const char* kReplaySql = "SELECT replay FROM submissions WHERE id = $1 AND state = 1";
#define BOLTFEVER_NEXT_JOB                                                                 \
    "SELECT id, replay, asked_initials, pictures, polls FROM submissions WHERE state = 0 " \
    "ORDER BY id LIMIT 1"
constexpr const char* kNextJobSql = BOLTFEVER_NEXT_JOB;
// Verifiers anywhere take the oldest job nobody holds, without waiting for one that is held.
constexpr const char* kClaimJobSql = BOLTFEVER_NEXT_JOB " FOR UPDATE SKIP LOCKED";
#undef BOLTFEVER_NEXT_JOB
constexpr const char* kMarkPlayingSql = "UPDATE submissions SET state = 3 WHERE id = $1";
constexpr const char* kLetGoSql = "UPDATE submissions SET state = 0 WHERE id = $1 AND state = 3";
constexpr const char* kRequeueSql = "UPDATE submissions SET state = 0 WHERE state = 3";
constexpr const char* kFinishSql =
    "UPDATE submissions SET state = $1, status = $2, reason = $3, initials = $4, score = $5, "
    "level = $6 WHERE id = $7";

// A replay refused only because nobody said whose it is is played again when it comes back
// with initials.
inline bool needsInitialsAgain(const SSubmissionState& state, const SSubmission& submission) {
    return state.state == ESubmissionState::kRefused && state.status == 400 &&
           !submission.initials.empty();
}
