#include "server/PostgresStore.h"

#include <pqxx/pqxx>

#include "server/StoreSchema.h"

namespace {

std::string databaseFailure(const std::exception& e) {
    std::string what = e.what();
    while (!what.empty() && (what.back() == '\n' || what.back() == ' ')) what.pop_back();
    for (char& c : what)
        if (c == '\n') c = ' ';
    return "the score database: " + what;
}

SSubmissionState stateOf(int64_t id, const pqxx::row& row) {
    SSubmissionState out;
    out.id = id;
    const int64_t state = row[0].as<int64_t>();
    out.state = state == kStateAccepted  ? ESubmissionState::kAccepted
                : state == kStateRefused ? ESubmissionState::kRefused
                                         : ESubmissionState::kQueued;
    out.status = row[1].as<int>();
    out.reason = row[2].as<std::string>();
    out.entry = {id,
                 0,
                 row[3].as<std::string>(),
                 row[4].as<int32_t>(),
                 row[5].as<int32_t>(),
                 row[6].as<int64_t>()};
    return out;
}

// A submission's state read in a transaction; false when there is none.
bool readState(pqxx::transaction_base& work, int64_t id, SSubmissionState& out) {
    const pqxx::result rows = work.exec_params(kStateSql, id);
    if (rows.empty()) return false;
    out = stateOf(id, rows[0]);
    if (out.state == ESubmissionState::kAccepted)
        out.entry.rank =
            work.exec_params1(kRankSql, out.entry.score, out.entry.time, id)[0].as<int32_t>() + 1;
    return true;
}

}  // namespace

// A connection taken from the pool and given back when done with, unless it broke.
class CPostgresStore::CLease {
public:
    explicit CLease(CPostgresStore& store, std::string& error)
        : store_(store), connection_(store.take(error)) {}
    ~CLease() {
        if (connection_ && connection_->is_open()) store_.give(std::move(connection_));
    }
    explicit operator bool() const { return connection_ != nullptr; }
    pqxx::connection& operator*() { return *connection_; }

private:
    CPostgresStore& store_;
    std::unique_ptr<pqxx::connection> connection_;
};

// The job's row stays locked by this transaction until the verdict is committed, or the claim
// is let go and the transaction rolled back.
class CPostgresStore::CClaim : public CJobClaim {
public:
    CClaim(CPostgresStore& store, std::string& error) : lease_(store, error) {}
    // The oldest job nobody holds; false when none waits.
    bool take() {
        work_ = std::make_unique<pqxx::work>(*lease_);
        const pqxx::result rows = work_->exec(kClaimJobSql);
        if (rows.empty()) return false;
        const pqxx::row row = rows[0];
        job_ = {row[0].as<int64_t>(), pqxx::binarystring(row[1]).str(), row[2].as<std::string>(),
                row[3].as<uint32_t>(), row[4].as<uint32_t>()};
        return true;
    }
    bool finish(const SVerdict& verdict, std::string& error) override {
        try {
            work_->exec_params(kFinishSql, verdict.accepted ? kStateAccepted : kStateRefused,
                               verdict.status, verdict.reason, verdict.initials, verdict.score,
                               verdict.level, job_.id);
            work_->commit();
            return true;
        } catch (const std::exception& e) {
            error = databaseFailure(e);
            return false;
        }
    }
    ~CClaim() override {
        try {
            work_.reset();  // rolls back what was not committed
        } catch (const std::exception&) {
        }
    }

    CLease lease_;

private:
    std::unique_ptr<pqxx::work> work_;
};

CPostgresStore::CPostgresStore() = default;
CPostgresStore::~CPostgresStore() = default;

std::unique_ptr<pqxx::connection> CPostgresStore::take(std::string& error) {
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            std::unique_ptr<pqxx::connection> connection = std::move(idle_.back());
            idle_.pop_back();
            return connection;
        }
    }
    try {
        return std::make_unique<pqxx::connection>(url_);
    } catch (const std::exception& e) {
        error = databaseFailure(e);
        return nullptr;
    }
}

void CPostgresStore::give(std::unique_ptr<pqxx::connection> connection) {
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(connection));
}

