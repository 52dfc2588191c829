// Runs checks in a forked child, for limits and identities a test must not keep.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::test {

// Runs check in a child process and returns its result.
inline bool RunInChild(const std::function<bool()>& check) {
    pid_t pid = fork();
    if (pid == 0) _exit(check() ? 0 : 1);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs check as a user without the right to open other users' protected files (root ignores
// file modes): in a child running as nobody when the test runs as root. The directory must be
// reachable by that user.
inline bool RunUnprivileged(const std::string& dir, const std::function<bool()>& check) {
    if (geteuid() != 0) return check();
    chmod(dir.c_str(), 0755);
    return RunInChild([&] { return setgid(65534) == 0 && setuid(65534) == 0 && check(); });
}

// AddressSanitizer reserves terabytes of address space and keeps freed memory in quarantine:
// neither an address-space limit nor the resident size means anything under it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryIsMeasurable = false;
#else
inline constexpr bool kMemoryIsMeasurable = true;
#endif

// A "Vm...:" line of /proc/self/status, in KiB.
inline long ProcStatusKiB(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long value = -1;
    const std::size_t len = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, len) == 0 && line[len] == ':')
            value = std::strtol(line + len + 1, nullptr, 10);
    std::fclose(f);
    return value;
}

struct MeasuredRun {
    bool exited = false;     // the child came back with a report
    bool threw = false;      // an exception escaped the work
    long peakKiB = 0;        // the highest resident size while the work ran (whole process)
    std::uint64_t value = 0; // what the work returned
};

// Runs work in a child whose address space may grow by at most limitMiB, so a runaway ends in
// std::bad_alloc instead of exhausting the machine, and reports the child's peak resident size.
inline MeasuredRun RunMeasured(const std::function<std::uint64_t()>& work, long limitMiB = 1024) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        if (kMemoryIsMeasurable) {
            rlimit lim{};
            lim.rlim_cur = lim.rlim_max =
                static_cast<rlim_t>(ProcStatusKiB("VmSize") + limitMiB * 1024) * 1024;
            setrlimit(RLIMIT_AS, &lim);
        }
        // Start the high-water mark at the size the child has now.
        if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        MeasuredRun r;
        r.exited = true;
        try {
            r.value = work();
        } catch (...) {
            r.threw = true;
        }
        r.peakKiB = ProcStatusKiB("VmHWM");
        (void)!write(fds[1], &r, sizeof r);
        _exit(0);
    }
    close(fds[1]);
    MeasuredRun r;
    if (read(fds[0], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) r = MeasuredRun();
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return r;
}

} // namespace velmora::test
