#include "platform/GameTape.h"

#include "platform/Platform.h"

void CGameTape::record(const SReplayHeader& header, uint32_t picturesShown) {
    writer_.start(header, kReservedBytes);
    base_ = picturesShown - kSetupPictures;
    state_ = EState::kRecording;
}

void CGameTape::stop() {
    if (state_ == EState::kRecording) state_ = EState::kRecorded;
}

std::vector<uint8_t> CGameTape::file() {
    return writer_.file();
}

void CGameTape::play(const CReplayReader& replay, uint32_t picturesShown) {
    reader_ = replay;
    base_ = picturesShown;
    problem_.clear();
    state_ = EState::kPlaying;
}

void CGameTape::mismatch(const std::string& reason) {
    problem_ = reason;
    state_ = EState::kMismatch;
}

ButtonMask CGameTape::poll(ButtonMask buttons) {
    switch (state_) {
        case EState::kRecording:
            writer_.addPoll(buttons);
            return buttons;
        case EState::kPlaying: {
            ButtonMask played = 0;
            if (reader_.nextPoll(played)) return played;
            if (reader_.finished())
                state_ = EState::kEnded;
            else
                mismatch("the game polls where the recording showed a picture");
            return 0;
        }
        case EState::kEnded:
        case EState::kMismatch:
            return 0;
        default:
            return buttons;
    }
}

void CGameTape::picture(const uint16_t* pixels, uint32_t number) {
    const uint32_t own = number - base_;
    if (own % kReplayCheckInterval != 0) return;
    if (state_ == EState::kRecording) {
        writer_.addPicture(own, hashBytes(pixels, kScreenPixels * sizeof(uint16_t)), 0);
        if (writer_.pendingBytes() > kMostBytes) state_ = EState::kRecorded;
    } else if (state_ == EState::kPlaying && !reader_.finished()) {
        std::string reason;
        if (!reader_.checkPicture(own, hashBytes(pixels, kScreenPixels * sizeof(uint16_t)), 0,
                                  false, reason))
            mismatch(reason);
    }
}
