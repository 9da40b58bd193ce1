#include <gtest/gtest.h>

#include "server/RateLimiter.h"
#include "server/Verifier.h"

namespace {

// What a game's report gives: the replay's own entry when it made one (its initials win over
// those asked for), else the run's score and level with the initials asked for.
TEST(ServerVerdict, TheReplaysOwnEntryWinsAndAGameMustEndWithAScore) {
    const std::string played = R"({"level": 9, "score": 950, "game_overs": 1, "lives": 0})";
    const std::string entered =
        R"({"level": 9, "score": 950, "game_overs": 1,
            "last_entry": {"initials": "QRS", "score": 950, "level": 9}})";
    const struct {
        const char* what;
        std::string report;
        const char* asked;
        int status;  // 201 accepted, 0 no verdict (the play failed)
        const char* initials;
    } cases[] = {
        {"initials asked for", played, "ABC", 201, "ABC"},
        {"none asked for, none entered", played, "", 400, ""},
        {"the entry's own", entered, "ABC", 201, "QRS"},
        {"the entry's own, none asked", entered, "", 201, "QRS"},
        {"an entry with bad initials",
         R"({"level": 9, "score": 5, "game_overs": 1,
             "last_entry": {"initials": "qrs", "score": 5, "level": 9}})",
         "ABC", 0, ""},
        {"no GAME OVER", R"({"level": 9, "score": 950, "game_overs": 0})", "ABC", 422, ""},
        {"a score of 0", R"({"level": 9, "score": 0, "game_overs": 1})", "ABC", 422, ""},
        {"a score past 32 bits", R"({"level": 9, "score": 4294967296, "game_overs": 1})", "ABC",
         422, ""},
        {"no score", R"({"level": 9, "game_overs": 1})", "ABC", 0, ""},
        {"not JSON", "{\"score\": 5,", "ABC", 0, ""},
    };
    for (const auto& c : cases) {
        const SVerdict verdict = verdictOfReport(c.report, c.asked);
        EXPECT_EQ(verdict.status, c.status) << c.what << ": " << verdict.reason;
        EXPECT_EQ(verdict.accepted, c.status == 201) << c.what;
        if (verdict.accepted) {
            EXPECT_EQ(verdict.initials, c.initials) << c.what;
            EXPECT_EQ(verdict.score, 950) << c.what;
            EXPECT_EQ(verdict.level, 9) << c.what;
        }
    }
}

// A play's limits grow with the replay's length, up to the cap the server is given.
TEST(ServerVerdict, LimitsGrowWithTheReplayUpToTheCap) {
    const CVerifier open({"game", "work", 0, 64u << 20});
    const SProcessLimits short_ = open.limitsFor(1000, 2000),
                         twoHours = open.limitsFor(553846, 1107692);
    EXPECT_EQ(short_.cpuSeconds, 12u);
    EXPECT_EQ(twoHours.cpuSeconds, 620u);  // ten minutes, and a little
    EXPECT_GT(twoHours.wallSeconds, 2 * 619.0);
    EXPECT_EQ(twoHours.memoryBytes, 64u << 20);
    const CVerifier capped({"game", "work", 2.5, 0});
    EXPECT_EQ(capped.limitsFor(553846, 1107692).cpuSeconds, 3u);
    EXPECT_EQ(capped.limitsFor(553846, 1107692).wallSeconds, 2.5);
}

// Each address has a bucket of a minute's submissions, filled again at that rate.
TEST(ServerRate, AnAddressGetsAMinutesWorthAtOnceThenOneAsTheBucketFills) {
    CRateLimiter rate(6);  // one every 10 s
    int retry = 0;
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(rate.allow("10.0.0.1", 1000, retry)) << i;
    EXPECT_FALSE(rate.allow("10.0.0.1", 1000, retry));
    EXPECT_EQ(retry, 10);
    EXPECT_TRUE(rate.allow("10.0.0.2", 1000, retry));  // another address has its own
    EXPECT_FALSE(rate.allow("10.0.0.1", 10999, retry));
    EXPECT_EQ(retry, 1);
    EXPECT_TRUE(rate.allow("10.0.0.1", 11000, retry));
    EXPECT_FALSE(rate.allow("10.0.0.1", 11000, retry));
    // A long while later the bucket is full, not fuller.
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(rate.allow("10.0.0.1", 10000000, retry)) << i;
    EXPECT_FALSE(rate.allow("10.0.0.1", 10000000, retry));
    CRateLimiter none(0);
    for (int i = 0; i < 100; ++i) EXPECT_TRUE(none.allow("10.0.0.1", 0, retry));
}

}  // namespace
