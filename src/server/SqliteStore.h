#pragma once
// The world table in one SQLite file (write-ahead log; every commit on the disk before the
// answer), for one server process: the file is locked while the server runs, and the jobs a
// killed server was playing are queued again when the next one opens it.

#include <sqlite3.h>

#include <mutex>

#include "server/ScoreStore.h"

class CSqliteStore : public CScoreStore {
public:
    ~CSqliteStore() override;
    // Opens (or makes) the file. False, with a one-line reason.
    bool open(const std::string& path, std::string& error);

    bool submit(const SSubmission& submission, const std::string& replay, int64_t now,
                size_t queueLimit, ESubmitted& result, SSubmissionState& state,
                std::string& error) override;
    bool state(int64_t id, SSubmissionState& out, std::string& error) override;
    bool best(int64_t since, size_t count, std::vector<SEntry>& out, std::string& error) override;
    bool replay(int64_t id, std::string& out, std::string& error) override;
    std::unique_ptr<CJobClaim> claim(std::string& error) override;

private:
    class CClaim;
    class CStatement;
    bool run(const char* sql, std::string& error);
    bool stateLocked(int64_t id, SSubmissionState& out, std::string& error);

    std::mutex mutex_;  // one connection, one statement at a time
    sqlite3* db_ = nullptr;
    int lockFd_ = -1;
    std::string path_;
};
