// The process on a POSIX system: its quit signals and its memory. Windows has its own
// (windows/Process.cpp).
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <initializer_list>

#include "platform/Platform.h"

namespace {

volatile std::sig_atomic_t gSignalled = 0;

extern "C" void onQuitSignal(int) {
    gSignalled = 1;
}

}  // namespace

void platformCatchQuitSignals() {
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM}) sigaction(signal, &action, nullptr);
}

bool platformQuitSignalled() {
    return gSignalled != 0;
}

uint32_t residentKilobytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    unsigned long size = 0, resident = 0;
    const bool read = std::fscanf(statm, "%lu %lu", &size, &resident) == 2;
    std::fclose(statm);
    const long page = sysconf(_SC_PAGESIZE);
    return read && page > 0
               ? static_cast<uint32_t>(resident * static_cast<unsigned long>(page) / 1024)
               : 0;
}
