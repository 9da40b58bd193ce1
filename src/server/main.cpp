// boltfever-server: the world high-score table. Takes high scores' replays over HTTP, plays each
// with the game to see that it plays back, and keeps the entries that do.

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/Replay.h"
#include "server/LimitedProcess.h"
#include "server/ScoreServer.h"
#include "server/ServerCommandLine.h"
#include "server/VerifierPool.h"
#include "world/LevelFile.h"

namespace {

// A build with AddressSanitizer maps terabytes of shadow memory: its game cannot play under a
// limit on its address space.
#if defined(__SANITIZE_ADDRESS__)
constexpr int64_t kDefaultMemoryMb = 0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int64_t kDefaultMemoryMb = 0;
#else
constexpr int64_t kDefaultMemoryMb = 512;
#endif
#else
constexpr int64_t kDefaultMemoryMb = 512;
#endif

// The game must be this server's own version: it is asked, under the same kind of limits.
bool checkGame(const std::string& game, const std::string& workFolder, std::string& error) {
    const std::string output = workFolder + "/version.txt";
    SProcessLimits limits;
    limits.wallSeconds = 30;
    const SProcessEnd end = runLimited({game, "--version"}, {"LANG=C"}, workFolder, output, limits);
    std::vector<uint8_t> bytes;
    std::string said;
    readFileUpTo(output, bytes, 256, said);
    ::unlink(output.c_str());
    const std::string text(bytes.begin(), bytes.end()), expected = "Bolt Fever " BOLTFEVER_VERSION;
    if (end.exited && end.status == 0 && text.compare(0, expected.size(), expected) == 0 &&
        (text.size() == expected.size() || text[expected.size()] == '\n'))
        return true;
    error = game + ": not the game of this server (Bolt Fever " BOLTFEVER_VERSION
                   "), or it cannot be run (--game names it)";
    return false;
}

// The browser game's page beside a build tree's server: build/web.
std::string findPage() {
    const std::string page = executableDir() + "../web";
    return isRegularFile(page + "/index.html") ? page : "";
}

}  // namespace

int main(int argc, char** argv) {
    SServerOptions options;
    std::string message;
    switch (parseServerCommandLine(argc, argv, options, message)) {
        case EServerCommand::kDone:
            std::fputs(message.c_str(), stdout);
            return 0;
        case EServerCommand::kError:
            reportLine(message);
            return 2;
        case EServerCommand::kServe:
            break;
    }
    const std::string game = options.game.empty() ? executableDir() + "boltfever" : options.game;
    const std::string page = options.page.empty() ? findPage() : options.page;
    if (!options.page.empty() && !isRegularFile(page + "/index.html")) {
        reportLine(page + ": no browser game's page (index.html) in it");
        return 2;
    }

    // A folder of our own for the plays, removed when the server ends.
    const char* tmp = std::getenv("TMPDIR");
    std::string work =
        std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/boltfever-server-XXXXXX";
    if (!::mkdtemp(work.data())) {
        reportLine(work + ": cannot make a folder to play replays in");
        return 1;
    }
    const auto cleanUp = [&work] {
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
    };
    if (!checkGame(game, work, message)) {
        reportLine(message);
        cleanUp();
        return 1;
    }
    // Signals are taken by one thread of their own; every other thread is made with them held.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    std::unique_ptr<CScoreStore> store =
        openScoreStore(options.database, options.postgres, message);
    if (!store) {
        reportLine(message);
        cleanUp();
        return 1;
    }
    SVerifierSetup verifying;
    verifying.game = game;
    verifying.workFolder = work;
    verifying.mostSeconds = options.verifySeconds;
    verifying.memoryBytes =
        static_cast<uint64_t>(options.verifyMemoryMb < 0 ? kDefaultMemoryMb
                                                         : options.verifyMemoryMb)
        << 20;
    CVerifierPool verifiers(*store, verifying);

    SServerSetup setup;
    setup.host = options.host;
    setup.port = options.port;
    setup.queueLimit = options.queue;
    setup.ratePerMinute = options.rate;
    setup.answerWithin = options.answerWithin;
    setup.trustProxy = options.trustProxy;
    setup.pageFolder = page;
    setup.game = {BOLTFEVER_VERSION, mapFileIdentity(findMapFileFor(folderOf(game) + "/"))};
    CScoreServer server(*store, verifiers, setup);
    if (!server.bind(message)) {
        reportLine(message);
        cleanUp();
        return 1;
    }
    const int count = options.verifiers >= 0
                          ? options.verifiers
                          : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    verifiers.start(count);
    std::printf("Bolt Fever world server: http://%s:%d/ (%d verifier%s, %s)\n",
                options.host.c_str(), server.port(), count, count == 1 ? "" : "s",
                options.postgres.empty() ? ("SQLite " + options.database).c_str() : "PostgreSQL");
    std::fflush(stdout);

    std::thread waiter([&server, &signals] {
        int signal = 0;
        sigwait(&signals, &signal);
        server.stop();
    });
    server.run();
    // Stopped by a signal, or the listening failed: either way the signal thread is let go.
    kill(getpid(), SIGTERM);
    waiter.join();
    verifiers.stop();
    cleanUp();
    return 0;
}
