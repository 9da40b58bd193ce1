#pragma once
// boltfever-server's options.

#include <cstdint>
#include <string>

struct SServerOptions {
    std::string host = "127.0.0.1";
    int port = 8080;                              // 0: any free port (said on stdout)
    std::string database = "boltfever-world.db";  // SQLite, unless `postgres`
    std::string postgres;                         // a PostgreSQL connection URL
    int verifiers = -1;                           // -1: one per core
    std::string game;                             // empty: boltfever beside the server
    std::string page;                             // the browser game's folder; empty: looked for
    uint32_t queue = 1000;                        // most submissions waiting to be played
    uint32_t rate = 6;            // submissions an address may send a minute; 0: any
    double answerWithin = 5;      // seconds a submission waits for its verdict
    bool trustProxy = false;      // X-Forwarded-For names the address
    double verifySeconds = 0;     // cap on one play's time; 0: from its length
    int64_t verifyMemoryMb = -1;  // one play's memory; -1: the default; 0: none
};

enum class EServerCommand {
    kServe,
    kDone,   // help or version printed: status 0
    kError,  // a one-line reason: status 2
};

EServerCommand parseServerCommandLine(int argc, const char* const* argv, SServerOptions& options,
                                      std::string& message);
const char* serverHelpText();
