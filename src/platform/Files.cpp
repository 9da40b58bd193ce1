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

// A folder anyone may add names to, though only their owners may remove them: /tmp and its like.
bool isShared(const struct stat& folder) {
    return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
}

// The kernel's rule for following the link `link` found in `folder`.
bool mayFollow(const struct stat& link, const std::string& folder) {
    if (link.st_uid == ::geteuid()) return true;
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return false;
    return !isShared(info) || info.st_uid == link.st_uid;
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Pushes the names of a path onto a stack, the first name last (on top).
void pushNames(const std::string& path, std::vector<std::string>& names) {
    for (size_t end = path.size(); end > 0;) {
        const size_t slash = path.rfind('/', end - 1);
        const size_t start = slash == std::string::npos ? 0 : slash + 1;
        if (end > start) names.push_back(path.substr(start, end - start));
        if (slash == std::string::npos) break;
        end = slash;
    }
}

// "NAME.tmp belongs to another user", when it does.
bool foreignTemporary(const std::string& path, const std::string& temporary, std::string& error) {
    struct stat info {};
    if (::lstat(temporary.c_str(), &info) != 0 || info.st_uid == ::geteuid()) return false;
    error =
        path + ": " + temporary + " belongs to another user; nothing written, the old file stays";
    return true;
}

}  // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool resolveLinks(const std::string& path, std::string& resolved, std::string& error) {
    std::vector<std::string> names;
    pushNames(path, names);
    std::string at = !path.empty() && path[0] == '/' ? "/" : "";
    bool missing = false;  // nothing below a missing name can be a link
    int hops = 0;
    while (!names.empty()) {
        const std::string next = joined(at, names.back());
        names.pop_back();
        struct stat info {};
        if (!missing && ::lstat(next.c_str(), &info) != 0) missing = true;
        if (missing || !S_ISLNK(info.st_mode)) {
            at = next;
            continue;
        }
        if (!mayFollow(info, at.empty() ? "." : at)) {
            error = path + ": " + (next == path ? "" : next + " is ") +
                    "another user's link in a shared folder; not followed";
            return false;
        }
        char target[4096];
        const ssize_t n = ::readlink(next.c_str(), target, sizeof target);
        if (n <= 0 || n == sizeof target || ++hops > 40) {
            error = reason(path, n < 0 ? errno : ELOOP);
            return false;
        }
        if (target[0] == '/') at = "/";
        pushNames(std::string(target, static_cast<size_t>(n)), names);
    }
    resolved = at.empty() ? "." : at;
    return true;
}

bool isReadOnly(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return errno != ENOENT;
    if (::geteuid() != 0) return false;
    gid_t groups[64];
    const int count = std::max(::getgroups(64, groups), 0);
    const bool member = info.st_gid == ::getegid() ||
                        std::find(groups, groups + count, info.st_gid) != groups + count;
    const mode_t bit = info.st_uid == 0 ? S_IWUSR : member ? S_IWGRP : S_IWOTH;
    return (info.st_mode & bit) == 0;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::string first, second, ignored;
    if (!resolveLinks(a, first, ignored)) first = a;
    if (!resolveLinks(b, second, ignored)) second = b;
    struct stat one {
    }, two{};
    const bool firstThere = ::stat(first.c_str(), &one) == 0;
    const bool secondThere = ::stat(second.c_str(), &two) == 0;
    if (firstThere || secondThere)
        return firstThere && secondThere && one.st_dev == two.st_dev && one.st_ino == two.st_ino;
    if (nameOf(first) != nameOf(second)) return false;
    const std::string folder = folderOf(first), otherFolder = folderOf(second);
    return folder == otherFolder ||
           (::stat(folder.c_str(), &one) == 0 && ::stat(otherFolder.c_str(), &two) == 0 &&
            one.st_dev == two.st_dev && one.st_ino == two.st_ino);
}

EFileRead readFileUpTo(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes,
                       std::string& error) {
    bytes.clear();
    // Links are followed as a write follows them: another user's link in a shared folder could
    // hand a file of ours to whatever reads it aloud (a bad line is echoed with its text).
    std::string target;
    if (!resolveLinks(path, target, error)) return EFileRead::kFailed;
    // Non-blocking, so that opening a pipe with no writer returns at once; it is refused below.
    const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
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

bool checkOutputPath(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "an empty file name";
        return false;
    }
    if (path.back() == '/') {
        error = path + ": names a folder, not a file";
        return false;
    }
    std::string target;
    if (!resolveLinks(path, target, error)) return false;
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
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
        if (isReadOnly(target)) {
            error = path + ": read-only; it is left as it is";
            return false;
        }
    } else if (errno != ENOENT && errno != ENOTDIR) {
        error = reason(path, errno);
        return false;
    }
    if (foreignTemporary(path, target + ".tmp", error)) return false;
    const std::string folder = folderOf(target);
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

bool makeOutputFolder(const std::string& given, std::string& error) {
    std::string path;
    if (!resolveLinks(given, path, error)) return false;
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

bool CAtomicFile::open(const std::string& path, std::string& error) {
    abandon();
    // A settings file the player linked elsewhere is rewritten where it really is, and the link
    // stays a link.
    if (!resolveLinks(path, path_, error)) return false;
    if (isReadOnly(path_)) {
        error = path + ": read-only; it is left as it is";
        return false;
    }
    temporary_ = path_ + ".tmp";
    // Another game writing the same file holds the lock for as long as a save takes; one that
    // records to it holds it for the whole game, and then we give up.
    constexpr int kTries = 100;
    constexpr auto kLockPause = std::chrono::milliseconds(10);
    for (int tries = 0; fd_ < 0; ++tries) {
        if (tries == kTries) {
            error = path + ": another program is writing it";
            return false;
        }
        // Always a new file, never through a link.
        int fd =
            ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        const bool made = fd >= 0;
        if (!made) {
            if (errno != EEXIST) {
                error = path + ": cannot create " + temporary_ + ": " + std::strerror(errno);
                return false;
            }
            // A leftover: a killed save's, or a file another game of ours is writing now.
            if (foreignTemporary(path, temporary_, error)) return false;
            fd = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
            struct stat info {};
            if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
                ::close(fd);
                error = path + ": " + temporary_ + " is in the way (not a regular file)";
                return false;
            }
            if (fd < 0 && errno != ENOENT) {
                error = path + ": " + temporary_ + " is in the way: " + std::strerror(errno);
                return false;
            }
            if (fd < 0) continue;  // gone meanwhile
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            // Another game is writing it (or, for a file we just made, is about to remove it
            // as a leftover).
            ::close(fd);
            std::this_thread::sleep_for(kLockPause);
            continue;
        }
        // With the lock held the name must still be this file: a save we waited for renames it
        // into place, and a game that found our new file a leftover removes it.
        struct stat mine {
        }, named{};
        const bool still = ::fstat(fd, &mine) == 0 && ::lstat(temporary_.c_str(), &named) == 0 &&
                           named.st_ino == mine.st_ino && named.st_dev == mine.st_dev;
        if (made && still) {
            fd_ = fd;
            break;
        }
        if (still) ::unlink(temporary_.c_str());  // a killed save's: ours to remove
        ::close(fd);
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
