#include "server/LimitedProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>

namespace {

std::vector<char*> pointers(const std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (const std::string& s : strings) out.push_back(const_cast<char*>(s.c_str()));
    out.push_back(nullptr);
    return out;
}

void limit(int resource, uint64_t most) {
    const rlimit value{static_cast<rlim_t>(most), static_cast<rlim_t>(most)};
    setrlimit(resource, &value);
}

// In the child, between fork and exec: only calls that are safe there.
[[noreturn]] void becomeLimited(const char* path, char* const* argv, char* const* env,
                                const char* folder, int input, int output, pid_t parent,
                                const SProcessLimits& limits) {
    setpgid(0, 0);  // a group of its own, killed as one
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);  // the server went before the line above
    if (dup2(input, 0) < 0 || dup2(output, 1) < 0 || dup2(output, 2) < 0) _exit(127);
    syscall(SYS_close_range, 3u, ~0u, 0u);  // nothing of the server's: no socket, no database
    if (chdir(folder) != 0) _exit(127);
    // The soft limit sends SIGXCPU, the hard one a second later SIGKILL.
    const rlimit cpu{limits.cpuSeconds, limits.cpuSeconds + 1};
    setrlimit(RLIMIT_CPU, &cpu);
    if (limits.memoryBytes != 0) limit(RLIMIT_AS, limits.memoryBytes);
    limit(RLIMIT_FSIZE, limits.fileBytes);
    limit(RLIMIT_CORE, 0);
    limit(RLIMIT_NOFILE, 64);
    execve(path, argv, env);
    _exit(127);
}

}  // namespace

SProcessEnd runLimited(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                       const std::string& folder, const std::string& outputPath,
                       const SProcessLimits& limits, const std::atomic<bool>* stop) {
    SProcessEnd end;
    const std::vector<char*> args = pointers(argv), environment = pointers(env);
    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int output =
        ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    const pid_t parent = getpid();
    const pid_t child = input < 0 || output < 0 ? -1 : fork();
    if (child == 0)
        becomeLimited(args[0], args.data(), environment.data(), folder.c_str(), input, output,
                      parent, limits);
    if (input >= 0) ::close(input);
    if (output >= 0) ::close(output);
    if (child < 0) return end;
    end.started = true;

    // Waits on the process's descriptor, a tenth of a second at a time to see `stop`.
    const int handle = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::microseconds(std::llround(limits.wallSeconds * 1e6));
    int raw = 0;
    rusage usage{};
    for (;;) {
        if (wait4(child, &raw, WNOHANG, &usage) == child) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const bool late = left.count() <= 0, stopping = stop && stop->load();
        if (late || stopping) {
            end.overTime = late;
            end.stopped = stopping && !late;
            kill(-child, SIGKILL);
            kill(child, SIGKILL);
            wait4(child, &raw, 0, &usage);
            break;
        }
        const int slice = static_cast<int>(std::min<int64_t>(left.count() + 1, 100));
        if (handle >= 0) {
            pollfd ready{handle, POLLIN, 0};
            poll(&ready, 1, slice);
        } else {
            usleep(static_cast<useconds_t>(std::min(slice, 5)) * 1000);
        }
    }
    if (handle >= 0) ::close(handle);
    end.exited = WIFEXITED(raw) && !end.overTime && !end.stopped;
    end.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    end.signal = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
    end.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return end;
}
