#pragma once
// A program run in a process of its own with limits on what it may take: processor time,
// memory, the size of the files it writes, and the time on the clock, past which it is killed
// with everything it started. Whatever it does, it ends, and it harms only itself.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct SProcessLimits {
    uint32_t cpuSeconds = 10;
    double wallSeconds = 20;
    uint64_t memoryBytes = 0;  // address space; 0: none (a sanitizer's shadow needs terabytes)
    uint64_t fileBytes = 64u << 20;
};

struct SProcessEnd {
    bool started = false;  // false: no process could be made
    bool exited = false;   // ended by itself, with `status`; else killed by `signal`
    int status = -1;
    int signal = 0;
    bool overTime = false;  // killed on the clock
    bool stopped = false;   // killed because `stop` was set
    double cpuSeconds = 0;  // what it took, user and system
};

// Runs `argv` (argv[0] a path) in `folder` with only the environment `env`, reading nothing, its
// output and errors to `outputPath`. Waits for it, killing it when `stop` becomes true.
SProcessEnd runLimited(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                       const std::string& folder, const std::string& outputPath,
                       const SProcessLimits& limits, const std::atomic<bool>* stop = nullptr);
