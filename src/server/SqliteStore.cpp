#include "server/SqliteStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "server/StoreSchema.h"

// A prepared statement, finalised when it goes; its errors name the file.
class CSqliteStore::CStatement {
public:
    CStatement(sqlite3* db, const char* sql) : db_(db) {
        ok_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) == SQLITE_OK;
    }
    ~CStatement() { sqlite3_finalize(statement_); }
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;

    CStatement& bind(int64_t value) {
        ok_ = ok_ && sqlite3_bind_int64(statement_, ++bound_, value) == SQLITE_OK;
        return *this;
    }
    CStatement& bind(const std::string& text, bool blob = false) {
        ok_ = ok_ && (blob ? sqlite3_bind_blob64(statement_, ++bound_, text.data(), text.size(),
                                                 SQLITE_TRANSIENT)
                           : sqlite3_bind_text64(statement_, ++bound_, text.data(), text.size(),
                                                 SQLITE_TRANSIENT, SQLITE_UTF8)) == SQLITE_OK;
        return *this;
    }
    // The next row: true while there is one. A failure ends the rows and sets failed().
    bool step() {
        if (!ok_) return false;
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW) return true;
        ok_ = result == SQLITE_DONE;
        return false;
    }
    // Runs a statement that returns no rows.
    bool done(std::string& error) {
        step();
        return check(error);
    }
    bool check(std::string& error) const {
        if (!ok_) error = std::string("the score database: ") + sqlite3_errmsg(db_);
        return ok_;
    }
    int64_t number(int column) const { return sqlite3_column_int64(statement_, column); }
    std::string text(int column) const {
        const void* bytes = sqlite3_column_blob(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return bytes ? std::string(static_cast<const char*>(bytes), static_cast<size_t>(size))
                     : std::string();
    }

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
    bool ok_ = false;
    int bound_ = 0;
};

// In SQLite a claimed job is marked as being played; let go, it is queued again.
class CSqliteStore::CClaim : public CJobClaim {
public:
    CClaim(CSqliteStore& store, SJob job) : store_(store) { job_ = std::move(job); }
    ~CClaim() override {
        if (finished_) return;
        std::lock_guard lock(store_.mutex_);
        std::string ignored;
        CStatement(store_.db_, kLetGoSql).bind(job_.id).done(ignored);
    }
    bool finish(const SVerdict& verdict, std::string& error) override {
        std::lock_guard lock(store_.mutex_);
        CStatement finish(store_.db_, kFinishSql);
        finish.bind(verdict.accepted ? kStateAccepted : kStateRefused)
            .bind(verdict.status)
            .bind(verdict.reason)
            .bind(verdict.initials)
            .bind(verdict.score)
            .bind(verdict.level)
            .bind(job_.id);
        finished_ = finish.done(error);
        return finished_;
    }

private:
    CSqliteStore& store_;
    bool finished_ = false;
};

CSqliteStore::~CSqliteStore() {
    sqlite3_close(db_);
    if (lockFd_ >= 0) ::close(lockFd_);
}

bool CSqliteStore::run(const char* sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    error = path_ + ": " + (message ? message : "cannot be used");
    sqlite3_free(message);
    return false;
}

bool CSqliteStore::open(const std::string& path, std::string& error) {
    path_ = path;
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        error = path + ": " + (db_ ? sqlite3_errmsg(db_) : "cannot be opened");
        return false;
    }
    // One server to a file: a second one would take the first one's jobs for its own.
    lockFd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (lockFd_ < 0 || ::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        error = path + ": " +
                (errno == EWOULDBLOCK ? "another server uses this database" : std::strerror(errno));
        return false;
    }
    sqlite3_busy_timeout(db_, 5000);
    return run("PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL;", error) &&
           run(kSqliteSchema, error) && run(kRequeueSql, error);
}

