#include "server/ServerSupport.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

#include "support/RunGame.h"

namespace {

namespace fs = std::filesystem;

// The number after `key` in `text`; 0 when there is none.
int numberAfter(const std::string& text, const std::string& key) {
    const size_t at = text.find(key);
    return at == text.npos ? 0 : std::atoi(text.c_str() + at + key.size());
}

}  // namespace

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

SMadeReplay makeHighScoreReplay(const std::string& dir, int seed) {
    writeText(dir + "/fire.txt", "10 a\n");
    const SGameRun run = runGame(
        "--headless --mute --level 9 --input fire.txt --frames 4000 "
        "--report report.json --seed " +
            std::to_string(seed),
        dir);
    SMadeReplay made;
    const fs::path data = fs::path(dir) / ".local" / "share" / "boltfever";
    if (run.status != 0 || !fs::is_directory(data)) return made;
    for (const auto& entry : fs::directory_iterator(data))
        if (entry.path().extension() == ".bfr") made.bytes = readAll(entry.path().string());
    const std::string report = readAll(dir + "/report.json");
    made.score = numberAfter(report, "\"score\": ");
    const size_t at = report.find("\"initials\": \"");
    if (at != report.npos) made.initials = report.substr(at + 13, 3);
    return made;
}

std::vector<SMadeReplay> makeHighScoreReplays(const std::string& dir, size_t count) {
    std::vector<SMadeReplay> made;
    for (int seed = 1; made.size() < count && seed < static_cast<int>(4 * count + 8); seed += 2) {
        auto game = [&dir](int s) {
            const std::string own = dir + "/game-" + std::to_string(s);
            fs::remove_all(own);
            fs::create_directories(own);
            return makeHighScoreReplay(own, s);
        };
        auto second = std::async(std::launch::async, game, seed + 1);
        for (SMadeReplay replay : {game(seed), second.get()})
            if (!replay.bytes.empty() && made.size() < count) made.push_back(replay);
    }
    return made;
}

bool CServerProcess::start(const std::vector<std::string>& args, const std::string& dir, int port) {
    dir_ = dir;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return false;
    std::vector<std::string> all = {BOLTFEVER_BINARY_DIR "/boltfever-server"};
    all.insert(all.end(), args.begin(), args.end());
    all.insert(all.end(), {"--listen", "127.0.0.1:" + std::to_string(port)});
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const std::string log = dir + "/server.log";
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test that aborts takes its server with it
        const int err = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (chdir(dir.c_str()) != 0 || dup2(out[1], 1) < 0 || dup2(err, 2) < 0) _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    // "... http://127.0.0.1:PORT/ ...", its first line.
    std::string line;
    char c;
    pollfd ready{out[0], POLLIN, 0};
    while (line.find('\n') == line.npos && poll(&ready, 1, 60000) == 1 && read(out[0], &c, 1) == 1)
        line += c;
    close(out[0]);
    port_ = numberAfter(line, "http://127.0.0.1:");
    return port_ > 0;
}

void CServerProcess::kill9() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

int CServerProcess::stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    int raw = 0;
    waitpid(pid_, &raw, 0);
    pid_ = -1;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string CServerProcess::log() const {
    return readAll(dir_ + "/server.log");
}

int freePort() {
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    close(s);
    return port;
}

bool CPostgres::start(const std::string& dir, std::string& error) {
    const std::string bin = "/usr/lib/postgresql/15/bin/";
    data_ = dir + "/pg";
    fs::create_directories(data_);
    if (geteuid() == 0) {
        prefix_ = "runuser -u postgres -- ";
        if (std::system(("chown postgres: '" + data_ + "'").c_str()) != 0) {
            error = "cannot give " + data_ + " to the postgres user";
            return false;
        }
    }
    const std::string log = dir + "/postgres.log";
    const std::string init = prefix_ + bin + "initdb --no-sync -A trust -U boltfever -D '" + data_ +
                             "/data' >'" + log + "' 2>&1";
    if (std::system(init.c_str()) != 0) {
        error = "initdb failed: " + readAll(log);
        return false;
    }
    port_ = freePort();
    // Loopback only, and no socket file: a build folder's path is too long for one.
    const std::string options =
        "-c listen_addresses=127.0.0.1 -c fsync=off -k '' -p " + std::to_string(port_);
    const std::string run = prefix_ + bin + "pg_ctl -w -t 60 -D '" + data_ + "/data' -l '" + data_ +
                            "/server.log' -o \"" + options + "\" start >>'" + log + "' 2>&1";
    running_ = std::system(run.c_str()) == 0;
    if (!running_) error = "PostgreSQL did not start: " + readAll(data_ + "/server.log");
    return running_;
}

CPostgres::~CPostgres() {
    if (!running_) return;
    const std::string stop = prefix_ + "/usr/lib/postgresql/15/bin/pg_ctl -w -m immediate -D '" +
                             data_ + "/data' stop >/dev/null 2>&1";
    if (std::system(stop.c_str()) != 0) std::fprintf(stderr, "PostgreSQL did not stop\n");
}

std::string CPostgres::url() const {
    return "postgresql://boltfever@127.0.0.1:" + std::to_string(port_) + "/postgres";
}

std::vector<std::string> storeArguments(const std::string& engine, const std::string& dir,
                                        CPostgres& postgres, std::string& error) {
    if (engine == "sqlite") return {"--database", dir + "/world.db"};
    if (!postgres.start(dir, error)) return {};
    return {"--postgres", postgres.url()};
}
