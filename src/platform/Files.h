#pragma once
// Reading files with a size limit, checking where a run will write before it starts, and writing
// files so that they are either the old file or the whole new one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class EFileRead {
    kWhole,    // the whole file is in `bytes`
    kCut,      // the file is larger than the limit: `bytes` holds its beginning
    kMissing,  // no file by that name
    kFailed,   // nothing read
};

// Reads a regular file, at most maxBytes of it. A folder, a device or a pipe is refused rather
// than read (a pipe could block, a device never end), and so is a link resolveLinks refuses.
// Every outcome but kWhole comes with a one-line reason that starts with the path.
EFileRead readFileUpTo(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes,
                       std::string& error);
// The whole file or nothing: a file larger than maxBytes is refused.
bool readFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error,
              size_t maxBytes = SIZE_MAX);

// The path with its symbolic links followed one name at a time, as the kernel's protected-symlinks
// rule follows them: in a folder that is sticky and writable by everyone (a shared temporary
// folder), a link is followed only when it is the running user's or the folder owner's, for
// anybody else could have put it there to turn a write of ours onto a file of ours. False, with a
// one-line reason that starts with the path, for such a link or a loop of links. Names past the
// first missing one are kept as given.
bool resolveLinks(const std::string& path, std::string& resolved, std::string& error);
// True for an existing file the player cannot write, or made read-only. Root may write anything,
// so for root the permission bits decide as they would for anybody else: a file with no write
// bit for its class (owner, group, others) was made read-only on purpose.
bool isReadOnly(const std::string& path);
// True when two paths name one file: the same device and inode where it exists, else the same
// name in the same folder.
bool sameFile(const std::string& a, const std::string& b);
// The folder a file is in ("." for a bare name) and its name.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);

// Checks, without touching anything, that a file can be written at `path`: no link on the way
// that resolveLinks refuses, its folder exists and is writable, the path is not a folder, a
// device or a read-only file, and no other user's temporary file is in the way. False, with a
// one-line reason that starts with the path.
bool checkOutputPath(const std::string& path, std::string& error);
// The same for a folder of output files, which is made when it is not there yet.
bool makeOutputFolder(const std::string& path, std::string& error);

// A file written under a temporary name beside its own and renamed over it when complete. The
// temporary name is fixed (the name and ".tmp") and always a new file of ours: a save cut short
// by a kill leaves at most that one file, which the next save of ours removes and makes anew;
// one that another user made stops the save, since whoever owns it could read or change what we
// put there. Two games writing one file at once take turns through a lock on the temporary file.
// The file named is found through resolveLinks, and a read-only one is never replaced.
class CAtomicFile {
public:
    CAtomicFile() = default;
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;
    ~CAtomicFile() { abandon(); }

    // Creates the temporary file, empty. False, with a one-line reason.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return fd_ >= 0; }
    // Writes at an offset of the temporary file. False, with the errno of the failure (a full
    // disk: ENOSPC), when not all of it could be written.
    bool writeAt(uint64_t offset, const void* data, size_t size, int& failure);
    bool truncate(uint64_t size);
    // Puts the file in place: flushed to the disk, then renamed over the old one. On failure
    // the temporary file is removed and the old file stays as it was.
    bool commit(std::string& error);
    // Writes `size` bytes as the whole new file and commits it. False, with a one-line reason.
    bool commitWhole(const void* data, size_t size, std::string& error);
    // Removes the temporary file; the old file stays as it was.
    void abandon();
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string temporary_;
    int fd_ = -1;
};

// Writes a whole file through a CAtomicFile. False, with a one-line reason, on failure.
bool writeFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string& error);
