#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "server/ServerSupport.h"
#include "server/Submission.h"
#include "support/RunGame.h"

namespace {

using nlohmann::json;

// Where the header's blocks end and the game's version begins.
size_t identityAt(const std::string& replay) {
    size_t at = 30;
    for (int block = 0; block < 2; ++block)
        at += 2 + static_cast<uint8_t>(replay[at]) + 256 * static_cast<uint8_t>(replay[at + 1]);
    return at;
}

uint32_t varint(const std::string& bytes, size_t& at) {
    uint32_t value = 0;
    for (int shift = 0; at < bytes.size(); shift += 7) {
        const auto byte = static_cast<uint8_t>(bytes[at++]);
        value |= static_cast<uint32_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80)) break;
    }
    return value;
}

// The replay with the buttons of its longest run of polls changed: fire held becomes fire held
// walking left, and the game goes otherwise.
std::string withOneButtonChanged(std::string replay) {
    size_t at = identityAt(replay);
    at += 1 + static_cast<uint8_t>(replay[at]) + 8;  // past the game's version and maps
    size_t longest = 0, longestCount = 0;
    while (at < replay.size() && replay[at] != 'E') {
        const char tag = replay[at++];
        const size_t mask = at;
        at += tag == 'B' ? 2 : tag == 'W' ? 4 : 0;
        const uint32_t count = varint(replay, at);  // of polls, or the picture's number
        if (tag == 'P') at += 8;
        if (tag == 'B' && count > longestCount) longest = mask, longestCount = count;
    }
    replay[longest] = static_cast<char>(replay[longest] | (1 << 2));  // left
    return replay;
}

class CClient {
public:
    explicit CClient(int port) : http_("127.0.0.1", port) {
        http_.set_connection_timeout(5);
        http_.set_read_timeout(60);
    }
    // The answer's status and JSON (null for a body that is none).
    std::pair<int, json> post(const std::string& replay, const std::string& query) {
        auto result =
            http_.Post(("/api/scores" + query).c_str(), replay, "application/octet-stream");
        if (!result) return {0, nullptr};
        location_ = result->get_header_value("Location");
        retryAfter_ = result->get_header_value("Retry-After");
        return {result->status, json::parse(result->body, nullptr, false)};
    }
    std::pair<int, std::string> get(const std::string& path) {
        auto result = http_.Get(path.c_str());
        return result ? std::pair{result->status, result->body} : std::pair{0, std::string()};
    }
    json getJson(const std::string& path) { return json::parse(get(path).second, nullptr, false); }
    // Asks where a queued submission said to until it is no longer queued (at most a minute).
    json waitFor(const std::string& where) {
        json state;
        for (int i = 0; i < 600; ++i) {
            state = getJson(where);
            if (state.is_object() && state.value("state", "") != "queued") break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return state;
    }
    const std::string& location() const { return location_; }
    const std::string& retryAfter() const { return retryAfter_; }

private:
    httplib::Client http_;
    std::string location_, retryAfter_;
};

// The ids of the table's entries, best first.
std::vector<int64_t> listedIds(CClient& client, const std::string& query = "") {
    std::vector<int64_t> ids;
    const json table = client.getJson("/api/scores" + query);
    if (table.is_object() && table["scores"].is_array())
        for (const json& e : table["scores"]) ids.push_back(e["id"].get<int64_t>());
    return ids;
}

class ServerRun : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        dir_ = freshTestDir(std::string("server-") + GetParam() + "-" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::string error;
        store_ = storeArguments(GetParam(), dir_, postgres_, error);
        ASSERT_FALSE(store_.empty()) << error;
    }
    std::vector<std::string> with(std::vector<std::string> args) const {
        args.insert(args.end(), store_.begin(), store_.end());
        return args;
    }

    std::string dir_;
    CPostgres postgres_;
    std::vector<std::string> store_;
};

