#include "platform/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

std::string reason(const std::string& path, int error) {
    return path + ": " + std::strerror(error);
}

// The folder a file would be created in.
std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

EFileRead readFileUpTo(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes,
                       std::string& error) {
    bytes.clear();
    // Non-blocking, so that opening a pipe with no writer returns at once; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int failure = errno;
        error = reason(path, failure);
        return failure == ENOENT ? EFileRead::kMissing : EFileRead::kFailed;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? path + ": is a folder, not a file"
                                      : path + ": not a regular file";
        ::close(fd);
        return EFileRead::kFailed;
    }
    // A size from the file system is only a hint (files under /proc say 0): read until the end.
    constexpr uint64_t kMostReserved = 64 << 20;
    bytes.reserve(
        std::min<uint64_t>({static_cast<uint64_t>(info.st_size), maxBytes, kMostReserved}));
    uint8_t buffer[65536];
    int failure = 0;
    bool larger = false;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failure = errno;
        if (got <= 0) break;
        const size_t room = maxBytes - bytes.size();
        bytes.insert(bytes.end(), buffer, buffer + std::min<size_t>(room, got));
        if (static_cast<size_t>(got) > room) {
            larger = true;
            break;
        }
    }
    ::close(fd);
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

bool readFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error,
              size_t maxBytes) {
    if (readFileUpTo(path, bytes, maxBytes, error) == EFileRead::kWhole) return true;
    bytes.clear();
    return false;
}

bool checkOutputPath(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "an empty file name";
        return false;
    }
    if (path.back() == '/') {
        error = path + ": names a folder, not a file";
        return false;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            error = path + ": is a folder, not a file";
            return false;
        }
        // Our writes replace the file by a rename, which would put a plain file in place of a
        // device or a pipe.
        if (!S_ISREG(info.st_mode)) {
            error = path + ": not a regular file";
            return false;
        }
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
            error = reason(path, errno);
            return false;
        }
    } else if (errno != ENOENT && errno != ENOTDIR) {
        error = reason(path, errno);
        return false;
    }
    const std::string folder = folderOf(path);
    if (::stat(folder.c_str(), &info) != 0) {
        error = path + ": no folder " + folder;
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = path + ": " + folder + " is not a folder";
        return false;
    }
    // The new file is made beside the old one, so the folder must take new files.
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        error = path + ": cannot write in " + folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool makeOutputFolder(const std::string& path, std::string& error) {
    // Each missing level in turn, as mkdir -p does.
    for (size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string part = path.substr(0, end);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            error = reason(part, errno);
            return false;
        }
        if (end == std::string::npos) break;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = path + ": not a folder";
        return false;
    }
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        error = path + ": cannot write in it: " + std::strerror(errno);
        return false;
    }
    return true;
}

namespace {

// The file a path names, through any symbolic links: a settings file the player linked elsewhere
// is rewritten where it really is, and the link stays a link. A link that leads nowhere names
// the file it would lead to; a loop of links is left as it is.
std::string followLinks(const std::string& path) {
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return at;
        char target[4096];
        const ssize_t n = ::readlink(at.c_str(), target, sizeof target - 1);
        if (n <= 0) return at;
        target[n] = '\0';
        const size_t slash = at.rfind('/');
        at = target[0] == '/' || slash == std::string::npos ? std::string(target)
                                                            : at.substr(0, slash + 1) + target;
    }
    return path;
}

}  // namespace

bool CAtomicFile::open(const std::string& path, std::string& error) {
    abandon();
    path_ = followLinks(path);
    temporary_ = path_ + ".tmp";
    // Another game writing the same file holds the lock for as long as a save takes; one that
    // records to it holds it for the whole game, and then we give up.
    constexpr int kLockTries = 100;
    constexpr auto kLockPause = std::chrono::milliseconds(10);
    for (int tries = 0;; ++tries) {
        // Never through a link, never blocking on a pipe.
        const int fd = ::open(temporary_.c_str(),
                              O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (fd < 0) {
            error = path + ": cannot create " + temporary_ + ": " + std::strerror(errno);
            return false;
        }
        struct stat mine {
        }, named{};
        if (::fstat(fd, &mine) != 0 || !S_ISREG(mine.st_mode)) {
            ::close(fd);
            error = path + ": " + temporary_ + " is in the way (not a regular file)";
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            if (tries == kLockTries) {
                error = path + ": another program is writing it";
                return false;
            }
            std::this_thread::sleep_for(kLockPause);
            continue;
        }
        // The lock is on the file we opened; the name must still be that file's, else the save
        // we waited for has just renamed it into place.
        if (::stat(temporary_.c_str(), &named) == 0 && named.st_ino == mine.st_ino &&
            named.st_dev == mine.st_dev) {
            fd_ = fd;
            break;
        }
        ::close(fd);
    }
    if (::ftruncate(fd_, 0) != 0) {
        error = reason(temporary_, errno);
        abandon();
        return false;
    }
    // The new file keeps the old one's permissions.
    struct stat old {};
    if (::stat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd_, old.st_mode & 07777);
    return true;
}

bool CAtomicFile::writeAt(uint64_t offset, const void* data, size_t size, int& failure) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd_, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failure = n < 0 ? errno : EIO;
            return false;
        }
        p += n;
        offset += static_cast<uint64_t>(n);
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool CAtomicFile::truncate(uint64_t size) {
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
}

bool CAtomicFile::commit(std::string& error) {
    // The data must be on the disk before the rename makes it the file; the lock is held until
    // the rename is done.
    int failure = ::fsync(fd_) == 0 ? 0 : errno;
    if (failure == 0 && std::rename(temporary_.c_str(), path_.c_str()) != 0) failure = errno;
    if (failure != 0) {
        error = reason(path_, failure);
        abandon();
        return false;
    }
    ::close(fd_);
    fd_ = -1;
    return true;
}

void CAtomicFile::abandon() {
    if (fd_ < 0) return;
    ::unlink(temporary_.c_str());
    ::close(fd_);
    fd_ = -1;
}

bool writeFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string& error) {
    CAtomicFile file;
    if (!file.open(path, error)) return false;
    int failure = 0;
    if (!file.writeAt(0, data, size, failure)) {
        error = reason(path, failure);
        return false;
    }
    return file.commit(error);
}
