#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool readFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error,
              size_t maxBytes) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    uint8_t buffer[65536];
    while (bytes.size() < maxBytes) {
        const size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
        const size_t got = std::fread(buffer, 1, want, file);
        bytes.insert(bytes.end(), buffer, buffer + got);
        if (got < want) break;
    }
    const bool failed = std::ferror(file) != 0;
    const int readErrno = errno;
    std::fclose(file);
    if (failed) {
        error = path + ": " + std::strerror(readErrno);
        return false;
    }
    return true;
}

bool checkWritable(const std::string& path, std::string& error) {
    struct stat info;
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = path + ": is a folder";
        return false;
    }
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    if (::access(folder.c_str(), W_OK) != 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool writeFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string& error) {
    // A name of its own, so that two games saving at once do not share one.
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = path + ": cannot create a temporary file: " + std::strerror(errno);
        return false;
    }
    ::fchmod(fd, 0644);  // mkstemp makes it private; our files are the user's to read
    const uint8_t* p = static_cast<const uint8_t*>(data);
    size_t left = size;
    int failure = 0;
    while (left > 0 && failure == 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0)
            failure = errno;
        else if (n == 0)
            failure = EIO;
        p += n > 0 ? n : 0;
        left -= n > 0 ? static_cast<size_t>(n) : 0;
    }
    // The data must be on the disk before the rename makes it the file.
    if (failure == 0 && ::fsync(fd) != 0) failure = errno;
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) failure = errno;
    if (failure != 0) {
        error = path + ": " + std::strerror(failure);
        std::remove(temporary.c_str());
    }
    return failure == 0;
}