// A real high score's replay enters with the score the game gave it, once however often it is
// sent; every replay altered from it is refused with its own status and never listed.
TEST_P(ServerRun, AHighScoreEntersWithItsOwnScoreAndEveryAlteredReplayIsRefused) {
    const std::vector<SMadeReplay> made = makeHighScoreReplays(dir_, 2);
    ASSERT_EQ(made.size(), 2u);
    const std::string& good = made[0].bytes;
    CServerProcess server;
    ASSERT_TRUE(server.start(with({"--verifiers", "1", "--rate", "0"}), dir_)) << server.log();
    CClient client(server.port());

    auto [status, entry] = client.post(good, "?initials=ABC");
    ASSERT_EQ(status, 201) << entry.dump() << server.log();
    EXPECT_EQ(entry["score"], made[0].score);
    EXPECT_EQ(entry["level"], 9);
    // The initials the replay's own entry was made with, not those asked for.
    ASSERT_EQ(made[0].initials.size(), 3u);
    EXPECT_EQ(entry["initials"], made[0].initials);
    EXPECT_EQ(entry["rank"], 1);
    const int64_t id = entry["id"].get<int64_t>();
    // The same replay again, under other initials too, is the same entry.
    auto [again, same] = client.post(good, "?initials=XYZ");
    EXPECT_EQ(again, 200);
    EXPECT_EQ(same, entry);

    std::string otherVersion = good, otherMaps = good, otherLevel = good;
    otherVersion[identityAt(good) + 4] ^= 1;  // "1.21" -> "1.20"
    otherMaps[identityAt(good) + 1 + static_cast<uint8_t>(good[identityAt(good)])] ^= 1;
    otherLevel[28] = 8;  // the game started at level 8, not 9
    std::ifstream golden(BOLTFEVER_SOURCE_DIR
                         "/tests/golden/scores/"
                         "boltfever-score-20250601-201500.bfr",
                         std::ios::binary);
    const std::string olderFormat{std::istreambuf_iterator<char>(golden), {}};
    const struct {
        const char* what;
        std::string replay;
        const char* query;
        int status;
        const char* reason;  // how the answer's error begins
    } refused[] = {
        {"one button changed", withOneButtonChanged(good), "?initials=ABD", 422, "picture "},
        {"its header changed", otherLevel, "?initials=ABD", 422, "picture "},
        {"cut short", good.substr(0, good.size() - 5), "?initials=ABD", 422, "replay is cut short"},
        {"from another version", otherVersion, "?initials=ABD", 409,
         "a replay of Bolt Fever 1.20;"},
        {"of another maps.dat", otherMaps, "?initials=ABD", 409, "a replay of other levels"},
        {"of an older format", olderFormat, "?initials=ABD", 409, "a replay of replay format 3"},
        {"larger than two hours of play", std::string(kMostReplayBytes + 1, 'B'), "?initials=ABD",
         413, "a replay of two hours of play takes at most"},
        {"not a replay", "hello", "?initials=ABD", 422, "not a Bolt Fever replay"},
        {"with initials in lower case", made[1].bytes, "?initials=abc", 400,
         "initials are three capitals"},
        {"with four initials", made[1].bytes, "?initials=ABCD", 400, "initials are three capitals"},
    };
    for (const auto& r : refused) {
        auto [code, answer] = client.post(r.replay, r.query);
        EXPECT_EQ(code, r.status) << r.what << ": " << answer.dump();
        const std::string error = answer.is_object() ? answer.value("error", "") : "";
        EXPECT_EQ(error.rfind(r.reason, 0), 0u) << r.what << ": " << error;
    }
    EXPECT_EQ(listedIds(client), std::vector<int64_t>{id});

    // A second entry of its own, and the table in score order for every period.
    auto [second, other] = client.post(made[1].bytes, "?initials=XYZ");
    ASSERT_EQ(second, 201) << other.dump();
    const bool firstIsBetter = made[0].score >= made[1].score;
    const std::vector<int64_t> order = firstIsBetter
                                           ? std::vector<int64_t>{id, other["id"].get<int64_t>()}
                                           : std::vector<int64_t>{other["id"].get<int64_t>(), id};
    for (const char* period : {"", "?period=day", "?period=month", "?period=all"})
        EXPECT_EQ(listedIds(client, period), order) << period;
    EXPECT_EQ(client.get("/api/scores?period=year").first, 400);

    // The entry's replay is the one sent; the page lists it with a link to watch it.
    EXPECT_EQ(client.get("/api/scores/" + std::to_string(id) + "/replay"),
              (std::pair<int, std::string>{200, good}));
    EXPECT_EQ(client.get("/api/scores/999/replay").first, 404);
    const std::string page = client.get("/").second;
    EXPECT_NE(page.find(">" + made[0].initials + "<"), std::string::npos) << page;
    EXPECT_NE(page.find("/api/scores/" + std::to_string(id) + "/replay"), std::string::npos);
    EXPECT_EQ(server.stop(), 0) << server.log();
}

