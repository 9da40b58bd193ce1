#include "platform/Paths.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// The base-directory rules take only absolute paths; a relative one would mean a different
// folder in every working directory.
bool isAbsolute(const char* path) {
    return path && path[0] == '/';
}

// $HOME, else the home the password database gives the user; empty when neither is absolute.
std::string homeDir() {
    const char* home = std::getenv("HOME");
    if (isAbsolute(home)) return home;
    const passwd* entry = ::getpwuid(::geteuid());
    return entry && isAbsolute(entry->pw_dir) ? entry->pw_dir : "";
}

}  // namespace

std::string userDataDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (isAbsolute(xdg)) return std::string(xdg) + "/boltfever/";
    const std::string home = homeDir();
    return home.empty() ? home : home + "/.local/share/boltfever/";
}

bool makeUserDataDir(std::string& error) {
    const std::string dir = userDataDir();
    if (dir.empty()) {
        error = "no home folder (HOME is not set, nor is there one for this user)";
        return false;
    }
    // Each missing folder down to the data folder is made, private as the base-directory rules
    // ask; a home that is not there is not made.
    const std::string home = homeDir();
    struct stat info {};
    if (!home.empty() && dir.compare(0, home.size() + 1, home + "/") == 0 &&
        ::stat(home.c_str(), &info) != 0) {
        error = home + ": " + std::strerror(errno) + " (a home is never made)";
        return false;
    }
    for (size_t end = dir.find('/', 1); end != std::string::npos; end = dir.find('/', end + 1)) {
        const std::string part = dir.substr(0, end);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            error = part + ": " + std::strerror(errno);
            return false;
        }
    }
    if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = dir + ": not a folder";
        return false;
    }
    return true;
}

std::string settingsPath() {
    if (isRegularFile("boltfever.cfg")) return "boltfever.cfg";
    const std::string dir = userDataDir();
    return dir.empty() ? dir : dir + "boltfever.cfg";
}

std::string executableDir() {
    char exe[4096];
    const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe);
    if (length <= 0 || static_cast<size_t>(length) == sizeof exe) return {};
    const std::string path(exe, static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool isRegularFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool pathExists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

void removeOwnFile(const std::string& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid())
        unlink(path.c_str());
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* listing = opendir(folder.c_str());
    if (!listing) return names;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(listing);
    return names;
}
