// Where the game keeps and finds its files on Windows: the settings, keys and high scores in the
// folder SDL names the program's preferences (%APPDATA%\boltfever\), never beside the .exe,
// which may lie where the player cannot write. Names use '/', which Windows takes as well as
// '\', so that the game's own handling of folders holds.
#include <windows.h>
// Windows' other headers need its types first.
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>

#include "platform/Paths.h"
#include "platform/windows/WideNames.h"

namespace {

std::string withSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// "C:\..." or "\\server\share\...": a relative %APPDATA% would mean a different folder in
// every working directory.
bool isAbsolute(const std::wstring& path) {
    return (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) ||
           (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\');
}

// The roaming application data folder: %APPDATA% (which a test or a portable setup may point
// elsewhere), else the shell's own; empty when neither is absolute.
std::string applicationData() {
    const wchar_t* given = _wgetenv(L"APPDATA");
    if (given && isAbsolute(given)) return withSlashes(utf8Name(given));
    wchar_t folder[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK &&
        isAbsolute(folder))
        return withSlashes(utf8Name(folder));
    return {};
}

DWORD attributes(const std::string& path) {
    return GetFileAttributesW(wideName(path).c_str());
}

}  // namespace

std::string userDataDir() {
    std::string base = applicationData();
    if (base.empty()) return base;
    if (base.back() != '/') base += '/';
    return base + "boltfever/";
}

bool makeUserDataDir(std::string& error) {
    const std::string dir = userDataDir();
    if (dir.empty()) {
        error = "no application data folder (APPDATA is not set, nor does Windows name one)";
        return false;
    }
    // Only the game's own folder is made, never the application data folder above it.
    const std::string own = dir.substr(0, dir.size() - 1);
    if (!CreateDirectoryW(wideName(own).c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
        error = own + ": " + systemReason(GetLastError());
        return false;
    }
    const DWORD found = attributes(own);
    if (found == INVALID_FILE_ATTRIBUTES || !(found & FILE_ATTRIBUTE_DIRECTORY)) {
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
    std::wstring exe(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (length == 0 || length >= exe.size()) return {};
    exe.resize(length);
    const std::string path = withSlashes(utf8Name(exe));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool isRegularFile(const std::string& path) {
    const DWORD found = attributes(path);
    return found != INVALID_FILE_ATTRIBUTES &&
           !(found & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

bool pathExists(const std::string& path) {
    return attributes(path) != INVALID_FILE_ATTRIBUTES;
}

void removeOwnFile(const std::string& path) {
    // The user's own folder holds only the user's files; a link (a reparse point) is left.
    const DWORD found = attributes(path);
    if (found != INVALID_FILE_ATTRIBUTES &&
        !(found & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        DeleteFileW(wideName(path).c_str());
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE listing = FindFirstFileW(wideName(folder + "*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = utf8Name(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(listing, &found));
    FindClose(listing);
    return names;
}
