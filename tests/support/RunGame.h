#pragma once
// Runs the built game as a process, as a player or a script would, with a home folder of its own
// so that no test touches the user's settings.

#include <string>

struct SGameRun {
    int status = -1;     // the exit status, or -1 when the process did not exit normally
    std::string output;  // stdout and stderr together
};

// A fresh, empty folder under the build folder, named for the calling test.
std::string freshTestDir(const std::string& name);

// Writes text to a file, replacing what it held.
void writeText(const std::string& path, const std::string& text);

// The longest a run may take (under the sanitizers too); then it is stopped, and killed five
// seconds later if it has not ended. Its status is then timeout's: 124, or 137 when killed.
constexpr int kMostRunSeconds = 60;

// Runs boltfever with the arguments (a shell-quoted string) in `dir`, with HOME set to it, for at
// most kMostRunSeconds. `prefix` goes before the command in the shell: variables, `env -u NAME`,
// limits.
SGameRun runGame(const std::string& arguments, const std::string& dir,
                 const std::string& prefix = "");
