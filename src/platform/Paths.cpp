#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string userDataDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return std::string(xdg) + "/boltfever/";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.local/share/boltfever/";
    return {};
}

bool makeUserDataDir(std::string& error) {
    const std::string dir = userDataDir();
    if (dir.empty()) {
        error = "no home folder (HOME is not set)";
        return false;
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        error = dir + ": " + ec.message();
        return false;
    }
    return true;
}

std::string settingsPath() {
    std::error_code ec;
    if (fs::is_regular_file("boltfever.cfg", ec)) return "boltfever.cfg";
    const std::string dir = userDataDir();
    return dir.empty() ? std::string("boltfever.cfg") : dir + "boltfever.cfg";
}

std::string executableDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().string() + "/";
}
