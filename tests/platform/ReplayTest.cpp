#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/GameTape.h"
#include "platform/InputScript.h"
#include "platform/Platform.h"
#include "platform/Replay.h"

namespace {

constexpr ButtonMask kRight = buttonBit(kButtonRight);
constexpr ButtonMask kFire = buttonBit(kButtonA);
// Where a file's fields lie: the fixed header of version 1, the level of version 2, the two empty
// blocks of version 3, the game's identity of version 4.
constexpr size_t kLevelAt = 28, kBlocksAt = 30, kIdentityAt = 34;
constexpr size_t kIdentityBytes = 1 + sizeof(BOLTFEVER_VERSION) - 1 + 8;

// A file of this version with empty blocks, made into the same file as `version` wrote it.
std::vector<uint8_t> asVersion(std::vector<uint8_t> file, uint8_t version) {
    file[4] = version;
    const size_t keep = version >= 3 ? kIdentityAt : version == 2 ? kBlocksAt : kLevelAt;
    file.erase(file.begin() + keep, file.begin() + kIdentityAt + kIdentityBytes);
    return file;
}

std::vector<uint8_t> sampleReplay() {
    CReplayWriter writer;
    SReplayHeader header;
    header.seed = 1234;
    header.hasSoundHashes = true;
    writer.start(header);
    std::array<uint8_t, 16> settings{};
    settings[0] = 128;
    writer.setSettings(settings);
    for (int i = 0; i < 120; ++i) writer.addPoll(i < 50 ? kRight : kRight | kFire);
    writer.addPicture(60, 0x1111, 0xAAAA);
    for (int i = 0; i < 120; ++i) writer.addPoll(0);
    writer.addPicture(120, 0x2222, 0xBBBB);
    writer.addPoll(kFire);
    return writer.file();
}

TEST(Replay, RoundTripReproducesPollsAndChecks) {
    const std::vector<uint8_t> file = sampleReplay();
    CReplayReader reader;
    std::string error;
    ASSERT_TRUE(reader.parse(file.data(), file.size(), error)) << error;
    EXPECT_EQ(reader.header().seed, 1234u);
    EXPECT_EQ(reader.header().settings[0], 128);
    EXPECT_EQ(reader.totalPolls(), 241u);
    ButtonMask b = 0;
    for (int i = 0; i < 120; ++i) {
        ASSERT_TRUE(reader.nextPoll(b));
        EXPECT_EQ(b, i < 50 ? kRight : kRight | kFire) << i;
    }
    // The recording showed picture 60 here: one poll too many is out of step.
    EXPECT_FALSE(reader.nextPoll(b));
    EXPECT_TRUE(reader.checkPicture(60, 0x1111, 0xAAAA, true, error)) << error;
    for (int i = 0; i < 120; ++i) ASSERT_TRUE(reader.nextPoll(b));
    // A different picture is caught and named; so is a different sound when sound is checked.
    EXPECT_FALSE(reader.checkPicture(120, 0x2223, 0xBBBB, true, error));
    EXPECT_NE(error.find("picture 120"), std::string::npos) << error;
}

TEST(Replay, SoundIsCheckedOnlyWhenAsked) {
    const std::vector<uint8_t> file = sampleReplay();
    CReplayReader reader;
    std::string error;
    ASSERT_TRUE(reader.parse(file.data(), file.size(), error));
    ButtonMask b;
    for (int i = 0; i < 120; ++i) reader.nextPoll(b);
    EXPECT_TRUE(reader.checkPicture(60, 0x1111, 0x9999, false, error));
    for (int i = 0; i < 120; ++i) reader.nextPoll(b);
    EXPECT_FALSE(reader.checkPicture(120, 0x2222, 0x9999, true, error));
    EXPECT_NE(error.find("sound"), std::string::npos);
}

TEST(Replay, MalformedFilesAreRefusedWithAReason) {
    const std::vector<uint8_t> good = sampleReplay();
    CReplayReader reader;
    std::string error;
    // Every truncation of a good file is refused, none is read as a shorter game.
    for (size_t size = 0; size < good.size(); ++size) {
        error.clear();
        EXPECT_FALSE(reader.parse(good.data(), size, error)) << size;
        EXPECT_FALSE(error.empty());
    }
    std::vector<uint8_t> bad = good;
    bad[4] = 5;  // a version from the future
    EXPECT_FALSE(reader.parse(bad.data(), bad.size(), error));
    EXPECT_NE(error.find("version 5"), std::string::npos) << error;
    bad = good;
    bad[0] = 'X';
    EXPECT_FALSE(reader.parse(bad.data(), bad.size(), error));
    EXPECT_EQ(error, "not a Bolt Fever replay");
    bad = good;
    bad.push_back(0);  // trailing garbage
    EXPECT_FALSE(reader.parse(bad.data(), bad.size(), error));
    bad = good;
    bad[kIdentityAt + kIdentityBytes] = 'Z';  // the first record's tag
    EXPECT_FALSE(reader.parse(bad.data(), bad.size(), error));
    EXPECT_EQ(error, "replay holds an unknown record");
    bad = good;
    bad[kIdentityAt] = kMaxGameVersionBytes + 1;  // a version longer than any
    EXPECT_FALSE(reader.parse(bad.data(), bad.size(), error));
}

// Every recording names the game and the maps.dat it came from; a replay of an older format
// names none, and still reads.
TEST(Replay, RecordingsCarryTheGamesIdentityAndOlderOnesNone) {
    const uint64_t before = recordingIdentity().maps;
    setRecordingMaps(0x0123456789ABCDEFull);
    CReplayWriter writer;
    SReplayHeader header;
    header.game = {"0.1", 7};  // what a caller says does not count
    writer.start(header);
    writer.addPoll(kFire);
    const std::vector<uint8_t> file = writer.file();
    setRecordingMaps(before);
    CReplayReader reader;
    std::string error;
    ASSERT_TRUE(reader.parse(file.data(), file.size(), error)) << error;
    EXPECT_EQ(reader.header().game, (SGameIdentity{BOLTFEVER_VERSION, 0x0123456789ABCDEFull}));
    const std::vector<uint8_t> old = asVersion(file, 3);
    ASSERT_TRUE(reader.parse(old.data(), old.size(), error)) << error;
    EXPECT_EQ(reader.header().game, SGameIdentity{});
    ButtonMask b = 0;
    EXPECT_TRUE(reader.nextPoll(b) && b == kFire);
}

TEST(Replay, TheStartLevelIsKeptAndOldReplaysBeganOnTheTitle) {
    CReplayWriter writer;
    SReplayHeader header;
    header.seed = 9;
    header.startLevel = 12;
    writer.start(header);
    writer.addPoll(0);
    CReplayReader reader;
    std::string error;
    std::vector<uint8_t> file = writer.file();
    ASSERT_TRUE(reader.parse(file.data(), file.size(), error)) << error;
    EXPECT_EQ(reader.header().startLevel, 12);
    // The same file as version 2 wrote it: no blocks of the game's own.
    std::vector<uint8_t> old = asVersion(file, 2);
    ASSERT_TRUE(reader.parse(old.data(), old.size(), error)) << error;
    EXPECT_EQ(reader.header().startLevel, 12);
    // And as version 1 wrote it: no level field.
    old = asVersion(file, 1);
    ASSERT_TRUE(reader.parse(old.data(), old.size(), error)) << error;
    EXPECT_EQ(reader.header().startLevel, 0);
    EXPECT_EQ(reader.header().seed, 9u);
}

TEST(Replay, TheMouseInAMenuIsKeptInWideRecordsWhichOlderVersionsDoNotHold) {
    CReplayWriter writer;
    writer.start(SReplayHeader{});
    const ButtonMask clicked = kRight | pointerBits(3, true);
    writer.addPoll(kRight);
    writer.addPoll(clicked);
    std::vector<uint8_t> file = writer.file();
    CReplayReader reader;
    std::string error;
    ASSERT_TRUE(reader.parse(file.data(), file.size(), error)) << error;
    ButtonMask b = 0;
    EXPECT_TRUE(reader.nextPoll(b) && b == kRight);
    EXPECT_TRUE(reader.nextPoll(b) && b == clicked);
    file = asVersion(file, 2);  // a version 2 replay has no such record
    EXPECT_FALSE(reader.parse(file.data(), file.size(), error));
    EXPECT_EQ(error, "replay holds an unknown record");
}

TEST(InputScript, HoldsEachLinesButtonsUntilTheNext) {
    CInputScript script;
    std::string error;
    ASSERT_TRUE(script.parse("# a walk\n\n10 right  # go\n10 right a\n40\n50 start select upleft\n",
                             "walk", error))
        << error;
    EXPECT_EQ(script.buttonsAt(0), 0);
    EXPECT_EQ(script.buttonsAt(9), 0);
    EXPECT_EQ(script.buttonsAt(10), kRight | kFire);  // the later of two lines for one picture
    EXPECT_EQ(script.buttonsAt(39), kRight | kFire);
    EXPECT_EQ(script.buttonsAt(40), 0);
    EXPECT_EQ(script.buttonsAt(1000),
              buttonBit(kButtonStart) | buttonBit(kButtonSelect) | buttonBit(kButtonUpLeft));
    // Asked out of order, it starts again from the top; a Windows line end is a space.
    EXPECT_EQ(script.buttonsAt(12), kRight | kFire);
    EXPECT_EQ(script.buttonsAt(5), 0);
    ASSERT_TRUE(script.parse("0 a\r\n7\r\n", "crlf", error)) << error;
    EXPECT_EQ(script.buttonsAt(6), kFire);
}

TEST(InputScript, MalformedLinesAreNamed) {
    CInputScript script;
    std::string error;
    EXPECT_FALSE(script.parse("0 right\n5 jump\n", "s.txt", error));
    EXPECT_EQ(error, "s.txt:2: unknown button 'jump'");
    EXPECT_FALSE(script.parse("0 right\nright 5\n", "s.txt", error));
    EXPECT_EQ(error, "s.txt:2: expected a picture number, found 'right'");
    EXPECT_FALSE(script.parse("20 a\n10 a\n", "s.txt", error));
    EXPECT_EQ(error, "s.txt:2: picture 10 comes before the previous line's");
    EXPECT_FALSE(script.parse("-1 a\n", "s.txt", error));
    EXPECT_FALSE(script.parse("99999999999 a\n", "s.txt", error));
    EXPECT_FALSE(script.parse("+5 a\n", "s.txt", error));
    // A long word is cut in the message.
    EXPECT_FALSE(script.parse("1 " + std::string(5000, 'q') + "\n", "s.txt", error));
    EXPECT_EQ(error, "s.txt:1: unknown button '" + std::string(40, 'q') + "...'");
    EXPECT_FALSE(script.load("/nonexistent/script.txt", error));
    EXPECT_NE(error.find("/nonexistent/script.txt"), std::string::npos);
    // Keys and the mouse.
    const struct {
        const char* line;
        const char* said;
    } bad[] = {
        {"1 [Hyperspace]", "s.txt:1: unknown key '[Hyperspace]'"},
        {"1 [Left Ctrl", "s.txt:1: unknown key '[Left Ctrl'"},
        {"1 [A] [B] [C] [D] [E] [F] [G]", "s.txt:1: more than 6 keys"},
        {"1 @320,5",
         "s.txt:1: expected the mouse at @X,Y inside the picture's 320x240, found "
         "'@320,5'"},
        {"1 @5,", "s.txt:1: expected the mouse at @X,Y inside the picture's 320x240, found '@5,'"},
        {"1 click", "s.txt:1: click without the mouse's place (@X,Y)"},
    };
    for (const auto& b : bad) {
        EXPECT_FALSE(script.parse(b.line, "s.txt", error)) << b.line;
        EXPECT_EQ(error, b.said);
    }
}

TEST(InputScript, KeysAndTheMouseAreHandsLikeAPlayers) {
    CInputScript script;
    std::string error;
    ASSERT_TRUE(script.parse("5 a [Left Ctrl] [F1] @319,0 click\n9\n", "s", error)) << error;
    EXPECT_TRUE(script.holdsKeys());
    const CPlayerInput::SHands& hands = script.handsAt(6);
    EXPECT_EQ(hands.pad, kFire);
    EXPECT_TRUE(hands.keysDown[224] && hands.keysDown[58] && !hands.keysDown[44]);
    EXPECT_TRUE(hands.pointerIn && hands.pointerDown);
    EXPECT_EQ(hands.pointerX, 319);
    EXPECT_EQ(hands.pointerY, 0);
    EXPECT_FALSE(script.handsAt(9).pointerIn || script.handsAt(9).keysDown[58]);
    ASSERT_TRUE(script.parse("5 a\n", "s", error));
    EXPECT_FALSE(script.holdsKeys());
}

// A game's replay played on its tape ends at its last poll: the picture the game draws after it
// is not checked, even one a check would fall on, and no button comes from the tape after it.
TEST(GameTape, APlaybackEndsAtItsLastPollWithNoCheckPastIt) {
    CGameTape tape;
    tape.record(SReplayHeader{}, CGameTape::kSetupPictures);  // its pictures count from 1
    const std::vector<uint16_t> picture(kScreenPixels, 0x1234);
    for (uint32_t n = 1; n <= 120; ++n) {
        tape.poll(n == 120 ? kFire : kRight);
        if (n < 120) tape.picture(picture.data(), n);  // checked at 60
    }
    tape.stop();
    const std::vector<uint8_t> file = tape.file();
    CReplayReader replay;
    std::string error;
    ASSERT_TRUE(replay.parse(file.data(), file.size(), error)) << error;
    tape.play(replay, 0);
    for (uint32_t n = 1; n <= 120; ++n) {
        EXPECT_EQ(tape.poll(0), n == 120 ? kFire : kRight) << n;
        tape.picture(picture.data(), n);
    }
    EXPECT_EQ(tape.state(), CGameTape::EState::kPlaying) << tape.problem();
    EXPECT_EQ(tape.poll(kFire), 0u);
    EXPECT_EQ(tape.state(), CGameTape::EState::kEnded);
}

}  // namespace
