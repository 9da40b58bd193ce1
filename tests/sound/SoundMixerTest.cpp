#include "sound/SoundMixer.h"

#include <gtest/gtest.h>

#include <vector>

#include "actors/Player.h"
#include "sound/SoundTestSupport.h"
#include "support/GameTest.h"

namespace {

class CSoundMixerTest : public CGameTest {
protected:
    std::vector<int16_t> longSound = std::vector<int16_t>(2000, 100);
    std::vector<int16_t> shortSound{1000, -1001, 3000, 4000};
    std::vector<int16_t> loud{30000, -30000, 0};
    std::vector<int16_t> music = rampSample(700);
    SSample bank[4] = {sampleOf(longSound), sampleOf(shortSound), sampleOf(loud), sampleOf(music)};
    CSoundMixer* mixer = nullptr;

    void SetUp() override {
        CGameTest::SetUp();
        mixer = &CSoundMixer::instance();
        mixer->bank = bank;
        mixer->bankSize = 4;
        mixer->setMasterVolume(256);
    }

    int activeChannels() const {
        int n = 0;
        for (const SSoundChannel& c : mixer->channels) n += c.active;
        return n;
    }
    // Stands in for the device taking the oldest `frames` frames of the ring.
    void consume(int32_t frames) {
        mixer->queued -= 2 * frames;
        mixer->readPos = (mixer->readPos + 2 * frames) % CSoundMixer::kRingSamples;
    }
};

TEST_F(CSoundMixerTest, FreeChannelsFromTheTopThenTheFirstLessImportantOne) {
    for (int i = 7; i >= 0; --i) {
        ASSERT_TRUE(mixer->play(0, 256, 256, 1));
        EXPECT_TRUE(mixer->channels[i].active) << "channel " << i;
        EXPECT_EQ(activeChannels(), 8 - i);
    }
    // All eight busy at priority 1: an equal or lesser claim is dropped and changes nothing.
    EXPECT_FALSE(mixer->play(1, 256, 256, 1));
    EXPECT_FALSE(mixer->play(1, 256, 256, 0));
    for (const SSoundChannel& c : mixer->channels) EXPECT_EQ(c.sampleId, 0);

    // A greater one takes channel 0, the next one channel 1, starting from their first sample.
    mixer->channels[0].pos = 50;
    ASSERT_TRUE(mixer->play(1, 200, 100, 2));
    EXPECT_EQ(mixer->channels[0].sampleId, 1);
    EXPECT_EQ(mixer->channels[0].pos, 0);
    EXPECT_EQ(mixer->channels[0].length, 4);
    EXPECT_EQ(mixer->channels[0].leftVolume, 200);
    EXPECT_EQ(mixer->channels[0].rightVolume, 100);
    ASSERT_TRUE(mixer->play(1, 256, 256, 2));
    EXPECT_EQ(mixer->channels[1].sampleId, 1);
    EXPECT_EQ(mixer->channels[2].sampleId, 0);

    // A free channel is preferred to taking one over, whatever the priority.
    mixer->channels[5].active = false;
    ASSERT_TRUE(mixer->play(2, 256, 256, 0));
    EXPECT_EQ(mixer->channels[5].sampleId, 2);
    EXPECT_EQ(mixer->channels[2].sampleId, 0);

    // Ids the bank does not have play nothing.
    mixer->channels[6].active = false;
    EXPECT_FALSE(mixer->play(4, 256, 256, 3));
    EXPECT_FALSE(mixer->play(-1, 256, 256, 3));
    EXPECT_FALSE(mixer->channels[6].active);
}

TEST_F(CSoundMixerTest, PlacedSoundsFadeWithDistanceAndPanOverThreeTiles) {
    struct SCase {
        int32_t tileX, tileY, left, right;
    };
    // Heard from tile (20, 14); d = (dx² + dy²) / 5, v = 256 - d.
    const SCase cases[] = {
        {20, 12, 256, 256},  // straight above: d = 4/5 = 0
        {21, 15, 192, 256},  // d = 0; left = 256 * 192 / 256
        {23, 14, 63, 255},   // 3 right: d = 1, v = 255, left = 255 * 64 >> 8 = 63
        {24, 14, 0, 253},    // 4 right: d = 16/5 = 3, the far side is silent
        {17, 14, 255, 63},   // 3 left
        {16, 14, 253, 0},    // 4 left
        {20, 49, 11, 11},    // 35 below: d = 245
        {56, 14, 0, 0},      // 36 right: d = 259, silent
    };
    for (const SCase& c : cases) {
        CSoundMixer::resetInstance();
        mixer = &CSoundMixer::instance();
        mixer->bank = bank;
        mixer->bankSize = 4;
        mixer->playAtFrom(0, c.tileX, c.tileY, 20, 14, 1);
        // Even the silent one holds a channel.
        ASSERT_TRUE(mixer->channels[7].active) << c.tileX << "," << c.tileY;
        EXPECT_EQ(mixer->channels[7].leftVolume, c.left) << c.tileX << "," << c.tileY;
        EXPECT_EQ(mixer->channels[7].rightVolume, c.right) << c.tileX << "," << c.tileY;
    }
}

TEST_F(CSoundMixerTest, PlacedSoundsAreHeardFromPlayerOnesTile) {
    // Anywhere inside tile (20, 14): positions are in 1/8 pixel, 64 to a tile.
    CPlayer* player = CPlayer::instance(1);
    player->x = 20 * 64 + 63;
    player->y = 14 * 64 + 10;
    mixer->playAt(0, 23, 14, 1);
    EXPECT_EQ(mixer->channels[7].leftVolume, 63);
    EXPECT_EQ(mixer->channels[7].rightVolume, 255);
    mixer->playAt(0, 16, 14, 1);
    EXPECT_EQ(mixer->channels[6].leftVolume, 253);
    EXPECT_EQ(mixer->channels[6].rightVolume, 0);
}

TEST_F(CSoundMixerTest, AnEffectEndsOneSampleShortAndRoundsDown) {
    ASSERT_TRUE(mixer->play(1, 256, 128, 1));
    mixer->mix();
    EXPECT_EQ(mixer->queued, CSoundMixer::kRingSamples);
    // 1000, -1001, 3000 at full left and half right (an arithmetic shift rounds -500.5 down);
    // the fourth sample, 4000, never sounds.
    const int16_t expected[] = {1000, 500, -1001, -501, 3000, 1500, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(mixer->ring[i], expected[i]) << "sample " << i;
    EXPECT_FALSE(mixer->channels[7].active);
    for (int i = 8; i < CSoundMixer::kRingSamples; ++i) ASSERT_EQ(mixer->ring[i], 0) << i;
}

TEST_F(CSoundMixerTest, TheSumIsClampedBeforeTheMasterVolume) {
    mixer->setMasterVolume(128);
    mixer->play(2, 256, 256, 1);
    mixer->play(2, 256, 256, 1);
    mixer->mix();
    // +-60000 clamps to 32767 and -32768, then halves. Halving first would leave +-30000.
    EXPECT_EQ(mixer->ring[0], 16383);
    EXPECT_EQ(mixer->ring[1], 16383);
    EXPECT_EQ(mixer->ring[2], -16384);
    EXPECT_EQ(mixer->ring[3], -16384);
}

TEST_F(CSoundMixerTest, MusicLoopsSeamlesslyAcrossTheRingEnd) {
    mixer->startMusic(3);
    mixer->mix();  // music 0..511 fills the whole ring
    EXPECT_EQ(mixer->musicPos, 512u);
    EXPECT_EQ(mixer->ring[2 * 511], 511);
    consume(100);
    mixer->mix();  // 512..611 into the first 100 frames
    EXPECT_EQ(mixer->writePos, 200);
    EXPECT_EQ(mixer->ring[0], 512);
    EXPECT_EQ(mixer->ring[199], 611);
    EXPECT_EQ(mixer->musicPos, 612u);
    consume(200);
    mixer->mix();  // 612..699, then round to 0..111
    for (int f = 0; f < 200; ++f) {
        const int16_t want = static_cast<int16_t>((612 + f) % 700);
        ASSERT_EQ(mixer->ring[200 + 2 * f], want) << "frame " << f;
        ASSERT_EQ(mixer->ring[201 + 2 * f], want) << "frame " << f;
    }
    EXPECT_EQ(mixer->musicPos, 112u);

    // At half music volume, sample 112 comes out as 56; with the music stopped, silence.
    mixer->setMusicVolume(128);
    consume(1);
    mixer->mix();
    EXPECT_EQ(mixer->ring[600], 56);
    mixer->stopMusic();
    consume(1);
    mixer->mix();
    EXPECT_EQ(mixer->ring[602], 0);
}

}  // namespace
