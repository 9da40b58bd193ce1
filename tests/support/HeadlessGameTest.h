#pragma once
// A fresh game (GameTest.h) on the headless backend, its sound started: for tests that run the
// title, the pages and the menus as the game does.

#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "sound/SoundManager.h"
#include "support/GameTest.h"

class CHeadlessGameTest : public CGameTest {
protected:
    void SetUp() override {
        CGameTest::SetUp();
        platformStartup(backend_);
        backend_.setAudioUnlimited(true);
        CSoundManager::instance().startUp();
    }
    CHeadlessBackend backend_;
};
