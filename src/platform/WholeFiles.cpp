// Whole files read and written, on every system, through its own readFileUpTo and CAtomicFile
// (Files.cpp, windows/Files.cpp).
#include <cstring>

#include "platform/Files.h"

bool readFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error,
              size_t maxBytes) {
    if (readFileUpTo(path, bytes, maxBytes, error) == EFileRead::kWhole) return true;
    bytes.clear();
    return false;
}

bool CAtomicFile::commitWhole(const void* data, size_t size, std::string& error) {
    int failure = 0;
    if (!writeAt(0, data, size, failure)) {
        error = path_ + ": " + std::strerror(failure);
        abandon();
        return false;
    }
    return commit(error);
}

bool writeFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string& error) {
    CAtomicFile file;
    return file.open(path, error) && file.commitWhole(data, size, error);
}
