#include "platform/Session.h"

#include <cstdio>
#include <filesystem>

#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/PngWriter.h"

namespace {

CSession* gInstance = nullptr;

void report(const std::string& message) {
    std::fprintf(stderr, "boltfever: %s\n", message.c_str());
}

}  // namespace

CSession& CSession::instance() {
    if (!gInstance) gInstance = new CSession;
    return *gInstance;
}

void CSession::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

bool CSession::configure(const SSessionOptions& options, uint32_t seed, std::string& error) {
    options_ = options;
    if (!options_.dumpDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options_.dumpDir, ec);
        if (ec) {
            error = options_.dumpDir + ": " + ec.message();
            return false;
        }
    }
    if (!options_.audioWavPath.empty() && !wav_.open(options_.audioWavPath, 2, 22050, error))
        return false;
    if (!options_.recordPath.empty()) {
        SReplayHeader header;
        header.seed = seed;
        header.hasSoundHashes = options_.virtualClock;
        recorder_.start(header);
        recording_ = true;
    }
    return true;
}

void CSession::startPlayback(const CReplayReader& replay) {
    player_ = replay;
    playing_ = true;
    replaySettings_ = replay.header().settings;
}

void CSession::mismatch(const std::string& reason) {
    if (!mismatch_) report("replay mismatch: " + reason);
    mismatch_ = true;
    quit_ = true;
}

ButtonMask CSession::filterButtons(ButtonMask live) {
    // A headless run whose buttons never end a wait (say, LEVEL COMPLETE without START held)
    // would spin for ever: give up after a long stretch of polls without a picture.
    if (options_.virtualClock && ++pollsWithoutPicture_ > kMaxPollsWithoutPicture && !quit_) {
        report("no picture for " + std::to_string(kMaxPollsWithoutPicture) + " polls at picture " +
               std::to_string(picturesShown()) + ": the buttons never end the wait (hold start?)");
        failed_ = true;
        quit_ = true;
    }
    ButtonMask buttons = live;
    if (playing_) {
        buttons = 0;
        if (!mismatch_ && !player_.nextPoll(buttons)) {
            if (player_.finished())
                quit_ = true;
            else
                mismatch("the game polls where the recording showed picture " +
                         std::to_string(picturesShown() + 1));
        }
    }
    if (recording_) recorder_.addPoll(buttons);
    return buttons;
}

void CSession::pictureShown(const uint16_t* picture, uint32_t number) {
    pollsWithoutPicture_ = 0;
    if ((recording_ || playing_) && number % kReplayCheckInterval == 0) {
        const uint64_t hash = hashBytes(picture, kScreenPixels * sizeof(uint16_t));
        if (recording_) recorder_.addPicture(number, hash, soundHash_);
        std::string reason;
        if (playing_ && !mismatch_ &&
            !player_.checkPicture(number, hash, soundHash_, options_.virtualClock, reason))
            mismatch(reason);
    }
    if (!options_.dumpDir.empty()) {
        char name[32];
        std::snprintf(name, sizeof name, "/%06u.png", number);
        std::string error;
        if (!writePng(options_.dumpDir + name, picture, kScreenWidth, kScreenHeight, 1, error)) {
            report(error);
            options_.dumpDir.clear();
            failed_ = true;
        }
    }
    if (options_.frameLimit != 0 && number >= options_.frameLimit) quit_ = true;
}

void CSession::audioWritten(const void* data, int bytes) {
    if (recording_ || playing_)
        soundHash_ = hashBytes(data, static_cast<size_t>(bytes), soundHash_);
    wav_.write(data, static_cast<size_t>(bytes));
}

bool CSession::finish(const uint16_t* lastPicture) {
    if (wav_.isOpen() && !wav_.close()) {
        report(options_.audioWavPath + ": cannot write WAV");
        failed_ = true;
    }
    std::string error;
    if (!options_.screenshotPath.empty() &&
        !writePng(options_.screenshotPath, lastPicture, kScreenWidth, kScreenHeight, 1, error)) {
        report(error);
        failed_ = true;
    }
    if (recording_) {
        recording_ = false;
        const std::vector<uint8_t> file = recorder_.finish();
        if (!writeFileAtomically(options_.recordPath, file.data(), file.size(), error)) {
            report(error);
            failed_ = true;
        }
    }
    if (playing_ && !mismatch_ && !player_.finished())
        mismatch("the game ended at picture " + std::to_string(picturesShown()) +
                 ", the recording goes on to " + std::to_string(player_.totalPictures()));
    return !failed_;
}
