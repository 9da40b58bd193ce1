#pragma once
// Where the game keeps and finds its files.

#include <string>

// The user's data folder for the game ($XDG_DATA_HOME/boltfever, else
// ~/.local/share/boltfever), with a trailing slash; empty when neither variable is set.
// The folder is not created here.
std::string userDataDir();
// Creates the user's data folder if needed. False, with a reason, when it cannot be made.
bool makeUserDataDir(std::string& error);
// The settings file: boltfever.cfg in the working directory when there is one (where the
// handheld kept it), else boltfever.cfg in the user's data folder.
std::string settingsPath();
// The folder the running executable lies in, with a trailing slash; empty if unknown.
std::string executableDir();
