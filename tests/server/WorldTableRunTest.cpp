#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "server/ServerSupport.h"
#include "support/RunGame.h"

namespace {

namespace fs = std::filesystem;

// The world table's line of a --report.
std::string worldReported(const std::string& report) {
    const std::string all = readAll(report);
    const size_t at = all.find("\"world\": ");
    return at == std::string::npos ? "none" : all.substr(at + 9, all.find('}', at) - at - 8);
}

// A player's high score, sent from the table's page with X to a real server on loopback, comes
// back in the WORLD table, its replay fetched and watched to its end; the table's address is
// kept, and with the server gone the WORLD table is OFFLINE.
TEST(WorldTableRun, AnEntrySentFromThePageIsListedAndWatchedAndOfflineOnceTheServerIsGone) {
    const std::string dir = freshTestDir("world-table");
    const std::string game = dir + "/player";
    fs::create_directories(game);
    const SMadeReplay made = makeHighScoreReplay(game, 1);
    ASSERT_FALSE(made.bytes.empty());
    CServerProcess server;
    ASSERT_TRUE(server.start({"--database", dir + "/world.db", "--verifiers", "1"}, dir))
        << server.log();
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port());

    // SELECT to the table, X sends the entry, RIGHT turns to the WORLD table, FIRE watches it.
    writeText(game + "/send.txt", "100 select\n105\n150 x\n155\n200 right\n205\n250 a\n255\n");
    const SGameRun sent =
        runGame("--headless --mute --input send.txt --report sent.json --frames " +
                    std::to_string(400 + 4000) + " --world " + url + "/",
                game);
    ASSERT_EQ(sent.status, 0) << sent.output << server.log();
    EXPECT_EQ(worldReported(game + "/sent.json"),
              "{\"requests\": 3, \"unreached\": 0, \"rows\": 1, \"accepted\": 1, "
              "\"last_rank\": 1}")
        << sent.output;
    const std::string report = readAll(game + "/sent.json");
    EXPECT_NE(report.find("\"replays_watched\": 1,"), std::string::npos) << report;
    EXPECT_NE(report.find("\"replays_not_matching\": 0,"), std::string::npos) << report;
    EXPECT_EQ(readAll(game + "/.local/share/boltfever/boltfever-world.txt"), url + "\n");

    // An entry whose replay went otherwise is refused, in the server's own words.
    fs::path replay;
    for (const auto& file : fs::directory_iterator(game + "/.local/share/boltfever/"))
        if (file.path().extension() == ".bfr") replay = file.path();
    std::string bytes = readAll(replay.string());
    bytes[bytes.size() / 2] ^= 0x10;
    writeText(replay.string(), bytes);
    const SGameRun refused =
        runGame("--headless --mute --input send.txt --report refused.json --frames 200", game);
    EXPECT_NE(refused.output.find("differs from the recording"), std::string::npos)
        << refused.output;
    EXPECT_EQ(worldReported(game + "/refused.json"),
              "{\"requests\": 1, \"unreached\": 0, \"rows\": 0, \"accepted\": 0, "
              "\"last_rank\": 0}");

    // The address kept names the table; the server is gone. LEFT turns to the WORLD table too.
    server.kill9();
    writeText(game + "/offline.txt", "100 select\n105\n150 left\n155\n");
    const SGameRun offline =
        runGame("--headless --mute --input offline.txt --report offline.json --frames 300", game);
    ASSERT_EQ(offline.status, 0) << offline.output;
    EXPECT_EQ(worldReported(game + "/offline.json"),
              "{\"requests\": 1, \"unreached\": 1, \"rows\": 0, \"accepted\": 0, "
              "\"last_rank\": 0}")
        << offline.output;
    EXPECT_NE(offline.output.find(url), std::string::npos) << offline.output;

    // --world off forgets it: RIGHT and X do nothing.
    const SGameRun off = runGame(
        "--headless --mute --input send.txt --report off.json --frames 300 --world off", game);
    ASSERT_EQ(off.status, 0) << off.output;
    EXPECT_EQ(worldReported(game + "/off.json"), "none") << off.output;
    EXPECT_FALSE(fs::exists(game + "/.local/share/boltfever/boltfever-world.txt"));
}

}  // namespace
