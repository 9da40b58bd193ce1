#pragma once
// A disk that fills up: files written by `write` stop growing at `bytes`, as on a full disk
// (the write fails with EFBIG rather than the process being stopped).

#include <sys/resource.h>

#include <csignal>
#include <cstddef>

template <class Write>
auto withFullDisk(size_t bytes, Write write) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit full = saved;
    full.rlim_cur = bytes;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &full);
    const auto result = write();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return result;
}
