#pragma once
// The world table in PostgreSQL, for several servers on several machines: each keeps what it is
// sent in the one table, and the verifiers of all of them take jobs from it. A verifier holds
// its job's row locked in a transaction while it plays it (SELECT ... FOR UPDATE SKIP LOCKED):
// the others pass it by, and when the verifier's server dies the transaction goes with it and
// the job is queued for whoever comes next.

#include <memory>
#include <mutex>
#include <pqxx/connection>
#include <vector>

#include "server/ScoreStore.h"

class CPostgresStore : public CScoreStore {
public:
    CPostgresStore();
    ~CPostgresStore() override;
    // Connects and makes the table. False, with a one-line reason.
    bool open(const std::string& url, std::string& error);

    bool submit(const SSubmission& submission, const std::string& replay, int64_t now,
                size_t queueLimit, ESubmitted& result, SSubmissionState& state,
                std::string& error) override;
    bool state(int64_t id, SSubmissionState& out, std::string& error) override;
    bool best(int64_t since, size_t count, std::vector<SEntry>& out, std::string& error) override;
    bool replay(int64_t id, std::string& out, std::string& error) override;
    std::unique_ptr<CJobClaim> claim(std::string& error) override;

private:
    class CClaim;
    class CLease;
    // A connection of the pool, made when none is free. Null, with the reason, when the
    // database cannot be reached.
    std::unique_ptr<pqxx::connection> take(std::string& error);
    void give(std::unique_ptr<pqxx::connection> connection);

    std::string url_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<pqxx::connection>> idle_;
};
