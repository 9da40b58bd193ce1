#include "platform/Session.h"

#include <algorithm>
#include <cstring>

#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/PngWriter.h"

namespace {

CSession* gInstance = nullptr;

}  // namespace

CSession& CSession::instance() {
    if (!gInstance) gInstance = new CSession;
    return *gInstance;
}

void CSession::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

bool CSession::checkOutputs(const SSessionOptions& options, std::string& error) {
    for (const std::string* path :
         {&options.screenshotPath, &options.audioWavPath, &options.recordPath})
        if (!path->empty() && !checkOutputPath(*path, error)) return false;
    return options.dumpDir.empty() || makeOutputFolder(options.dumpDir, error);
}

bool CSession::configure(const SSessionOptions& options, uint32_t seed, std::string& error) {
    options_ = options;
    if (!checkOutputs(options_, error)) return false;
    if (!options_.audioWavPath.empty() && !wav_.open(options_.audioWavPath, 2, 22050, error))
        return false;
    if (!options_.recordPath.empty()) {
        if (!replayFile_.open(options_.recordPath, error)) {
            wav_.abandon();
            return false;
        }
        SReplayHeader header;
        header.seed = seed;
        header.hasSoundHashes = options_.virtualClock;
        header.startLevel = options_.startLevel;
        header.playersRun = options_.playersRun;
        recorder_.start(header);
        recording_ = true;
        replayPiece_.reserve(1 << 16);
        replayBytes_ = 0;
        replayEndBytes_ = 0;
    }
    return true;
}

void CSession::abandon() {
    wav_.abandon();
    replayFile_.abandon();
    recording_ = false;
}

void CSession::startPlayback(const CReplayReader& replay) {
    player_ = replay;
    playing_ = true;
    replaySettings_ = replay.header().settings;
}

void CSession::mismatch(const std::string& reason) {
    if (!mismatch_) reportLine("replay mismatch: " + reason);
    mismatch_ = true;
    quit_ = true;
}

ButtonMask CSession::filterButtons(ButtonMask live) {
    // A headless run whose buttons never end a wait (say, LEVEL COMPLETE without START held)
    // would spin for ever: give up after a long stretch of polls without a picture.
    if (options_.virtualClock && ++pollsWithoutPicture_ > kMaxPollsWithoutPicture && !quit_) {
        reportLine("no picture for " + std::to_string(kMaxPollsWithoutPicture) +
                   " polls at picture " + std::to_string(picturesShown()) +
                   ": the game waits at LEVEL COMPLETE for START, and the buttons never press "
                   "it (hold start there)");
        failed_ = true;
        quit_ = true;
    }
    ButtonMask buttons = live;
    if (playing_) {
        buttons = 0;
        if (!mismatch_ && !player_.nextPoll(buttons)) {
            if (player_.finished())
                quit_ = replayEnded_ = true;
            else
                mismatch("the game polls where the recording showed picture " +
                         std::to_string(picturesShown() + 1));
        }
    }
    if (recording_) recorder_.addPoll(buttons);
    liveButtons_ = buttons;
    return tape_.poll(buttons);
}

void CSession::pictureShown(const uint16_t* picture, uint32_t number) {
    pollsWithoutPicture_ = 0;
    const bool record = recording_ && !interrupted_;
    const bool check = playing_ && !mismatch_ && !player_.finished();
    if ((record || check) && number % kReplayCheckInterval == 0) {
        const uint64_t hash = hashBytes(picture, kScreenPixels * sizeof(uint16_t));
        if (record) {
            recorder_.addPicture(number, hash, soundHash_);
            writeRecording();
        }
        std::string reason;
        if (check && !player_.checkPicture(number, hash, soundHash_, options_.virtualClock, reason))
            mismatch(reason);
    }
    if (!options_.dumpDir.empty()) {
        char name[32];
        std::snprintf(name, sizeof name, "/%06u.png", number);
        std::string error;
        if (!writePng(options_.dumpDir + name, picture, kScreenWidth, kScreenHeight, 1, error)) {
            reportLine(error);
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

void CSession::writeRecording() {
    replayPiece_.clear();
    recorder_.take(replayPiece_);
    const size_t records = replayPiece_.size();
    recorder_.appendEnd(replayPiece_);
    int failure = 0;
    if (replayFile_.writeAt(replayBytes_, replayPiece_.data(), replayPiece_.size(), failure)) {
        replayBytes_ += records;
        replayEndBytes_ = replayPiece_.size() - records;
        std::copy(replayPiece_.begin() + static_cast<ptrdiff_t>(records), replayPiece_.end(),
                  replayEnd_);
        replayPictures_ = recorder_.takenPictures();
        return;
    }
    // The disk is full. The last piece is whole on it; its end record goes back over whatever
    // the failed write left there, in bytes the file already holds.
    recording_ = false;
    failed_ = true;
    const std::string said = options_.recordPath + ": " + std::strerror(failure);
    int ignored = 0;
    if (replayBytes_ != 0 && replayFile_.truncate(replayBytes_ + replayEndBytes_) &&
        replayFile_.writeAt(replayBytes_, replayEnd_, replayEndBytes_, ignored)) {
        reportLine(said + "; the replay ends at picture " + std::to_string(replayPictures_));
    } else {
        reportLine(said + "; no replay written");
        replayFile_.abandon();
    }
}

bool CSession::finish(const uint16_t* lastPicture) {
    std::string error;
    if (wav_.isOpen() && !wav_.close(error)) {
        reportLine(error);
        failed_ = true;
    }
    if (!options_.screenshotPath.empty() &&
        !writePng(options_.screenshotPath, lastPicture, kScreenWidth, kScreenHeight, 1, error)) {
        reportLine(error);
        failed_ = true;
    }
    if (recording_) {
        recording_ = false;
        recorder_.finish();
        writeRecording();
    }
    if (replayFile_.isOpen() &&
        (!replayFile_.truncate(replayBytes_ + replayEndBytes_) || !replayFile_.commit(error))) {
        reportLine(error.empty() ? options_.recordPath + ": cannot write the replay" : error);
        failed_ = true;
    }
    if (playing_ && !mismatch_ && !player_.finished())
        mismatch("the game ended at picture " + std::to_string(picturesShown()) +
                 ", the recording goes on to " + std::to_string(player_.totalPictures()));
    return !failed_;
}
