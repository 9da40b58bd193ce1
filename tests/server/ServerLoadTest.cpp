// The server under load: 200 submissions at once of real replays, two verifiers, the server
// killed with SIGKILL in the middle and started again. Every submission ends as an entry, and
// every replay is one entry.

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "server/ServerSupport.h"
#include "support/RunGame.h"

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

constexpr size_t kSubmissions = 200;
// Fifty replays sent four times each: the copies of one race each other to be its one entry.
constexpr size_t kReplays = 50;
// A client gives up after this long, or this many requests.
constexpr auto kClientTime = std::chrono::seconds(240);
constexpr int kMostRequests = 2000;

struct SOutcome {
    std::string state;  // "accepted", "refused", or what went wrong
    int64_t id = 0;
    int score = 0;
    int requests = 0;
};

// One player's client: sends, is told to wait or to come back, asks where it is told to, and
// keeps trying through a server that is not there for a while.
SOutcome submit(int port, const std::string& replay, const std::string& initials,
                std::atomic<int>& accepted) {
    SOutcome out;
    httplib::Client http("127.0.0.1", port);
    http.set_connection_timeout(2);
    http.set_read_timeout(30);
    const auto deadline = Clock::now() + kClientTime;
    std::string where;
    while (Clock::now() < deadline && out.requests++ < kMostRequests) {
        auto result = where.empty() ? http.Post(("/api/scores?initials=" + initials).c_str(),
                                                replay, "application/octet-stream")
                                    : http.Get(where.c_str());
        if (!result) {  // the server is down: come back soon
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            continue;
        }
        const json body = json::parse(result->body, nullptr, false);
        json entry;
        if (!where.empty() && body.is_object() && body.value("state", "") == "accepted")
            entry = body["entry"];
        else if (where.empty() && (result->status == 200 || result->status == 201))
            entry = body;
        if (result->status == 202) where = result->get_header_value("Location");
        if (entry.is_object() && entry.contains("id")) {
            out.state = "accepted";
            out.id = entry["id"].get<int64_t>();
            out.score = entry["score"].get<int>();
            ++accepted;
            return out;
        }
        if ((body.is_object() && body.value("state", "") == "refused") ||
            (result->status >= 400 && result->status != 429 && result->status != 503)) {
            out.state = "refused: " + result->body;
            return out;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    out.state = "gave up";
    return out;
}

class ServerLoad : public ::testing::TestWithParam<const char*> {};

TEST_P(ServerLoad, TwoHundredAtOnceThroughAKillNoneLostNoneListedTwice) {
    const std::string dir = freshTestDir(std::string("server-load-") + GetParam());
    const std::vector<SMadeReplay> made = makeHighScoreReplays(dir, kReplays);
    ASSERT_EQ(made.size(), kReplays);
    CPostgres postgres;
    std::string error;
    std::vector<std::string> args = storeArguments(GetParam(), dir, postgres, error);
    ASSERT_FALSE(args.empty()) << error;
    args.insert(args.end(), {"--verifiers", "2", "--rate", "0", "--answer-within", "2"});
    CServerProcess server;
    ASSERT_TRUE(server.start(args, dir)) << server.log();
    const int port = server.port();

    const auto began = Clock::now();
    std::atomic<int> accepted{0};
    std::vector<SOutcome> outcomes(kSubmissions);
    std::vector<std::thread> clients;
    for (size_t i = 0; i < kSubmissions; ++i)
        clients.emplace_back([&, i] {
            const size_t r = i % kReplays;
            const std::string initials = {static_cast<char>('A' + r % 26),
                                          static_cast<char>('A' + r / 26), 'Z'};
            outcomes[i] = submit(port, made[r].bytes, initials, accepted);
        });
    // Killed once some entries are in and most are still to come.
    while (accepted < 40 && Clock::now() - began < kClientTime)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const int acceptedAtKill = accepted;
    server.kill9();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(server.start(args, dir, port)) << server.log();
    for (std::thread& client : clients) client.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - began).count();

    // None lost: every submission ended as an entry, with its replay's score, and the copies
    // of a replay as one entry.
    std::map<size_t, std::set<int64_t>> idsOfReplay;
    int requests = 0;
    for (size_t i = 0; i < kSubmissions; ++i) {
        EXPECT_EQ(outcomes[i].state, "accepted") << i;
        EXPECT_EQ(outcomes[i].score, made[i % kReplays].score) << i;
        idsOfReplay[i % kReplays].insert(outcomes[i].id);
        requests += outcomes[i].requests;
    }
    std::set<int64_t> ids;
    for (const auto& [replay, set] : idsOfReplay) {
        EXPECT_EQ(set.size(), 1u) << "replay " << replay;
        ids.insert(set.begin(), set.end());
    }
    // None listed twice: the table holds each replay's entry once.
    httplib::Client http("127.0.0.1", port);
    auto table = http.Get("/api/scores");
    ASSERT_TRUE(table);
    std::multiset<int64_t> listed;
    const json scores = json::parse(table->body, nullptr, false)["scores"];
    for (const json& e : scores) listed.insert(e["id"].get<int64_t>());
    EXPECT_EQ(listed, std::multiset<int64_t>(ids.begin(), ids.end()));
    std::printf(
        "%zu submissions of %zu replays, %s, 2 verifiers: %.1f s, %d requests; killed "
        "with %d accepted, restarted; %zu accepted, %zu entries listed once each\n",
        kSubmissions, kReplays, GetParam(), seconds, requests, acceptedAtKill,
        static_cast<size_t>(accepted), listed.size());
    EXPECT_EQ(server.stop(), 0) << server.log();
}

INSTANTIATE_TEST_SUITE_P(Engines, ServerLoad, ::testing::Values("sqlite", "postgres"),
                         [](const auto& engine) { return std::string(engine.param); });

}  // namespace
