#include <gtest/gtest.h>

#include <vector>

#include "platform/Platform.h"
#include "sound/SoundMixer.h"
#include "sound/SoundTestSupport.h"
#include "support/GameTest.h"

namespace {

class CMixerDeviceTest : public CGameTest {
protected:
    std::vector<int16_t> music = rampSample(700);
    SSample bank[1] = {sampleOf(music)};
    CRecordingBackend backend;
    CSoundMixer* mixer = nullptr;

    void SetUp() override {
        CGameTest::SetUp();
        platformStartup(backend);
        mixer = &CSoundMixer::instance();
        mixer->bank = bank;
        mixer->bankSize = 1;
        mixer->setMasterVolume(256);
        mixer->startMusic(0);
    }
    void TearDown() override {
        mixer->closeDevice();
        CGameTest::TearDown();
    }

    // The device must hear the music unbroken: frame k is music sample k mod 700 on both sides.
    void expectUnbrokenMusic() {
        for (size_t i = 0; i < backend.stream.size(); ++i)
            ASSERT_EQ(backend.stream[i], static_cast<int16_t>((i / 2) % 700)) << "sample " << i;
    }
};

TEST_F(CMixerDeviceTest, PartialAndRefusedWritesLoseAndRepeatNothing) {
    ASSERT_TRUE(mixer->openDevice());
    // Bytes each write call may take; the mixer's positions after each update worked out below.
    backend.script = {2048, 0, 400, 1648, 100, 5000, 100, 6};
    mixer->update();  // the whole ring goes
    EXPECT_EQ(mixer->queued, 0);
    EXPECT_EQ(mixer->readPos, 0);
    mixer->update();  // refused: the ring stays full
    EXPECT_EQ(mixer->queued, 1024);
    EXPECT_EQ(mixer->readPos, 0);
    mixer->update();  // nothing to mix; 200 samples go
    EXPECT_EQ(mixer->queued, 824);
    EXPECT_EQ(mixer->readPos, 200);
    mixer->update();  // 200 mixed; the tail 200..1023 goes, then 50 from the start
    EXPECT_EQ(mixer->queued, 150);
    EXPECT_EQ(mixer->readPos, 50);
    EXPECT_EQ(mixer->writePos, 200);
    mixer->update();  // 874 mixed; 974 to the ring end, then the remaining 50
    EXPECT_EQ(mixer->queued, 0);
    EXPECT_EQ(mixer->readPos, 50);
    mixer->update();  // a frame and a half: the next write starts with its right side
    EXPECT_EQ(mixer->queued, 1021);
    EXPECT_EQ(mixer->readPos, 53);
    EXPECT_EQ(backend.writeCalls, 8);
    // Three samples are free, but only one frame is mixed; the headless device then takes 485
    // whole frames of the 1023 samples offered up to the ring end.
    mixer->update();
    EXPECT_EQ(mixer->queued, 53);
    EXPECT_EQ(mixer->readPos, 1023);
    expectUnbrokenMusic();
}

TEST_F(CMixerDeviceTest, TheHeadlessDeviceTakesWhatItHasPlayed) {
    ASSERT_TRUE(mixer->openDevice());
    // Its queue holds 1024 frames: two rings' worth, then it refuses.
    mixer->update();
    mixer->update();
    EXPECT_EQ(backend.audioQueuedFrames(), 1024u);
    mixer->update();
    EXPECT_EQ(mixer->queued, 1024);
    EXPECT_EQ(backend.audioQueuedFrames(), 1024u);

    // 100 frames later it takes 100 frames; the rest waits.
    backend.advance(ticksForFrames(100));
    mixer->update();
    EXPECT_EQ(mixer->queued, 824);
    EXPECT_EQ(mixer->readPos, 200);

    // Ten seconds of 5 ms steps later, the music is still whole.
    for (int i = 0; i < 2000; ++i) {
        backend.advance(ticksForFrames(110));
        mixer->update();
    }
    EXPECT_GT(backend.stream.size(), 2u * (2000 * 110));
    expectUnbrokenMusic();
}

}  // namespace
