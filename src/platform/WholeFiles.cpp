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

bool writeFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string& error) {
    CAtomicFile file;
    if (!file.open(path, error)) return false;
    int failure = 0;
    if (!file.writeAt(0, data, size, failure)) {
        error = path + ": " + std::strerror(failure);
        return false;
    }
    return file.commit(error);
}
