#include "server/ScoreServer.h"

#include <httplib.h>

#include <chrono>
#include <ctime>
#include <nlohmann/json.hpp>
#include <optional>

#include "platform/Messages.h"
#include "server/TablePage.h"

namespace {

using nlohmann::json;
constexpr size_t kTableLength = 100;
// Threads that take requests: a submission waiting for its verdict holds one.
constexpr size_t kRequestThreads = 32;
constexpr const char* kJson = "application/json";

void answer(httplib::Response& response, int status, const json& body) {
    response.status = status;
    response.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace) + "\n", kJson);
}

void refuse(httplib::Response& response, int status, const std::string& reason) {
    answer(response, status, {{"error", reason}});
}

json entryJson(const SEntry& e) {
    return {{"rank", e.rank},   {"initials", e.initials}, {"score", e.score},
            {"level", e.level}, {"date", dateOf(e.time)}, {"id", e.id}};
}

json stateJson(const SSubmissionState& state) {
    json out = {{"id", state.id}};
    switch (state.state) {
        case ESubmissionState::kQueued:
            out["state"] = "queued";
            break;
        case ESubmissionState::kAccepted:
            out["state"] = "accepted";
            out["entry"] = entryJson(state.entry);
            break;
        case ESubmissionState::kRefused:
            out["state"] = "refused";
            out["status"] = state.status;
            out["error"] = state.reason;
            break;
    }
    return out;
}

int64_t secondsNow() {
    return static_cast<int64_t>(std::time(nullptr));
}

int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The number in the path's first group; 0 for none that fits.
int64_t idOf(const httplib::Request& request) {
    const std::string text = request.matches.size() > 1 ? request.matches[1].str() : "";
    if (text.empty() || text.size() > 15) return 0;
    return std::stoll(text);
}

bool isLoopback(const std::string& address) {
    return address.rfind("127.", 0) == 0 || address == "::1" || address == "::ffff:127.0.0.1";
}

}  // namespace

CScoreServer::CScoreServer(CScoreStore& store, CVerifierPool& verifiers, const SServerSetup& setup)
    : store_(store),
      verifiers_(verifiers),
      setup_(setup),
      rate_(setup.ratePerMinute),
      http_(std::make_unique<httplib::Server>()) {
    httplib::Server& http = *http_;
    http.new_task_queue = [] { return new httplib::ThreadPool(kRequestThreads); };
    http.set_payload_max_length(kMostReplayBytes);
    http.set_read_timeout(20, 0);
    http.set_write_timeout(20, 0);
    http.set_default_headers({{"Access-Control-Allow-Origin", "*"},
                              {"Access-Control-Expose-Headers", "Location, Retry-After"}});
    http.Options(R"(/api/.*)", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Access-Control-Allow-Methods", "GET, POST");
        response.set_header("Access-Control-Allow-Headers", "Content-Type");
        response.status = 204;
    });
    http.Post("/api/scores", [this](const auto& q, auto& r) { submit(q, r); });
    http.Get("/api/scores", [this](const auto& q, auto& r) { scores(q, r); });
    http.Get(R"(/api/scores/(\d+)/replay)", [this](const auto& q, auto& r) { replay(q, r); });
    http.Get(R"(/api/submissions/(\d+))", [this](const auto& q, auto& r) { submission(q, r); });
    http.Get("/", [this](const auto& q, auto& r) { page(q, r); });
    if (!setup_.pageFolder.empty()) http.set_mount_point("/play", setup_.pageFolder);
    // httplib's own refusals (a body past the limit, no such path) say why too.
    http.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty()) return;
        refuse(response, response.status,
               response.status == 413 ? "a replay of two hours of play takes at most " +
                                            std::to_string(kMostReplayBytes) + " bytes"
               : response.status == 404 ? "no such page"
                                        : "refused (HTTP " + std::to_string(response.status) + ")");
    });
}

CScoreServer::~CScoreServer() = default;

bool CScoreServer::bind(std::string& error) {
    port_ = setup_.port == 0 ? http_->bind_to_any_port(setup_.host)
                             : (http_->bind_to_port(setup_.host, setup_.port) ? setup_.port : -1);
    if (port_ > 0) return true;
    error = "cannot take requests at " + setup_.host + ":" + std::to_string(setup_.port) +
            " (in use, or not an address of this machine)";
    return false;
}

void CScoreServer::run() {
    http_->listen_after_bind();
}

void CScoreServer::stop() {
    http_->stop();
}

std::string CScoreServer::addressOf(const httplib::Request& request) const {
    if (!setup_.trustProxy || !isLoopback(request.remote_addr) ||
        !request.has_header("X-Forwarded-For"))
        return request.remote_addr;
    // The proxy adds the address it was asked from at the end.
    std::string forwarded = request.get_header_value("X-Forwarded-For");
    forwarded =
        forwarded.substr(forwarded.rfind(',') == forwarded.npos ? 0 : forwarded.rfind(',') + 1);
    forwarded.erase(0, forwarded.find_first_not_of(' '));
    forwarded.erase(forwarded.find_last_not_of(' ') + 1);
    return forwarded.empty() ? request.remote_addr : forwarded;
}

