#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "actors/Grenade.h"
#include "actors/Player.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/Replay.h"
#include "platform/WorldClient.h"
#include "render/Screen.h"
#include "shell/InitialsEntry.h"
#include "shell/Menu.h"
#include "shell/ScoresPage.h"
#include "sound/SoundManager.h"
#include "state/GameReport.h"
#include "state/GameState.h"
#include "state/HighScoreFile.h"
#include "state/Random.h"
#include "support/HeadlessGameTest.h"
#include "support/Held.h"
#include "world/Level.h"

namespace {

namespace fs = std::filesystem;

constexpr ButtonMask kUp = buttonBit(kButtonUp);
constexpr ButtonMask kDown = buttonBit(kButtonDown);
constexpr ButtonMask kFire = buttonBit(kButtonA);
constexpr ButtonMask kStart = buttonBit(kButtonStart);
constexpr ButtonMask kRight = buttonBit(kButtonRight);

class ScoresPageTest : public CHeadlessGameTest {
protected:
    void SetUp() override {
        CHeadlessGameTest::SetUp();
        ASSERT_TRUE(CLevel::instance().loadMaps());
        // What the game's start-up builds, for a replay to play as it was recorded.
        CGrenade::buildGrenadeTable();
        CPlayer::buildLocatorTable();
        CScreen::instance().loadTileImages();
    }
    // Runs the page on these buttons, each held from its picture on; from 100 pictures after the
    // last, START is pressed and let go over and over until the page goes back to the title
    // (true), whatever it is showing.
    bool runPage(const std::vector<std::pair<uint32_t, ButtonMask>>& script) {
        const uint32_t last = script.back().first + 100, base = backend_.shownCount();
        backend_.setButtonSource([script, last, base](uint32_t shownInRun) {
            const uint32_t shown = shownInRun - base;
            if (shown >= last) return (shown - last) % 8 < 4 ? kStart : ButtonMask{0};
            ButtonMask held = 0;
            for (const auto& [from, buttons] : script)
                if (from <= shown) held = buttons;
            return held;
        });
        return CScoresPage().run();
    }
};

// Up and down on the letters come round from Z to A and from A to Z.
TEST_F(ScoresPageTest, TheInitialsLettersWrapBothWays) {
    CInitialsEntry entry;
    hold({});
    entry.begin(100, "ZAM");
    uint16_t* surface = CScreen::instance().surface();
    for (int32_t frame = 0; frame <= CInitialsEntry::kQuietFrames; ++frame)
        entry.step(100, surface);
    for (const InputFlag flag : {held::kUp, held::kRight, held::kDown, held::kRight, held::kUp}) {
        hold({flag});
        entry.step(100, surface);
        hold({});
        entry.step(100, surface);
    }
    EXPECT_STREQ(entry.initials(), "AZN");
    // A click or a tap on a letter makes it the one to change; on that one, it goes on a letter.
    for (const int32_t letter : {1, 1, 3}) {
        for (const ButtonMask mask : {pointerBits(letter, true), ButtonMask{0}}) {
            backend_.setButtons(mask);
            platformPollButtons();
            entry.step(100, surface);
        }
    }
    EXPECT_STREQ(entry.initials(), "BZN");
}

// Up from the first entry goes to the last, down from the last to the first: which entry FIRE
// watches says where the cursor is (their replays are missing, and the page names the one it
// tried).
TEST_F(ScoresPageTest, TheCursorWrapsBothWays) {
    CHighScores& scores = CHighScores::instance();
    scores.folder = fs::current_path().string() + "/";
    for (const char* name : {"r0.bfr", "r1.bfr", "r2.bfr"}) {
        SHighScore entry;
        entry.score = 100;
        entry.replay = name;
        scores.entries.push_back(entry);
    }
    testing::internal::CaptureStderr();
    // Then a click on the second entry watches it.
    EXPECT_TRUE(runPage({{2, kUp},
                         {4, 0},
                         {6, kFire},
                         {8, 0},
                         {10, kDown},
                         {12, 0},
                         {14, kFire},
                         {16, 0},
                         {18, pointerBits(2, true)},
                         {20, 0}}));
    const std::string said = testing::internal::GetCapturedStderr();
    const size_t last = said.find("r2.bfr: "), first = said.find("r0.bfr: "),
                 clicked = said.find("r1.bfr: ");
    EXPECT_NE(last, std::string::npos) << said;
    EXPECT_NE(first, std::string::npos) << said;
    EXPECT_LT(last, first) << said;
    EXPECT_LT(first, clicked) << said;
    EXPECT_NE(clicked, std::string::npos) << said;
}

// A replay watched to its end with a button still held: letting it go chooses nothing (FIRE does
// not watch again, START does not leave), and what the replay changed is the player's again.
TEST_F(ScoresPageTest, AWatchedReplayLeavesNothingHeldAndPutsThePlayerBack) {
    const std::string folder = fs::current_path().string() + "/";
    for (const auto& file : fs::directory_iterator(BOLTFEVER_SOURCE_DIR "/tests/golden/scores"))
        fs::copy(file.path(), folder);
    CHighScores& scores = CHighScores::instance();
    std::string said;
    loadHighScores(folder, scores, said);
    ASSERT_EQ(scores.entries.size(), 2u) << said;
    std::vector<uint8_t> bytes;
    CReplayReader replay;
    ASSERT_TRUE(readFile(folder + scores.entries[0].replay, bytes, said) &&
                replay.parse(bytes.data(), bytes.size(), said))
        << said;
    const uint32_t end = 10 + replay.totalPictures() + 200;  // over, and GAME OVER shown

    CSoundManager& sound = CSoundManager::instance();
    CGameState& state = CGameState::instance();
    CMenu& menu = CMenu::instance();
    for (const ButtonMask held : {kFire, kStart}) {
        sound.setMasterVolume(77);
        sound.saveEnabled = true;
        state.bestLevel = 3;
        menu.startLevelChoice = 2;
        menu.repeatCounter = 5;
        seedGameRand(4321);
        const SRandomState random = gameRandState();
        const uint32_t watched = CGameReport::instance().replaysWatched;
        const uint32_t shown = backend_.shownCount();
        EXPECT_TRUE(runPage({{2, kFire}, {4, 0}, {10, held}, {end, 0}}));
        EXPECT_GT(backend_.shownCount() - shown, end + 100) << "left at once on " << held;
        EXPECT_EQ(CGameReport::instance().replaysWatched, watched + 1) << held;
        const int32_t kept[] = {sound.masterVolume,    sound.saveEnabled,  state.bestLevel,
                                menu.startLevelChoice, menu.repeatCounter, gameRand()};
        setGameRandState(random);
        const int32_t before[] = {77, true, 3, 2, 5, gameRand()};
        for (size_t i = 0; i < std::size(kept); ++i) EXPECT_EQ(kept[i], before[i]) << i;
    }
}

// A world table that takes the connection and never answers: the page goes on showing pictures
// while it waits, START leaves it, and the answer that comes once the server goes is OFFLINE's.
TEST_F(ScoresPageTest, AWorldTableThatDoesNotAnswerFreezesNoPicture) {
    if (!worldRequestsThreaded()) GTEST_SKIP() << "this build of the game has no network client";
    CHighScores::instance().entries.resize(1);
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_TRUE(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                listen(listener, 4) == 0 &&
                getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) == 0);
    CWorldClient& world = CWorldClient::instance();
    world.url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    const uint32_t shown = backend_.shownCount();
    EXPECT_TRUE(runPage({{2, kRight}, {4, 0}}));
    EXPECT_LT(backend_.shownCount() - shown, 120u);
    ASSERT_TRUE(world.busy());
    close(listener);
    SWorldAnswer answer;
    while (!world.take(answer)) usleep(1000);
    EXPECT_EQ(answer.asked, EWorldAsk::kScores);
    EXPECT_FALSE(answer.reached) << answer.error;
}

}  // namespace
