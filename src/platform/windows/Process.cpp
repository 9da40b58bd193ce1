// The process on Windows: Ctrl+C, Ctrl+Break and a closed console window ask the game to quit,
// as SIGINT and SIGTERM do elsewhere; and the memory it holds.
#include <windows.h>
// Windows' other headers need its types first.
#include <psapi.h>

#include "platform/Platform.h"

namespace {

volatile LONG gSignalled = 0;

BOOL WINAPI onConsoleEvent(DWORD event) {
    // A second one ends the program at once: Windows' own handler runs.
    if (InterlockedExchange(&gSignalled, 1) != 0) return FALSE;
    // Windows ends the process when this returns from a closed console, or at the latest five
    // seconds later: the game's exit sequence has that long to save what it must.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(5000);
    return TRUE;
}

}  // namespace

void platformCatchQuitSignals() {
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool platformQuitSignalled() {
    return gSignalled != 0;
}

uint32_t residentKilobytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<uint32_t>(counters.WorkingSetSize / 1024);
}
