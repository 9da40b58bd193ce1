#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Files.h"
#include "sound/Settings.h"
#include "support/RunGame.h"

namespace {

// Taps of a key from picture `at` on, each held two pictures and let go for two.
std::string taps(int& at, const char* key, int count) {
    std::string lines;
    for (int i = 0; i < count; ++i, at += 4)
        lines += std::to_string(at) + " [" + key + "]\n" + std::to_string(at + 2) + "\n";
    return lines;
}

std::string fileText(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(readFile(path, bytes, error)) << error;
    return std::string(bytes.begin(), bytes.end());
}

// The player fires with a key bound on the controls page while the title's tutorial runs, and
// later puts the default keys back, with nothing but keys: F1, the arrows, Return, Q.
TEST(ControlsPageRun, OpenedWithF1ItRebindsFireStoresTheKeysAndTheGameStandsStill) {
    const std::string dir = freshTestDir("controls-page");
    const std::string keys = dir + "/.local/share/boltfever/" + CControls::kFileName;
    // Open the page (picture 20), hold right on the master volume for 60 pictures, go down to
    // FIRE, choose it, press Q, close the page (picture 130), then fire with Q for 100 pictures.
    int at = 86;
    std::string rebind = "20 [F1]\n22\n24 [Right]\n84\n" + taps(at, "Down", 9);
    rebind += taps(at, "Return", 1);
    rebind += taps(at, "Q", 1);
    const int closed = at;
    rebind += taps(at, "F1", 1);
    rebind += std::to_string(closed + 10) + " [Q]\n" + std::to_string(closed + 110) + "\n";
    writeText(dir + "/rebind.txt", rebind);
    const SGameRun first = runGame(
        "--headless --seed 3 --input rebind.txt --frames 260 --report a.json --record a.bfr "
        "--dump-frames frames",
        dir);
    ASSERT_EQ(first.status, 0) << first.output;
    const std::string bound = fileText(keys);
    CControls::resetInstance();
    const std::string defaults = CControls::instance().text();
    std::string expected = defaults;
    expected.replace(expected.find("fire = Space, Z, Left Ctrl\n"), 27,
                     "fire = Space, Z, Left Ctrl, Q\n");
    EXPECT_EQ(bound, expected);
    EXPECT_NE(fileText(dir + "/a.json").find("\"player\": {\"fired\": "), std::string::npos);
    // The master volume went up by one step a picture held, as the volume keys go.
    const std::string settings = fileText(dir + "/.local/share/boltfever/boltfever.cfg");
    ASSERT_EQ(settings.size(), 16u);
    EXPECT_EQ(decodeSettings(reinterpret_cast<const uint8_t*>(settings.data())).masterVolume,
              128 + 60);
    // Under the page nothing moved: every picture from the one after F1 to the one that closed
    // it is the same, and the game goes on from exactly where it stood: the pictures are those
    // of a run without the page, from picture 21 on. (Compared as booleans: a PNG is no message.)
    ASSERT_EQ(closed, 130);
    const SGameRun plain = runGame("--headless --seed 3 --frames 30 --dump-frames plain", dir);
    ASSERT_EQ(plain.status, 0) << plain.output;
    const auto frame = [&](const char* folder, int n) {
        char name[32];
        std::snprintf(name, sizeof name, "/%s/%06d.png", folder, n);
        return fileText(dir + name);
    };
    const std::string still = frame("plain", 21);
    for (int n = 21; n <= closed; n += 7) EXPECT_TRUE(frame("frames", n) == still) << n;
    EXPECT_TRUE(frame("frames", closed) == still);
    for (int k = 0; k < 9; ++k)
        EXPECT_TRUE(frame("frames", closed + 1 + k) == frame("plain", 22 + k)) << k;
    // The recording holds F1 and the page's volume as the game saw them: it plays back exactly.
    const SGameRun replay = runGame("--headless --replay a.bfr", dir);
    EXPECT_EQ(replay.status, 0) << replay.output;

    // Again: DEFAULT KEYS (up twice from the volume, round past DONE), then DONE; Q fires no more.
    // Each piece in its own statement: taps() moves `at` on.
    at = 24;
    std::string restore = "20 [F1]\n22\n" + taps(at, "Up", 2);
    restore += taps(at, "Return", 1);
    restore += taps(at, "Down", 1);
    restore += taps(at, "Return", 1);
    restore += std::to_string(at + 10) + " [Q]\n";
    writeText(dir + "/restore.txt", restore);
    const SGameRun second =
        runGame("--headless --seed 3 --input restore.txt --frames 200 --report b.json", dir);
    ASSERT_EQ(second.status, 0) << second.output;
    EXPECT_EQ(fileText(keys), defaults);
    EXPECT_EQ(fileText(dir + "/b.json").find("\"fired\""), std::string::npos);
}

// The mouse in the title's menu: pointing at QUIT highlights it, a click chooses it; the
// recording of that plays back.
TEST(ControlsPageRun, TheMouseChoosesInTheMenusByTheirOwnRules) {
    const std::string dir = freshTestDir("menu-mouse");
    // START opens the menu; the mouse clicks SETTINGS (its items are 16 pixels apart from 148
    // down), then DONE on that page's own items (from 156), then QUIT. A mouse resting over an
    // item when a key opened the menu picks nothing: NEW GAME stays highlighted.
    writeText(dir + "/quit.txt",
              "30 [Escape]\n34\n40 @160,180 click\n42 @160,180\n50 @160,190 click\n52 @160,190\n"
              "60 @160,196 click\n62 @160,196\n");
    const SGameRun quit = runGame(
        "--headless --seed 3 --input quit.txt --frames 300 --report q.json --record q.bfr", dir);
    ASSERT_EQ(quit.status, 0) << quit.output;
    EXPECT_NE(fileText(dir + "/q.json").find("\"pictures\": 63,"), std::string::npos);
    const SGameRun replay = runGame("--headless --replay q.bfr", dir);
    EXPECT_EQ(replay.status, 0) << replay.output;

    writeText(dir + "/rest.txt",
              "10 @160,196\n30 [Escape] @160,196\n34 @160,196\n"
              "40 [Return] @160,196\n44 @160,196\n");
    const SGameRun rest =
        runGame("--headless --seed 3 --input rest.txt --frames 300 --report r.json", dir);
    ASSERT_EQ(rest.status, 0) << rest.output;
    EXPECT_NE(fileText(dir + "/r.json").find("\"level\": 1,"), std::string::npos);
}

}  // namespace
