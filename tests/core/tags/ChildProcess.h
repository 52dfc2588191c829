// Runs checks in a forked child, for limits and identities a test must not keep.
#pragma once

#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::tags::test {

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

} // namespace velmora::tags::test
