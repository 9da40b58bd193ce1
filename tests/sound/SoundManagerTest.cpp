#include "sound/SoundManager.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Platform.h"
#include "sound/SoundTestSupport.h"
#include "support/GameTest.h"

namespace {

class CSoundManagerTest : public CGameTest {
protected:
    std::vector<int16_t> effect = std::vector<int16_t>(100, 100);
    std::vector<int16_t> music = std::vector<int16_t>(1000, 10000);
    SSample bank[2] = {sampleOf(effect), sampleOf(music)};
    CSoundManager* sound = nullptr;
    CSoundMixer* mixer = nullptr;

    void SetUp() override {
        CGameTest::SetUp();
        sound = &CSoundManager::instance();
        mixer = &sound->mixer;
        mixer->bank = bank;
        mixer->bankSize = 2;
    }

    int activeChannels() const {
        int n = 0;
        for (const SSoundChannel& c : mixer->channels) n += c.active;
        return n;
    }
};

TEST_F(CSoundManagerTest, ASoundAtNoVolumeTakesNoChannel) {
    sound->playSample(0, 0, 0, 2);
    EXPECT_EQ(activeChannels(), 0);
    sound->playSample(0, 0, 1, 2);
    EXPECT_EQ(activeChannels(), 1);
    EXPECT_EQ(mixer->channels[7].rightVolume, 1);
}

TEST_F(CSoundManagerTest, VolumeKeysStopAtTheEnds) {
    sound->setMasterVolume(1);
    sound->volumeDown();
    sound->volumeDown();
    EXPECT_EQ(sound->masterVolume, 0);
    EXPECT_EQ(mixer->masterVolume, 0);

    sound->setMasterVolume(255);
    sound->volumeUp();
    sound->volumeUp();
    EXPECT_EQ(sound->masterVolume, 256);
    EXPECT_EQ(mixer->masterVolume, 256);

    // A master volume from outside the range is kept here, played at full, and the keys bring
    // it back into range.
    sound->setMasterVolume(300);
    EXPECT_EQ(sound->masterVolume, 300);
    EXPECT_EQ(mixer->masterVolume, 256);
    sound->volumeUp();
    EXPECT_EQ(sound->masterVolume, 256);
    sound->setMasterVolume(-7);
    EXPECT_EQ(mixer->masterVolume, 0);
    sound->volumeDown();
    EXPECT_EQ(sound->masterVolume, 0);

    // The music volume is clamped everywhere.
    sound->setMusicVolume(400);
    EXPECT_EQ(sound->musicVolume, 256);
    EXPECT_EQ(mixer->musicVolume, 256);
    sound->setMusicVolume(-1);
    EXPECT_EQ(sound->musicVolume, 0);
    EXPECT_EQ(mixer->musicVolume, 0);
}

TEST_F(CSoundManagerTest, StereoSwapReachesTheOutput) {
    sound->setMasterVolume(256);
    sound->toggleSwapStereo();
    EXPECT_TRUE(sound->swapStereo);
    sound->playSample(0, 256, 0, 2);
    mixer->mix();
    EXPECT_EQ(mixer->ring[0], 0);
    EXPECT_EQ(mixer->ring[1], 100);
    sound->toggleSwapStereo();
    EXPECT_FALSE(mixer->swapStereo);
}

TEST_F(CSoundManagerTest, MusicFadesInWhileTheSoundFlows) {
    CRecordingBackend backend;
    platformStartup(backend);
    ASSERT_TRUE(mixer->openDevice());
    sound->setMasterVolume(256);
    sound->setMusicVolume(200);

    const uint32_t start = timerNow();
    sound->playMusic(1);
    const uint32_t waited = timerNow() - start;
    // Let the device play out what was mixed during the last steps.
    for (int i = 0; i < 4; ++i) {
        backend.advance(ticksForFrames(512));
        sound->update();
    }
    mixer->closeDevice();

    EXPECT_EQ(sound->musicState, 1);
    EXPECT_EQ(sound->musicVolume, 200);
    EXPECT_EQ(mixer->musicVolume, 200);
    // Volumes 0 to 200: 201 waits of 5 ms, the shortest counter span that rounds to 50 units
    // being 50 * 737 - 368 ticks.
    const uint32_t step = 50 * 737 - 368;
    EXPECT_GE(waited, 201 * step);
    EXPECT_LT(waited, 202 * step);

    // The device heard over a second of music rising from silence to 10000 * 200 >> 8.
    ASSERT_GT(backend.stream.size(), 2u * 22050);
    EXPECT_EQ(backend.stream.front(), 0);
    EXPECT_EQ(backend.stream.back(), 7812);
    for (size_t i = 2; i < backend.stream.size(); i += 2)
        ASSERT_LE(backend.stream[i - 2], backend.stream[i]) << "frame " << i / 2;
    // Every step of the way was heard, not just the ends: 10000 * 100 >> 8 on the way up.
    bool heardHalfway = false;
    for (const int16_t s : backend.stream) heardHalfway |= s == 3906;
    EXPECT_TRUE(heardHalfway);

    sound->stopMusic();
    EXPECT_EQ(sound->musicState, -1);
    EXPECT_FALSE(mixer->musicPlaying);
}

}  // namespace