// Submissions queued when the server is killed are played after it restarts; a full queue and
// an address past its rate are told when to come back.
TEST_P(ServerRun, QueuedSubmissionsOutliveAKillAndAFullQueueOrAHastyAddressWait) {
    const std::vector<SMadeReplay> made = makeHighScoreReplays(dir_, 3);
    ASSERT_EQ(made.size(), 3u);
    CServerProcess server;
    ASSERT_TRUE(server.start(
        with({"--verifiers", "0", "--queue", "2", "--answer-within", "0", "--rate", "0"}), dir_))
        << server.log();
    std::vector<std::string> waiting;
    {
        CClient client(server.port());
        for (size_t i = 0; i < 2; ++i) {
            auto [status, answer] = client.post(made[i].bytes, "?initials=QQQ");
            EXPECT_EQ(status, 202) << answer.dump();
            EXPECT_EQ(answer["state"], "queued");
            waiting.push_back(client.location());
        }
        auto [full, answer] = client.post(made[2].bytes, "?initials=QQQ");
        EXPECT_EQ(full, 503) << answer.dump();
        EXPECT_FALSE(client.retryAfter().empty());
    }
    server.kill9();

    ASSERT_TRUE(server.start(with({"--verifiers", "1", "--rate", "2"}), dir_)) << server.log();
    CClient client(server.port());
    for (size_t i = 0; i < waiting.size(); ++i) {
        const json state = client.waitFor(waiting[i]);
        EXPECT_EQ(state["state"], "accepted") << state.dump() << server.log();
        EXPECT_EQ(state["entry"]["score"], made[i].score);
    }
    EXPECT_EQ(listedIds(client).size(), 2u);
    // Two submissions a minute: the third is refused, and says when to come back.
    EXPECT_EQ(client.post(made[0].bytes, "?initials=QQQ").first, 200);
    EXPECT_EQ(client.post(made[1].bytes, "?initials=QQQ").first, 200);
    EXPECT_EQ(client.post(made[2].bytes, "?initials=QQQ").first, 429);
    EXPECT_EQ(client.retryAfter(), "30");
    EXPECT_EQ(client.get("/api/scores").first, 200);
}

INSTANTIATE_TEST_SUITE_P(Engines, ServerRun, ::testing::Values("sqlite", "postgres"),
                         [](const auto& engine) { return std::string(engine.param); });

// A play that crashes the game or does not end is refused after a second try, and the server
// goes on serving: here the limits are made too small for the game to play at all.
TEST(ServerLimits, AGameThatCrashesOrHangsOnAReplayIsRefusedWhileTheServerServes) {
    const std::string dir = freshTestDir("server-limits");
    const std::vector<SMadeReplay> made = makeHighScoreReplays(dir, 1);
    ASSERT_EQ(made.size(), 1u);
    const struct {
        const char* limit;
        const char* value;
        const char* reason;
    } limits[] = {
        {"--verify-seconds", "0.001", "did not finish it within its limits"},
        {"--verify-memory", "8", "the game"},
    };
    for (const auto& l : limits) {
        CServerProcess server;
        ASSERT_TRUE(server.start(
            {"--database", dir + "/" + l.limit + ".db", "--verifiers", "1", l.limit, l.value}, dir))
            << server.log();
        CClient client(server.port());
        auto [status, answer] = client.post(made[0].bytes, "?initials=ABC");
        EXPECT_EQ(status, 422) << l.limit << ": " << answer.dump();
        EXPECT_NE(answer.value("error", "").find(l.reason), std::string::npos) << answer.dump();
        EXPECT_EQ(client.get("/api/scores").second, "{\"scores\":[]}\n");
        EXPECT_EQ(server.stop(), 0) << server.log();
    }
}

}  // namespace
