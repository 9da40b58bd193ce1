#include "platform/windows/WideNames.h"

#include <windows.h>

#include <cerrno>
#include <cstring>

std::wstring wideName(const std::string& path) {
    const int size = static_cast<int>(path.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, path.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), size, wide.data(), n);
    return wide;
}

std::string utf8Name(const std::wstring& path) {
    const int size = static_cast<int>(path.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, path.data(), size, nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.data(), size, name.data(), n, nullptr, nullptr);
    return name;
}

std::string systemReason(unsigned long code) {
    int error = EIO;
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            error = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            error = EACCES;
            break;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            error = EBUSY;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            error = ENOSPC;
            break;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            error = EEXIST;
            break;
        case ERROR_DIRECTORY:
            error = ENOTDIR;
            break;
    }
    return std::strerror(error);
}
