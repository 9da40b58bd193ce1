#include "support/RunGame.h"

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string freshTestDir(const std::string& name) {
    const std::filesystem::path dir =
        std::filesystem::path(BOLTFEVER_BINARY_DIR) / "test-runs" / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

SGameRun runGame(const std::string& arguments, const std::string& dir, const std::string& prefix) {
    const std::string log = dir + "/run.log";
    // A game that hangs is stopped, and killed if it will not stop, before the test's own time
    // runs out: no run outlives its test.
    const std::string command = "cd '" + dir + "' && " + prefix + " HOME='" + dir +
                                "' XDG_DATA_HOME= timeout -k 5 " + std::to_string(kMostRunSeconds) +
                                " " BOLTFEVER_EMULATOR " '" BOLTFEVER_BINARY_DIR "/boltfever' " +
                                arguments + " >'" + log + "' 2>&1";
    SGameRun run;
    const int raw = std::system(command.c_str());
    if (raw != -1 && WIFEXITED(raw)) run.status = WEXITSTATUS(raw);
    std::ifstream in(log);
    std::ostringstream text;
    text << in.rdbuf();
    run.output = text.str();
    return run;
}