bool CSqliteStore::stateLocked(int64_t id, SSubmissionState& out, std::string& error) {
    CStatement read(db_, kStateSql);
    read.bind(id);
    if (!read.step()) return read.check(error) && (error.clear(), false);
    out = SSubmissionState{};
    out.id = id;
    const int64_t state = read.number(0);
    out.state = state == kStateAccepted  ? ESubmissionState::kAccepted
                : state == kStateRefused ? ESubmissionState::kRefused
                                         : ESubmissionState::kQueued;
    out.status = static_cast<int>(read.number(1));
    out.reason = read.text(2);
    out.entry = {id,
                 0,
                 read.text(3),
                 static_cast<int32_t>(read.number(4)),
                 static_cast<int32_t>(read.number(5)),
                 read.number(6)};
    if (out.state != ESubmissionState::kAccepted) return true;
    CStatement rank(db_, kRankSql);
    rank.bind(out.entry.score).bind(out.entry.time).bind(id);
    if (!rank.step()) return rank.check(error) && false;
    out.entry.rank = static_cast<int32_t>(rank.number(0)) + 1;
    return true;
}

bool CSqliteStore::state(int64_t id, SSubmissionState& out, std::string& error) {
    std::lock_guard lock(mutex_);
    error.clear();
    return stateLocked(id, out, error);
}

bool CSqliteStore::submit(const SSubmission& submission, const std::string& replay, int64_t now,
                          size_t queueLimit, ESubmitted& result, SSubmissionState& state,
                          std::string& error) {
    std::lock_guard lock(mutex_);
    CStatement known(db_, kKnownSql);
    known.bind(submission.digest);
    if (known.step()) {
        const int64_t id = known.number(0);
        result = ESubmitted::kKnown;
        if (!stateLocked(id, state, error)) return false;
        if (!needsInitialsAgain(state, submission)) return true;
        result = ESubmitted::kRequeued;
        if (!CStatement(db_, kRequeueOneSql).bind(submission.initials).bind(id).done(error))
            return false;
        return stateLocked(id, state, error);
    }
    if (!known.check(error)) return false;
    CStatement waiting(db_, kWaitingSql);
    if (!waiting.step()) return waiting.check(error) && false;
    if (static_cast<uint64_t>(waiting.number(0)) >= queueLimit) {
        result = ESubmitted::kQueueFull;
        return true;
    }
    CStatement insert(db_, kInsertSql);
    insert.bind(submission.digest)
        .bind(replay, true)
        .bind(submission.initials)
        .bind(submission.pictures)
        .bind(submission.polls)
        .bind(now);
    if (!insert.step()) return insert.check(error) && false;
    result = ESubmitted::kQueued;
    state = SSubmissionState{};
    state.id = insert.number(0);
    insert.step();  // to the end of the statement, where it is committed
    return insert.check(error);
}

bool CSqliteStore::best(int64_t since, size_t count, std::vector<SEntry>& out, std::string& error) {
    std::lock_guard lock(mutex_);
    CStatement read(db_, kBestSql);
    read.bind(since).bind(static_cast<int64_t>(count));
    out.clear();
    while (read.step())
        out.push_back({read.number(0), static_cast<int32_t>(out.size() + 1), read.text(1),
                       static_cast<int32_t>(read.number(2)), static_cast<int32_t>(read.number(3)),
                       read.number(4)});
    return read.check(error);
}

bool CSqliteStore::replay(int64_t id, std::string& out, std::string& error) {
    std::lock_guard lock(mutex_);
    error.clear();
    CStatement read(db_, kReplaySql);
    read.bind(id);
    if (!read.step()) return read.check(error) && false;
    out = read.text(0);
    return true;
}

std::unique_ptr<CJobClaim> CSqliteStore::claim(std::string& error) {
    std::lock_guard lock(mutex_);
    error.clear();
    CStatement next(db_, kNextJobSql);
    if (!next.step()) {
        next.check(error);
        return nullptr;
    }
    SJob job{next.number(0), next.text(1), next.text(2), static_cast<uint32_t>(next.number(3)),
             static_cast<uint32_t>(next.number(4))};
    if (!CStatement(db_, kMarkPlayingSql).bind(job.id).done(error)) return nullptr;
    return std::make_unique<CClaim>(*this, std::move(job));
}
