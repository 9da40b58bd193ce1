#include "platform/Session.h"

#include <cstdio>
#include <filesystem>

#include "platform/Platform.h"
#include "platform/PngWriter.h"

CSession& CSession::instance() {
    static CSession* session = new CSession;
    return *session;
}

bool CSession::configure(const SSessionOptions& options, std::string& error) {
    options_ = options;
    quit_ = false;
    failed_ = false;
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
    return true;
}

ButtonMask CSession::filterButtons(ButtonMask live) {
    return live;
}

void CSession::pictureShown(const uint16_t* picture, uint32_t number) {
    if (!options_.dumpDir.empty()) {
        char name[32];
        std::snprintf(name, sizeof name, "/%06u.png", number);
        std::string error;
        if (!writePng(options_.dumpDir + name, picture, kScreenWidth, kScreenHeight, 1, error)) {
            std::fprintf(stderr, "boltfever: %s\n", error.c_str());
            options_.dumpDir.clear();
            failed_ = true;
        }
    }
    if (options_.frameLimit != 0 && number >= options_.frameLimit) quit_ = true;
}

void CSession::audioWritten(const void* data, int bytes) {
    wav_.write(data, static_cast<size_t>(bytes));
}

bool CSession::finish(const uint16_t* lastPicture) {
    if (wav_.isOpen() && !wav_.close()) {
        std::fprintf(stderr, "boltfever: %s: cannot write WAV\n", options_.audioWavPath.c_str());
        failed_ = true;
    }
    if (!options_.screenshotPath.empty()) {
        std::string error;
        if (!writePng(options_.screenshotPath, lastPicture, kScreenWidth, kScreenHeight, 1,
                      error)) {
            std::fprintf(stderr, "boltfever: %s\n", error.c_str());
            failed_ = true;
        }
    }
    return !failed_;
}