bool CPostgresStore::open(const std::string& url, std::string& error) {
    url_ = url;
    CLease connection(*this, error);
    if (!connection) return false;
    try {
        pqxx::work work(*connection);
        // Two servers starting at once would both make the table: one waits for the other.
        work.exec("SELECT pg_advisory_xact_lock(4242)");
        work.exec(kPostgresSchema);
        work.commit();
        return true;
    } catch (const std::exception& e) {
        error = databaseFailure(e);
        return false;
    }
}

bool CPostgresStore::submit(const SSubmission& submission, const std::string& replay, int64_t now,
                            size_t queueLimit, ESubmitted& result, SSubmissionState& state,
                            std::string& error) {
    CLease connection(*this, error);
    if (!connection) return false;
    try {
        pqxx::work work(*connection);
        for (int pass = 0; pass < 2; ++pass) {
            const pqxx::result known = work.exec_params(kKnownSql, submission.digest);
            if (!known.empty()) {
                const int64_t id = known[0][0].as<int64_t>();
                readState(work, id, state);
                result = ESubmitted::kKnown;
                if (needsInitialsAgain(state, submission)) {
                    work.exec_params(kRequeueOneSql, submission.initials, id);
                    readState(work, id, state);
                    result = ESubmitted::kRequeued;
                }
                work.commit();
                return true;
            }
            if (pass == 0 &&
                work.exec1(kWaitingSql)[0].as<uint64_t>() >= static_cast<uint64_t>(queueLimit)) {
                result = ESubmitted::kQueueFull;
                return true;
            }
            const pqxx::result inserted = work.exec_params(
                kInsertSql, submission.digest, pqxx::binarystring(replay.data(), replay.size()),
                submission.initials, submission.pictures, submission.polls, now);
            if (!inserted.empty()) {
                work.commit();
                result = ESubmitted::kQueued;
                state = SSubmissionState{};
                state.id = inserted[0][0].as<int64_t>();
                return true;
            }
        }
        error = "the score database: a submission neither kept nor found";
        return false;
    } catch (const std::exception& e) {
        error = databaseFailure(e);
        return false;
    }
}

bool CPostgresStore::state(int64_t id, SSubmissionState& out, std::string& error) {
    error.clear();
    CLease connection(*this, error);
    if (!connection) return false;
    try {
        pqxx::read_transaction work(*connection);
        return readState(work, id, out);
    } catch (const std::exception& e) {
        error = databaseFailure(e);
        return false;
    }
}

bool CPostgresStore::best(int64_t since, size_t count, std::vector<SEntry>& out,
                          std::string& error) {
    CLease connection(*this, error);
    if (!connection) return false;
    try {
        pqxx::read_transaction work(*connection);
        out.clear();
        for (const pqxx::row& row : work.exec_params(kBestSql, since, static_cast<int64_t>(count)))
            out.push_back({row[0].as<int64_t>(), static_cast<int32_t>(out.size() + 1),
                           row[1].as<std::string>(), row[2].as<int32_t>(), row[3].as<int32_t>(),
                           row[4].as<int64_t>()});
        return true;
    } catch (const std::exception& e) {
        error = databaseFailure(e);
        return false;
    }
}

bool CPostgresStore::replay(int64_t id, std::string& out, std::string& error) {
    error.clear();
    CLease connection(*this, error);
    if (!connection) return false;
    try {
        pqxx::read_transaction work(*connection);
        const pqxx::result rows = work.exec_params(kReplaySql, id);
        if (rows.empty()) return false;
        out = pqxx::binarystring(rows[0][0]).str();
        return true;
    } catch (const std::exception& e) {
        error = databaseFailure(e);
        return false;
    }
}

std::unique_ptr<CJobClaim> CPostgresStore::claim(std::string& error) {
    error.clear();
    auto claim = std::make_unique<CClaim>(*this, error);
    if (!claim->lease_) return nullptr;
    try {
        if (claim->take()) return claim;
    } catch (const std::exception& e) {
        error = databaseFailure(e);
    }
    return nullptr;
}
