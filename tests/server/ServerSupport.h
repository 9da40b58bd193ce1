#pragma once
// What the server's tests run for real: the game making high scores' replays, the server as a
// process of its own on loopback, and a PostgreSQL 15 of the test's own.

#include <sys/types.h>

#include <string>
#include <vector>

// A whole file; empty when it cannot be read.
std::string readAll(const std::string& path);

// A high score's replay as a player makes one: a game at level 9 with fire held until GAME
// OVER, the entry kept in the data folder of `dir`. Empty when the game made none (a game that
// did not end in time).
struct SMadeReplay {
    std::string bytes;
    int score = 0;         // as the game's report says
    std::string initials;  // those its entry was kept under, as the report says
};
SMadeReplay makeHighScoreReplay(const std::string& dir, int seed);
// `count` of them, from seeds 1 on (skipping those that make none), two games at a time.
std::vector<SMadeReplay> makeHighScoreReplays(const std::string& dir, size_t count);

// The server, run as `boltfever-server ARGS --listen 127.0.0.1:PORT` (port 0: a free one) in
// `dir`, its errors in dir/server.log.
class CServerProcess {
public:
    ~CServerProcess() { kill9(); }
    // False when it did not say where it listens within 60 s.
    bool start(const std::vector<std::string>& args, const std::string& dir, int port = 0);
    int port() const { return port_; }
    void kill9();
    // SIGTERM, then its status (-1 when it did not exit normally).
    int stop();
    std::string log() const;

private:
    pid_t pid_ = -1;
    int port_ = 0;
    std::string dir_;
};

// A PostgreSQL 15 made with initdb in `dir`/pg and listening on loopback only, on a free port;
// stopped when it goes. As root it runs as the postgres user, as PostgreSQL insists.
class CPostgres {
public:
    ~CPostgres();
    bool start(const std::string& dir, std::string& error);
    // The URL a server connects with.
    std::string url() const;

private:
    std::string data_;
    std::string prefix_;  // how commands are run (as postgres, for root)
    int port_ = 0;
    bool running_ = false;
};

// An unused port of 127.0.0.1, as the kernel gives one.
int freePort();

// The engines a store runs on, for parameterised tests: "sqlite" or "postgres". Starts the
// database the engine needs and returns the server's arguments for it.
std::vector<std::string> storeArguments(const std::string& engine, const std::string& dir,
                                        CPostgres& postgres, std::string& error);
