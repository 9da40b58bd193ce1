// Bolt Fever: parses the command line, picks the backend (the SDL window, or headless), and runs
// the game.

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/Session.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/sdl/SdlBackend.h"
#include "shell/CommandLine.h"
#include "shell/MainLoop.h"

int main(int argc, char** argv) {
    SOptions options;
    std::string message;
    switch (parseCommandLine(argc, argv, options, message)) {
        case ECommand::kDone:
            std::fputs(message.c_str(), stdout);
            return 0;
        case ECommand::kError:
            std::fprintf(stderr, "boltfever: %s\n", message.c_str());
            return 2;
        case ECommand::kPlay:
            break;
    }

    SSessionOptions session;
    session.frameLimit = options.frames;
    session.screenshotPath = options.screenshot;
    session.dumpDir = options.dumpFrames;
    session.audioWavPath = options.audioWav;
    if (!CSession::instance().configure(session, message)) {
        std::fprintf(stderr, "boltfever: %s\n", message.c_str());
        return 2;
    }

    std::unique_ptr<CBackend> backend;
    if (options.headless) {
        auto headless = std::make_unique<CHeadlessBackend>();
        headless->setAudioUnlimited(options.mute);
        backend = std::move(headless);
    } else {
        auto sdl = std::make_unique<CSdlBackend>();
        if (!sdl->open({options.scale, options.fullscreen, options.mute}, message)) {
            std::fprintf(stderr, "boltfever: %s\n", message.c_str());
            return 1;
        }
        backend = std::move(sdl);
    }
    platformStartup(*backend);
    const uint32_t seed = options.seed ? *options.seed : static_cast<uint32_t>(std::time(nullptr));
    return runMainLoop(seed);
}
