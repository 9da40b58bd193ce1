// Files on Windows, with the same contract as on every other system (platform/Files.h). The
// temporary file is opened so that no other program may write or remove it while it is ours,
// which is the lock other systems take with flock; it replaces the file by MoveFileEx, as
// rename does elsewhere. Windows has no world-writable sticky folders and follows its links
// itself: the game's own folder is the user's, whom nobody else's link can reach, and a planted
// link in place of a file is replaced, never written through.
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/Files.h"
#include "platform/windows/WideNames.h"

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

size_t lastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

std::string reason(const std::string& path, int error) {
    return path + ": " + std::strerror(error);
}

DWORD attributes(const std::string& path) {
    return GetFileAttributesW(wideName(path).c_str());
}

bool isFolder(const std::string& path) {
    const DWORD found = attributes(path);
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY);
}

// The volume and the file's number on it, which tell one file from another as a device and an
// inode do elsewhere; false when there is no such file.
bool identity(const std::string& path, uint64_t id[2]) {
    const HANDLE file = CreateFileW(wideName(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool got = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    id[0] = info.dwVolumeSerialNumber;
    id[1] = uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
    return got;
}

}  // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = lastSeparator(path);
    if (slash == std::string::npos) return ".";
    // The root of a drive ("C:/") or of everything ("/") keeps its separator.
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const size_t slash = lastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool resolveLinks(const std::string& path, std::string& resolved, std::string&) {
    resolved = path.empty() ? "." : path;
    return true;
}

bool isReadOnly(const std::string& path) {
    const DWORD found = attributes(path);
    if (found == INVALID_FILE_ATTRIBUTES || (found & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (found & FILE_ATTRIBUTE_READONLY) return true;
    // Its permissions may refuse us the writing even so: asked without changing the file.
    const HANDLE file = CreateFileW(wideName(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    return GetLastError() == ERROR_ACCESS_DENIED;
}

bool sameFile(const std::string& a, const std::string& b) {
    uint64_t one[2], two[2];
    const bool firstThere = identity(a, one), secondThere = identity(b, two);
    if (firstThere || secondThere)
        return firstThere && secondThere && one[0] == two[0] && one[1] == two[1];
    // Windows' names are the same in any case.
    if (CompareStringOrdinal(wideName(nameOf(a)).c_str(), -1, wideName(nameOf(b)).c_str(), -1,
                             TRUE) != CSTR_EQUAL)
        return false;
    return identity(folderOf(a), one) && identity(folderOf(b), two) && one[0] == two[0] &&
           one[1] == two[1];
}

EFileRead readFileUpTo(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes,
                       std::string& error) {
    bytes.clear();
    if (isFolder(path)) {
        error = path + ": is a folder, not a file";
        return EFileRead::kFailed;
    }
    int fd = -1;
    if (_wsopen_s(&fd, wideName(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO,
                  0) != 0) {
        const int failure = errno;
        error = reason(path, failure);
        return failure == ENOENT ? EFileRead::kMissing : EFileRead::kFailed;
    }
    struct _stat64 info {};
    if (_fstat64(fd, &info) != 0 || !(info.st_mode & _S_IFREG)) {
        error = path + ": not a regular file";
        _close(fd);
        return EFileRead::kFailed;
    }
    constexpr uint64_t kMostReserved = 64 << 20;
    bytes.reserve(
        std::min<uint64_t>({static_cast<uint64_t>(info.st_size), maxBytes, kMostReserved}));
    uint8_t buffer[65536];
    int failure = 0;
    bool larger = false;
    for (;;) {
        const int got = _read(fd, buffer, sizeof buffer);
        if (got < 0) failure = errno;
        if (got <= 0) break;
        const size_t room = maxBytes - bytes.size();
        bytes.insert(bytes.end(), buffer, buffer + std::min<size_t>(room, got));
        if (static_cast<size_t>(got) > room) {
            larger = true;
            break;
        }
    }
    _close(fd);
    if (failure != 0) {
        bytes.clear();
        error = reason(path, failure);
        return EFileRead::kFailed;
    }
    if (larger) {
        error = path + ": larger than " + std::to_string(maxBytes) + " bytes";
        return EFileRead::kCut;
    }
    return EFileRead::kWhole;
}

bool checkOutputPath(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "an empty file name";
        return false;
    }
    if (isSeparator(path.back())) {
        error = path + ": names a folder, not a file";
        return false;
    }
    const DWORD found = attributes(path);
    if (found != INVALID_FILE_ATTRIBUTES) {
        if (found & FILE_ATTRIBUTE_DIRECTORY) {
            error = path + ": is a folder, not a file";
            return false;
        }
        if (found & FILE_ATTRIBUTE_DEVICE) {
            error = path + ": not a regular file";
            return false;
        }
        if (isReadOnly(path)) {
            error = path + ": read-only; it is left as it is";
            return false;
        }
    }
    const std::string folder = folderOf(path);
    if (attributes(folder) == INVALID_FILE_ATTRIBUTES) {
        error = path + ": no folder " + folder;
        return false;
    }
    if (!isFolder(folder)) {
        error = path + ": " + folder + " is not a folder";
        return false;
    }
    return true;
}

bool makeOutputFolder(const std::string& path, std::string& error) {
    // Each missing level in turn, as mkdir -p does; a drive ("C:") is not made.
    for (size_t end = path.find_first_of("/\\", 1);; end = path.find_first_of("/\\", end + 1)) {
        const std::string part = path.substr(0, end);
        const bool drive = part.size() == 2 && part[1] == ':';
        if (!drive && !CreateDirectoryW(wideName(part).c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            error = part + ": " + systemReason(GetLastError());
            return false;
        }
        if (end == std::string::npos) break;
    }
    if (!isFolder(path)) {
        error = path + ": not a folder";
        return false;
    }
    return true;
}

bool CAtomicFile::open(const std::string& path, std::string& error) {
    abandon();
    path_ = path;
    if (isReadOnly(path_)) {
        error = path + ": read-only; it is left as it is";
        return false;
    }
    temporary_ = path_ + ".tmp";
    const std::wstring temporary = wideName(temporary_);
    // Another game writing the same file holds its temporary file for as long as a save takes;
    // one that records to it holds it for the whole game, and then we give up.
    constexpr int kTries = 100;
    constexpr auto kLockPause = std::chrono::milliseconds(10);
    for (int tries = 0; fd_ < 0; ++tries) {
        if (tries == kTries) {
            error = path + ": another program is writing it";
            return false;
        }
        // Always a new file; nobody else may write it or take it away while it is ours.
        if (_wsopen_s(&fd_, temporary.c_str(),
                      _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _SH_DENYWR,
                      _S_IREAD | _S_IWRITE) == 0)
            break;
        fd_ = -1;
        if (errno != EEXIST) {
            error = path + ": cannot create " + temporary_ + ": " + std::strerror(errno);
            return false;
        }
        // A leftover of a killed save goes; one that another game has open stays until that
        // game is done with it.
        if (isFolder(temporary_)) {
            error = path + ": " + temporary_ + " is in the way (not a regular file)";
            return false;
        }
        if (!DeleteFileW(temporary.c_str())) std::this_thread::sleep_for(kLockPause);
    }
    return true;
}

bool CAtomicFile::writeAt(uint64_t offset, const void* data, size_t size, int& failure) {
    if (_lseeki64(fd_, static_cast<__int64>(offset), SEEK_SET) < 0) {
        failure = errno;
        return false;
    }
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const unsigned chunk = static_cast<unsigned>(std::min<size_t>(size, 1u << 30));
        const int n = _write(fd_, p, chunk);
        if (n <= 0) {
            failure = n < 0 ? errno : EIO;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool CAtomicFile::truncate(uint64_t size) {
    return _chsize_s(fd_, static_cast<__int64>(size)) == 0;
}

bool CAtomicFile::commit(std::string& error) {
    // The data must be on the disk before the move makes it the file.
    if (_commit(fd_) != 0) {
        error = reason(path_, errno);
        abandon();
        return false;
    }
    _close(fd_);
    fd_ = -1;
    if (!MoveFileExW(wideName(temporary_).c_str(), wideName(path_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = path_ + ": " + systemReason(GetLastError());
        DeleteFileW(wideName(temporary_).c_str());
        return false;
    }
    return true;
}

void CAtomicFile::abandon() {
    if (fd_ < 0) return;
    _close(fd_);
    fd_ = -1;
    DeleteFileW(wideName(temporary_).c_str());
}
