#pragma once
// A file of the fuzz target's own that a reader opens by name, as it opens the player's files:
// the fuzz targets hand the game's own loaders each input this way. It lies in a folder only
// this process may enter (under $TMPDIR, else /tmp), so it is a plain file the readers take
// like any other, and it goes with the folder when the target exits.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

class CScratchFile {
public:
    explicit CScratchFile(const char* name) {
        const char* tmp = std::getenv("TMPDIR");
        std::string folder = std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/bf-fuzz-XXXXXX";
        if (!::mkdtemp(folder.data())) __builtin_trap();
        folder_ = folder;
        path_ = folder_ + "/" + name;
        fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd_ < 0) __builtin_trap();
    }
    ~CScratchFile() {
        ::close(fd_);
        ::unlink(path_.c_str());
        ::rmdir(folder_.c_str());
    }
    CScratchFile(const CScratchFile&) = delete;
    CScratchFile& operator=(const CScratchFile&) = delete;
    // The file holds exactly these bytes.
    void hold(const uint8_t* data, size_t size) {
        if (::ftruncate(fd_, 0) != 0 ||
            (size > 0 && ::pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)))
            __builtin_trap();
    }
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    std::string folder_, path_;
};
