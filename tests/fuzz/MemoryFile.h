#pragma once
// A file in memory that a reader opens by name, as it opens the player's files: the fuzz targets
// hand the game's own loaders each input this way.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

class CMemoryFile {
public:
    explicit CMemoryFile(const char* name) : fd_(::memfd_create(name, MFD_CLOEXEC)) {
        if (fd_ < 0) __builtin_trap();
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    // The file holds exactly these bytes.
    void hold(const uint8_t* data, size_t size) {
        if (::ftruncate(fd_, 0) != 0 ||
            (size > 0 && ::pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)))
            __builtin_trap();
    }
    const std::string& path() const { return path_; }

private:
    int fd_;
    std::string path_;
};