void CScoreServer::submit(const httplib::Request& request, httplib::Response& response) {
    int retryAfter = 0;
    if (!rate_.allow(addressOf(request), steadyMs(), retryAfter)) {
        response.set_header("Retry-After", std::to_string(retryAfter));
        return refuse(response, 429, "too many submissions from this address; try again later");
    }
    std::optional<std::string> initials;
    if (request.has_param("initials")) initials = request.get_param_value("initials");
    SSubmission submission;
    if (const SRefusal refused = checkSubmission(request.body, initials, setup_.game, submission))
        return refuse(response, refused.status, refused.reason);

    ESubmitted result;
    SSubmissionState state;
    std::string error;
    if (!store_.submit(submission, request.body, secondsNow(), setup_.queueLimit, result, state,
                       error)) {
        reportLine(error);
        return refuse(response, 500, "the table cannot be reached; try again later");
    }
    if (result == ESubmitted::kQueueFull) {
        response.set_header("Retry-After", "60");
        return refuse(response, 503, "too many replays wait to be played; try again later");
    }
    if (result != ESubmitted::kKnown) verifiers_.wake();
    // A new one waits a little for its verdict: most are played in less.
    const int64_t deadline = steadyMs() + static_cast<int64_t>(setup_.answerWithin * 1000);
    while (state.state == ESubmissionState::kQueued && steadyMs() < deadline) {
        verifiers_.waitForVerdict(std::chrono::milliseconds(
            std::min<int64_t>(250, std::max<int64_t>(1, deadline - steadyMs()))));
        if (!store_.state(state.id, state, error) && !error.empty()) break;
    }
    const std::string where = "/api/submissions/" + std::to_string(state.id);
    switch (state.state) {
        case ESubmissionState::kQueued:
            response.set_header("Location", where);
            response.set_header("Retry-After", "1");
            return answer(response, 202, {{"id", state.id}, {"state", "queued"}});
        case ESubmissionState::kAccepted:
            response.set_header("Location", "/api/scores/" + std::to_string(state.id) + "/replay");
            return answer(response, result == ESubmitted::kKnown ? 200 : 201,
                          entryJson(state.entry));
        case ESubmissionState::kRefused:
            return refuse(response, state.status, state.reason);
    }
}

void CScoreServer::submission(const httplib::Request& request, httplib::Response& response) {
    SSubmissionState state;
    std::string error;
    if (!store_.state(idOf(request), state, error)) {
        if (!error.empty()) reportLine(error);
        return refuse(response, error.empty() ? 404 : 500,
                      error.empty() ? "no such submission" : "the table cannot be reached");
    }
    if (state.state == ESubmissionState::kQueued) response.set_header("Retry-After", "1");
    answer(response, 200, stateJson(state));
}

namespace {

// The period a request asks for; false for one that is not a period.
bool periodOf(const httplib::Request& request, EPeriod& period) {
    const std::string asked =
        request.has_param("period") ? request.get_param_value("period") : "all";
    if (asked == "day")
        period = EPeriod::kDay;
    else if (asked == "month")
        period = EPeriod::kMonth;
    else if (asked == "all")
        period = EPeriod::kAll;
    else
        return false;
    return true;
}

}  // namespace

void CScoreServer::scores(const httplib::Request& request, httplib::Response& response) {
    EPeriod period;
    if (!periodOf(request, period)) return refuse(response, 400, "period is day, month or all");
    std::vector<SEntry> entries;
    std::string error;
    if (!store_.best(periodStart(period, secondsNow()), kTableLength, entries, error)) {
        reportLine(error);
        return refuse(response, 500, "the table cannot be reached");
    }
    json list = json::array();
    for (const SEntry& e : entries) list.push_back(entryJson(e));
    answer(response, 200, {{"scores", list}});
}

void CScoreServer::replay(const httplib::Request& request, httplib::Response& response) {
    std::string bytes, error;
    const int64_t id = idOf(request);
    if (!store_.replay(id, bytes, error)) {
        if (!error.empty()) reportLine(error);
        return refuse(response, error.empty() ? 404 : 500,
                      error.empty() ? "no such entry" : "the table cannot be reached");
    }
    response.set_header("Content-Disposition",
                        "attachment; filename=\"boltfever-world-" + std::to_string(id) + ".bfr\"");
    response.set_content(bytes, "application/octet-stream");
}

void CScoreServer::page(const httplib::Request& request, httplib::Response& response) {
    EPeriod period;
    if (!periodOf(request, period)) period = EPeriod::kAll;
    std::vector<SEntry> entries;
    std::string error;
    if (!store_.best(periodStart(period, secondsNow()), kTableLength, entries, error)) {
        reportLine(error);
        response.status = 500;
    }
    response.set_content(tablePage(entries, period, !setup_.pageFolder.empty()),
                         "text/html; charset=utf-8");
}
