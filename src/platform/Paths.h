#pragma once
// Where the game keeps and finds its files.

#include <string>
#include <vector>

// The user's data folder for the game, with a trailing slash: $XDG_DATA_HOME/boltfever, else
// ~/.local/share/boltfever, the home being $HOME or else the password database's. Relative paths
// in either variable are ignored, as the base-directory rules say. Empty when there is no home.
// The folder is not created here.
std::string userDataDir();
// Creates the user's data folder and the missing folders above it, but never a home that is not
// there. False, with a reason, when it cannot be made.
bool makeUserDataDir(std::string& error);
// The settings file: boltfever.cfg in the working directory when there is one (where the
// handheld kept it), else boltfever.cfg in the user's data folder; empty when there is none.
std::string settingsPath();
// The folder the running executable lies in, with a trailing slash; empty if unknown.
std::string executableDir();
// A regular file (or a link to one) is there.
bool isRegularFile(const std::string& path);
// Anything (a file, a folder, a link) has that name.
bool pathExists(const std::string& path);
// Removes a regular file of the running user's; never a link, a folder or another user's file.
void removeOwnFile(const std::string& path);
// The names in a folder, "." and ".." left out; none when it cannot be read.
std::vector<std::string> namesIn(const std::string& folder);
